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

// Heals the checked rows of a detection list; nothing at all for an empty list.
bool HealList(HWND list, DetectionList which, HealTally& tally) {
    const std::vector<HealRecord> records = ReadHealRecords(list, which);
    if (records.empty()) return false;
    const HealResult result = HealRecords(records, InstallRemoval());
    LogHealOutcomes(records, result);
    tally = result.tally;
    return true;
}

} // namespace

void ShowRemovedCount(int increment) {
    // When count.uas cannot be used the text stays as it was: no count is shown that is not stored.
    if (const auto count = UpdateRemovedCount(increment)) SetRemovedCountText(FormatRemovedCount(*count));
}

void HealShieldList() {
    HealTally tally;
    if (!HealList(ShieldList(), DetectionList::Shield, tally)) return;
    ClearDetectionList(ShieldList());
    SetShieldStatusText(HealStatusText(HealedList::Shield, tally));
}

void HealScanList() {
    HealTally tally;
    if (!HealList(ScanList(), DetectionList::Scan, tally)) return;
    ClearDetectionList(ScanList());
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
    if (Confirmed(mainWindow, kHealQuestion)) HealShieldList();
}

void HealScanCommand(HWND mainWindow) {
    if (!Confirmed(mainWindow, kHealQuestion)) return;
    // The install's own clean-up runs hidden before the heal; nothing waits for it.
    const std::string script = Paths().binFolder + "unscript.bat";
    ShellExecuteW(nullptr, nullptr, WideFromUtf8(script).c_str(), nullptr, nullptr, SW_HIDE);
    Sleep(200);
    HealScanList();
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
