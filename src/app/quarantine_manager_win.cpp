#include "app/quarantine_manager_win.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "win/handles_win.h"
#include "config/event_kinds.h"
#include "config/install_paths_win.h"
#include "config/log_event_win.h"
#include "heal/quarantine_listing.h"
#include "heal/quarantine_record.h"
#include "heal/quarantine_store_win.h"
#include "pages/list_rows_win.h"
#include "resources/captions.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr int kTimeBuffer = 2048;

struct QuarantineDialog {
    UniqueFont regular;
    UniqueFont bold;
    HWND list = nullptr;
};

struct ListColumn {
    const char* title;
    int width;
};
const ListColumn kColumns[] = {{"Threat Filename", 130}, {"#", 30},     {"Size (bytes)", 80},
                               {"Capture Time", 150},    {"Origin", 200}, {"Threat", 120}};

QuarantineDialog* StateOf(HWND dialog) {
    return reinterpret_cast<QuarantineDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The record beside a quarantined file; nothing when there is none or it does not parse whole.
std::optional<QuarantineRecord> ReadRecordOf(const std::string& quarantinedPath) {
    const auto names = RecordPathsOf(quarantinedPath);
    if (!names) return std::nullopt;
    UniqueFile file(CreateFileW(WidePath(names->record).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(kMaxQuarantineRecordBytes + 1, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return ParseQuarantineRecord(bytes);
}

void DeleteRecordOf(const std::string& quarantinedPath) {
    if (const auto names = RecordPathsOf(quarantinedPath)) DeleteFileW(WidePath(names->record).c_str());
}

struct RowTexts {
    std::string capture;
    std::string origin;
    std::string threat;
};

void AddQuarantineRow(HWND list, const QuarantineRowName& name, const std::string& sizeText,
                      const RowTexts& texts) {
    AppendListRow(list, {name.name, name.suffix, sizeText, texts.capture, texts.origin, texts.threat});
}

// The creation time in local time as "dd/MM/yyyy " + " at " + "HH:mm:ss".
std::string CaptureTimeOf(const FILETIME& created) {
    SYSTEMTIME utc{};
    if (!FileTimeToSystemTime(&created, &utc)) return {};
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    SYSTEMTIME local = utc;
    if (!SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) local = utc;
    char date[kTimeBuffer] = {};
    char time[kTimeBuffer] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &local, "dd/MM/yyyy ", date, kTimeBuffer);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, "HH:mm:ss", time, kTimeBuffer);
    return CaptureTimeText(date, time);
}

// Lists the quarantine folder in the order the file system gives it; a missing folder lists nothing.
// Records are not listed: their content shows in the row of their file. Records left by an
// interrupted quarantine or restore are removed here, on the thread that quarantines.
void FillQuarantineList(HWND list) {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const std::string folder = Paths().quarantineFolder;
    // Names in UTF-8: a quarantined file keeps the real name of the threat, whatever its letters.
    struct Entry {
        WIN32_FIND_DATAW data;
        std::string name;
    };
    std::vector<Entry> entries;
    {
        WIN32_FIND_DATAW found{};
        UniqueFind find(FindFirstFileW(WidePath(folder + "*").c_str(), &found));
        if (!find) return;
        do {
            entries.push_back({found, Utf8FromWide(found.cFileName)});
        } while (FindNextFileW(find.get(), &found));
    }
    std::vector<std::string> names;
    for (const Entry& entry : entries)
        if (!IsFolderSelfEntry(entry.name)) names.push_back(entry.name);
    for (const std::string& orphan : OrphanRecordNames(names))
        DeleteFileW(WidePath(folder + orphan).c_str());

    for (const Entry& entry : entries) {
        if (!IsListedQuarantineEntry(entry.name)) continue;
        RowTexts texts;
        const auto record = (entry.data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                ? std::nullopt
                                : ReadRecordOf(folder + entry.name);
        if (record) {
            texts.capture = CaptureTimeOfRecord(record->local);
            texts.origin = record->originalPath;
            texts.threat = record->threat;
        } else {
            texts.capture = CaptureTimeOf(entry.data.ftCreationTime);
        }
        AddQuarantineRow(list, SplitQuarantinedName(entry.name),
                         QuarantineSizeText(entry.data.nFileSizeHigh, entry.data.nFileSizeLow), texts);
    }
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

struct SelectedPaths {
    std::string name;
    std::optional<std::string> quarantined;
    std::optional<std::string> restore;
};

std::optional<SelectedPaths> GetSelectedQuarantinePaths(HWND list) {
    const int row = SelectedRow(list);
    if (row < 0) return std::nullopt;
    SelectedPaths paths;
    paths.name = ListRowText(list, row, 0);
    const std::string suffix = ListRowText(list, row, 1);
    paths.quarantined = QuarantinedPathOfRow(Paths().quarantineFolder, paths.name, suffix);
    paths.restore = RestorePathOfRow(Paths().desktopFolder, paths.name);
    return paths;
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Asked(HWND dialog, const char* question, const char* caption) {
    return MessageBoxA(dialog, question, caption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

void Done(HWND dialog, const char* text) { MessageBoxA(dialog, text, kDoneCaption, MB_ICONINFORMATION); }

void Refused(HWND dialog, const std::string& text) {
    MessageBoxW(dialog, WideFromUtf8(text).c_str(), WideFromUtf8(kWarningCaption).c_str(), MB_ICONWARNING);
}

// Texts that carry a recorded (UTF-8) path are shown through the wide API, whatever the code page.
void TellUtf8(HWND dialog, const std::string& text, const char* caption, UINT icon) {
    MessageBoxW(dialog, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), icon);
}

constexpr char kGoneText[] = "The selected file is no longer in the quarantine folder.";

void DeleteSelected(HWND dialog, HWND list) {
    const auto paths = GetSelectedQuarantinePaths(list);
    if (!paths) return;
    if (!Asked(dialog, "Selected Malware Infection will be destroyed for ever. Continue ?", kWarningCaption))
        return;
    if (!paths->quarantined || !Exists(*paths->quarantined)) {
        Refused(dialog, std::string(kGoneText) + "\n\rNothing was deleted.");
    } else if (DeleteFileW(WidePath(*paths->quarantined).c_str())) {
        DeleteRecordOf(*paths->quarantined);
        WriteLogEvent(QuarantineDeletedEvent(*paths->quarantined));
        Done(dialog, "Selected Malware successfully deleted.");
    } else {
        Refused(dialog, "The selected file could not be deleted.\n\rIt may be in use by another program.");
    }
    FillQuarantineList(list);
    SetFocus(list);
}

void RestoreSelected(HWND dialog, HWND list) {
    const auto paths = GetSelectedQuarantinePaths(list);
    if (!paths) return;
    if (!Asked(dialog, "Selected Malware Infection will be restored to the desktop. Continue ?",
               kDoneCaption))
        return;
    if (!paths->quarantined || !Exists(*paths->quarantined)) {
        Refused(dialog, std::string(kGoneText) + "\n\rNothing was restored.");
    } else if (!paths->restore) {
        Refused(dialog, "The desktop folder cannot be used.\n\rNothing was restored.");
    } else if (Exists(*paths->restore)) {
        Refused(dialog, "A file named \"" + paths->name +
                            "\" is already on the desktop.\n\rIt was not replaced and nothing was restored.");
    } else if (MoveFileExW(WidePath(*paths->quarantined).c_str(), WidePath(*paths->restore).c_str(),
                           MOVEFILE_COPY_ALLOWED)) {
        DeleteRecordOf(*paths->quarantined);
        WriteLogEvent(RestoredToDesktopEvent(*paths->quarantined, *paths->restore));
        Done(dialog, "Selected infection successfully restored to desktop.");
    } else {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            Refused(dialog,
                    "A file named \"" + paths->name +
                        "\" is already on the desktop.\n\rIt was not replaced and nothing was restored.");
        else
            Refused(dialog, "The selected file could not be restored to the desktop.\n\rIt may be in use by "
                            "another program.");
    }
    FillQuarantineList(list);
    SetFocus(list);
}

bool WideExists(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND; // unknown counts as taken
}

bool WideFolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What the platform says about a record's original place and the file's content.
RestoreFacts RestoreFactsOf(const QuarantineRecord& record, const std::string& quarantinedPath) {
    RestoreFacts facts;
    facts.recordPresent = true;
    if (const auto content = HashFileContent(quarantinedPath))
        facts.contentMatches = RecordMatchesContent(record, content->size, content->sha256);
    if (const auto parts = DrivePathPartsOf(record.originalPath)) {
        const std::wstring root = WidePath(parts->drive + "\\");
        facts.drivePresent = GetDriveTypeW(root.c_str()) > DRIVE_NO_ROOT_DIR && WideFolderExists(root);
        facts.folderPresent = facts.drivePresent && WideFolderExists(WidePath(parts->folder));
        facts.fileAtOriginal = WideExists(WidePath(record.originalPath));
    }
    return facts;
}

// Puts the selected file back where its record says it was taken from: never over another file, only
// with the recorded content, and the record goes once the file has left the quarantine.
void RestoreToOriginSelected(HWND dialog, HWND list) {
    const auto paths = GetSelectedQuarantinePaths(list);
    if (!paths) return;
    if (!paths->quarantined || !Exists(*paths->quarantined)) {
        Refused(dialog, std::string(kGoneText) + "\n\rNothing was restored.");
        FillQuarantineList(list);
        SetFocus(list);
        return;
    }
    const std::string quarantinedText = *paths->quarantined;
    const auto record = ReadRecordOf(*paths->quarantined);
    if (!record) {
        const std::string text = RestoreOutcomeText(RestoreOutcome::NoRecord, {});
        WriteLogEvent(RestoreRefusedEvent(quarantinedText, text));
        Refused(dialog, text);
        SetFocus(list);
        return;
    }
    const std::string question =
        "Selected Malware Infection will be restored to " + record->originalPath + ". Continue ?";
    if (MessageBoxW(dialog, WideFromUtf8(question).c_str(), WideFromUtf8(kDoneCaption).c_str(),
                    MB_YESNO | MB_ICONWARNING) != IDYES)
        return;

    RestoreOutcome outcome =
        DecideRestoreToOrigin(record->originalPath, RestoreFactsOf(*record, *paths->quarantined));
    std::string text;
    if (outcome == RestoreOutcome::Restore) {
        const std::wstring from = WidePath(quarantinedText);
        const std::wstring to = WidePath(record->originalPath);
        // No MOVEFILE_REPLACE_EXISTING: a file that appeared at the place meanwhile is never replaced.
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
            if (!WideExists(from)) DeleteRecordOf(*paths->quarantined); // a copy left behind keeps its record
            text = RestoreOutcomeText(RestoreOutcome::Restore, record->originalPath);
            WriteLogEvent(RestoredToOriginEvent(quarantinedText, record->originalPath));
            TellUtf8(dialog, text, kDoneCaption, MB_ICONINFORMATION);
            FillQuarantineList(list);
            SetFocus(list);
            return;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            outcome = RestoreOutcome::FileExists;
        else
            text = RestoreMoveFailedText(record->originalPath);
    }
    if (text.empty()) text = RestoreOutcomeText(outcome, record->originalPath);
    WriteLogEvent(RestoreRefusedEvent(quarantinedText, text));
    TellUtf8(dialog, text, kWarningCaption, MB_ICONWARNING);
    FillQuarantineList(list);
    SetFocus(list);
}

HWND CreateQuarantineList(HWND dialog) {
    // 9, 65, 410 x 160 pixels with the dialog's own font; kept in dialog units so that the list fills
    // the dialog whatever font the system gives it.
    RECT place{6, 40, 6 + 273, 40 + 98};
    MapDialogRect(dialog, &place);
    HWND list =
        CreateWindowExA(0, WC_LISTVIEWA, "Listview",
                        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                            LVS_AUTOARRANGE | LVS_SHOWSELALWAYS,
                        place.left, place.top, place.right - place.left, place.bottom - place.top, dialog,
                        reinterpret_cast<HMENU>(IDC_QUARANTINE_LIST), GetModuleHandleA(nullptr), nullptr);
    if (!list) return nullptr;
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), FALSE);
    const LPARAM style = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(style), style);
    int index = 0;
    for (const ListColumn& column : kColumns) {
        LVCOLUMNA record{};
        record.mask = LVCF_WIDTH | LVCF_TEXT;
        record.cx = column.width;
        record.pszText = const_cast<char*>(column.title);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++),
                     reinterpret_cast<LPARAM>(&record));
    }
    return list;
}

void OnInitDialog(HWND dialog, QuarantineDialog* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP_ICON));
    if (icon) SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    state->regular.reset(NewTahomaFont(false));
    state->bold.reset(NewTahomaFont(true));
    const auto regular = reinterpret_cast<WPARAM>(state->regular.get());
    SendMessageA(dialog, WM_SETFONT, regular, TRUE);
    SendDlgItemMessageA(dialog, IDC_QUARANTINE_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(state->bold.get()),
                        TRUE);
    for (int id : {IDC_QUARANTINE_TEXT, IDC_QUARANTINE_ICON, IDC_QUARANTINE_DELETE_BUTTON,
                   IDC_QUARANTINE_RESTORE_ORIGIN_BUTTON, IDC_QUARANTINE_RESTORE_BUTTON})
        SendDlgItemMessageA(dialog, id, WM_SETFONT, regular, TRUE);
    state->list = CreateQuarantineList(dialog);
    if (state->list) FillQuarantineList(state->list);
}

