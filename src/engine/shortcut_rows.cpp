#include "engine/shortcut_rows.h"

#include "config/text_rules.h"

namespace tollivar {

std::string WhatShortcutRuns(const BaitVerdict& verdict) {
    if (!verdict.payloads.empty()) return verdict.payloads.front();
    if (!verdict.webAddresses.empty()) return verdict.webAddresses.front();
    return verdict.reason;
}

std::vector<ShieldRow> ShortcutShieldRows(const ShortcutFinding& finding) {
    std::vector<ShieldRow> rows;
    rows.push_back(ShieldRow{CutToBuffer(finding.shortcut), CutToBuffer(WhatShortcutRuns(finding.verdict)),
                             std::string(kShortcutWorm), finding.root, true});
    for (const std::string& payload : finding.verdict.payloads)
        rows.push_back(ShieldRow{CutToBuffer(payload), CutToBuffer(finding.shortcut),
                                 std::string(kShortcutWorm), finding.root});
    return rows;
}

std::vector<ScanRow> ShortcutScanRows(const ShortcutFinding& finding) {
    std::vector<ScanRow> rows;
    rows.push_back(MakeScanRow(finding.shortcut, kKindFile, kShortcutWorm));
    rows.back().autorunRoot = finding.root;
    rows.back().baitShortcut = true;
    for (const std::string& payload : finding.verdict.payloads) {
        rows.push_back(MakeScanRow(payload, kKindFile, kShortcutWorm));
        rows.back().autorunRoot = finding.root;
    }
    return rows;
}

} // namespace tollivar
