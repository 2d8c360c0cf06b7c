#include "app/dialogs_win.h"

#include <shellapi.h>

#include <string>

#include "win/handles_win.h"
#include "config/install_paths_win.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

// PLACEHOLDER addresses under example.org: to be replaced by the real support site and mailbox
// before a release (the README says so too). The blank after "mailto:" is how the link is written.
constexpr char kSupportFormAddress[] = "https://www.example.org/support.html";
constexpr char kSupportMailAddress[] = "mailto: support@example.org";
constexpr char kWebsiteAddress[] = "https://www.example.org/";

constexpr char kHelpFileName[] = "Tollivar Help.chm";

void Open(HWND dialog, const std::string& target) {
    // The shell reports a missing viewer, browser or mail client itself.
    ShellExecuteW(dialog, L"OPEN", WideFromUtf8(target).c_str(), nullptr, nullptr, SW_SHOW);
}

void OnInitDialog(HWND dialog, HFONT font) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP_ICON));
    if (icon) SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    const auto wfont = reinterpret_cast<WPARAM>(font);
    SendMessageA(dialog, WM_SETFONT, wfont, TRUE);
    for (int id : {IDC_HELP_TOPICS_GROUP, IDC_HELP_TOPICS_TEXT, IDC_VIEW_HELP_BUTTON, IDC_SUPPORT_GROUP,
                   IDC_SUPPORT_TEXT, IDC_ONLINE_FORM_BUTTON, IDC_MAIL_CLIENT_BUTTON, IDC_SUPPORT_OR_TEXT,
                   IDC_NEWS_GROUP, IDC_NEWS_TEXT, IDC_VISIT_WEBSITE_BUTTON})
        SendDlgItemMessageA(dialog, id, WM_SETFONT, wfont, TRUE);
}

// Each button opens its target and the dialog stays; only the close box ends it (Enter and Escape
// arrive as IDOK and IDCANCEL and do nothing).
INT_PTR CALLBACK HelpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<HFONT>(lParam));
        break;
    case WM_COMMAND:
        switch (wParam) {
        case IDC_VIEW_HELP_BUTTON: Open(dialog, Paths().installFolder + kHelpFileName); break;
        case IDC_ONLINE_FORM_BUTTON: Open(dialog, kSupportFormAddress); break;
        case IDC_MAIL_CLIENT_BUTTON: Open(dialog, kSupportMailAddress); break;
        case IDC_VISIT_WEBSITE_BUTTON: Open(dialog, kWebsiteAddress); break;
        default: break;
        }
        break;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

void ShowHelpDialog(HWND mainWindow) {
    UniqueFont font(NewTahomaFont(false)); // deleted once the dialog and its controls are gone
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HELP), mainWindow, HelpDialogProc,
                    reinterpret_cast<LPARAM>(font.get()));
}

} // namespace tollivar