// The buttons act on the selected row, so they are usable only while one is selected.
void EnableRowButtons(HWND dialog, HWND list) {
    const BOOL enable = list && SelectedRow(list) >= 0;
    for (int id : {IDC_QUARANTINE_DELETE_BUTTON, IDC_QUARANTINE_RESTORE_ORIGIN_BUTTON,
                   IDC_QUARANTINE_RESTORE_BUTTON}) {
        HWND button = GetDlgItem(dialog, id);
        if (button && (IsWindowEnabled(button) != FALSE) != (enable != FALSE)) EnableWindow(button, enable);
    }
}

INT_PTR CALLBACK QuarantineDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) OnInitDialog(dialog, reinterpret_cast<QuarantineDialog*>(lParam));
    QuarantineDialog* state = StateOf(dialog);
    if (!state) return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (wParam == IDC_QUARANTINE_DELETE_BUTTON)
            DeleteSelected(dialog, state->list);
        else if (wParam == IDC_QUARANTINE_RESTORE_BUTTON)
            RestoreSelected(dialog, state->list);
        else if (wParam == IDC_QUARANTINE_RESTORE_ORIGIN_BUTTON)
            RestoreToOriginSelected(dialog, state->list);
        break;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        return FALSE;
    default:
        break;
    }
    EnableRowButtons(dialog, state->list);
    return FALSE;
}

} // namespace

void ShowQuarantineManager(HWND owner) {
    QuarantineDialog state; // the fonts go when the dialog has gone
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_QUARANTINE), owner, QuarantineDialogProc,
                    reinterpret_cast<LPARAM>(&state));
}

} // namespace tollivar
