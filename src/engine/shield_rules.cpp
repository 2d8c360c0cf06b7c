#include "engine/shield_rules.h"

namespace tollivar {

std::string ShieldStatusLine(int shieldRows) {
    if (shieldRows == 0) return " NO THREAT(S)  DETECTED, RESIDENT SHIELD IS MONITORING...";
    return " " + std::to_string(shieldRows) + " THREAT(S)  DETECTED, HEAL NOW...";
}

std::string ProtectionStatusLine(int allRows) {
    if (allRows == 0) return " NO THREAT DETECTED, RESIDENT SHIELD IS MONITORING...";
    return " " + std::to_string(allRows) + " THREAT(S)  DETECTED, IMMEDIATE ACTION IS REQUIRED...";
}

std::string ScanResultLine(int scanRows) {
    if (scanRows == 0) return "NO THREAT(S)  DETECTED.";
    return std::to_string(scanRows) + " THREAT(S)  DETECTED.";
}

bool AlertCount::TakeCount(int shieldRows) {
    if (shieldRows == 0 || shieldRows == last_) return false;
    last_ = shieldRows;
    return true;
}

} // namespace tollivar
