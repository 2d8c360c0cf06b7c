// What the GUI tests know of the program as a user sees it: the ids of the controls several tests
// reach, and the texts of its recurring questions. Written out here rather than taken from the
// program's own headers, so that a changed id or text in the program fails the tests.
#pragma once

namespace tollivar::test {

inline constexpr int kMainTab = 2000;
inline constexpr int kPagePanel = 2001;
inline constexpr int kStatusBar = 1007;
inline constexpr int kRemovedCount = 4017;
inline constexpr int kShieldList = 4103;
inline constexpr int kShieldStatus = 4104;
inline constexpr int kHealShieldSelected = 4107;
inline constexpr int kLocalDrives = 4205;
inline constexpr int kAlertHeal = 1102;
inline constexpr int kScanList = 4207;
inline constexpr int kScanStatus = 4210;
inline constexpr int kStartScan = 4213;
inline constexpr int kHealScanSelected = 4215;

inline constexpr char kWarning[] = "[ WARNiNG ]";
inline constexpr char kHealQuestion[] = "Selected Malware Infections will moved to Quarantine. Continue ?";
inline constexpr char kAlertCaption[] = "Resident Shield - Alert";
inline constexpr char kNoShieldThreat[] = " NO THREAT(S)  DETECTED, RESIDENT SHIELD IS MONITORING...";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace tollivar::test
