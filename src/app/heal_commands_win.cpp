#include "app/heal_commands_win.h"

#include <shellapi.h>

#include <string>

#include "app/event_reports_win.h"
#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "heal/detection_heal_win.h"
#include "heal/removed_count_bytes.h"
#include "heal/quarantine_store_win.h"
#include "heal/removed_count_win.h"
#include "heal/system_heal_win.h"
#include "pages/detection_lists_win.h"
#include "pages/heal_page_win.h"
#include "pages/list_rows_win.h"
#include "pages/main_info_page_win.h"
#include "pages/scan_page_win.h"
#include "pages/settings_page_win.h"
#include "pages/shield_page_win.h"
#include "resources/captions.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr char kHealQuestion[] = "Selected Malware Infections will moved to Quarantine. Continue ?";

bool Confirmed(HWND mainWindow, const char* question) {
    return MessageBoxA(mainWindow, question, kWarningCaption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

ThreatRemoval InstallRemoval() {
    ThreatRemoval removal;
    removal.installFolder = Paths().installFolder;
    removal.destroyThreats = Settings().destroyThreats == 1;
    removal.quarantineFolder = Paths().quarantineFolder;
    removal.countRemoval = [] { ShowRemovedCount(1); };
    return removal;
}

// Files too large for the quarantine are named, so the user knows why they stay.
void TellFilesTooLarge(HWND mainWindow, const std::vector<HealRecord>& records, const HealResult& result) {
    std::string names;
    for (std::size_t i = 0; i < records.size() && i < result.rows.size(); ++i)
        if (result.rows[i] == RowOutcome::TooLarge) names += records[i].text + "\n\r";
    if (names.empty()) return;
    const std::string text = "These files are larger than " +
                             std::to_string(kLargestQuarantinedFile / (1024 * 1024)) +
                             " MB and were not moved to quarantine:\n\r" + names +
                             "\n\rTo remove them, choose \"Destroy Threats forever.\" in the Settings and heal again.";
    MessageBoxW(mainWindow, WideFromUtf8(text).c_str(), WideFromUtf8(kWarningCaption).c_str(), MB_ICONWARNING);
}

// Heals the rows of a detection list as they were listed when the user was asked; nothing at all
// for an empty list. Those rows leave the list; rows a pass added meanwhile stay to be asked about.
bool HealListed(HWND mainWindow, HWND list, const std::vector<HealRecord>& records, HealTally& tally) {
    if (records.empty()) return false;
    const HealResult result = HealRecords(records, InstallRemoval());
    LogHealOutcomes(records, result);
    RemoveFirstRows(list, static_cast<int>(records.size()));
    tally = result.tally;
    TellFilesTooLarge(mainWindow, records, result);
    return true;
}

} // namespace

void ShowRemovedCount(int increment) {
    static RemovedCounter counter(Paths().counterFile);
    // When count.uas cannot be used the text stays as it was: no count is shown that is not stored,
    // and the removal waits to be stored with the next one.
    if (const auto count = counter.Add(increment)) SetRemovedCountText(FormatRemovedCount(*count));
}

void HealShieldList(HWND mainWindow, const std::vector<HealRecord>& records) {
    HealTally tally;
    if (!HealListed(mainWindow, ShieldList(), records, tally)) return;
    SetShieldStatusText(HealStatusText(HealedList::Shield, tally));
}

void HealScanList(HWND mainWindow, const std::vector<HealRecord>& records) {
    HealTally tally;
    if (!HealListed(mainWindow, ScanList(), records, tally)) return;
    // The shield's rows go too; a stick still infected is listed again by the next pass.
    ClearDetectionList(ShieldList());
    SetScanStatusText(HealStatusText(HealedList::Scan, tally));
}

void ApplySettingsCommand(HWND mainWindow) {
    if (SaveSettingsValues(SettingsValuesShown())) {
        MessageBoxA(mainWindow, "Your settings have been modified successfully!", kDoneCaption, MB_ICONINFORMATION);
        return;
    }
    MessageBoxA(mainWindow,
                "Your settings could not be saved.\n\rsettings.ini in the install folder cannot be written.",
                kWarningCaption, MB_ICONWARNING);
}

void HealShieldCommand(HWND mainWindow) {
    // The rows the user is asked about: passes that run while the question is open may add more.
    const std::vector<HealRecord> asked = ReadHealRecords(ShieldList(), DetectionList::Shield);
    if (Confirmed(mainWindow, kHealQuestion)) HealShieldList(mainWindow, asked);
}

void HealScanCommand(HWND mainWindow) {
    const std::vector<HealRecord> asked = ReadHealRecords(ScanList(), DetectionList::Scan);
    if (!Confirmed(mainWindow, kHealQuestion)) return;
    // The install's own clean-up runs hidden before the heal; nothing waits for it.
    const std::string script = Paths().binFolder + "unscript.bat";
    ShellExecuteW(nullptr, nullptr, WideFromUtf8(script).c_str(), nullptr, nullptr, SW_HIDE);
    Sleep(200);
    HealScanList(mainWindow, asked);
    const std::string parameters = "-s \"" + Paths().binFolder + "unstart.reg\"";
    ShellExecuteW(nullptr, nullptr, L"regedit.exe", WideFromUtf8(parameters).c_str(), nullptr, SW_SHOW);
}

void HealSystemCommand(HWND mainWindow) {
    if (!Confirmed(mainWindow, "Continue healing the system of the selected infections ?")) return;
    // No row ticked: no registry access.
    const std::vector<std::size_t> ticked = TickedHealRows();
    ApplySystemRepairs(ticked);
    std::vector<std::string> repaired;
    for (const std::size_t row : ticked)
        repaired.push_back(ListRowText(HealList(), static_cast<int>(row), 0));
    LogSystemRepairs(repaired);
    MessageBoxA(mainWindow, "A restart is required for the changes to take effect.", kWarningCaption,
                MB_ICONINFORMATION);
}

} // namespace tollivar
