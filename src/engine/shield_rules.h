// The Resident Shield's and the Threat Scan's status texts and the rule that decides when the shield
// alerts. Platform-free.
#pragma once

#include <string>

namespace tollivar {

// The Threat Shield page's status line for n rows of its list.
std::string ShieldStatusLine(int shieldRows);

// The left part of the main window's status bar for the rows of both detection lists together.
std::string ProtectionStatusLine(int allRows);

// The Threat Scan page's status line at the end of a scan with n rows.
std::string ScanResultLine(int scanRows);

inline constexpr char kScanningText[] = "SCANNING, PLEASE WAIT...";

// The Threat Shield row count at the most recent alert. A count alerts when it is nonzero and differs
// from that one; the count is taken before anything is shown, so a pass that runs while the alert is
// open does not alert again. Healing does not reset it: a later detection that brings the list back
// to exactly the same count neither switches the page nor alerts.
class AlertCount {
  public:
    void Reset() { last_ = 0; }
    // True when this count calls for the page switch (and the alert); the count is then remembered.
    bool TakeCount(int shieldRows);
    int Last() const { return last_; }

  private:
    int last_ = 0;
};

} // namespace tollivar
