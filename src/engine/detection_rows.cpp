#include "engine/detection_rows.h"

#include "config/text_rules.h"
#include "engine/autorun_rules.h"

namespace tollivar {

ScanRow MakeScanRow(std::string_view infection, std::string_view kind, std::string_view identification) {
    return ScanRow{CutToBuffer(infection), CutToBuffer(kind), CutToBuffer(identification)};
}

std::string AutorunRootOf(const AutorunFinding& finding) {
    static constexpr std::string_view kInfName = "autorun.inf";
    const std::string_view inf = finding.infPath;
    if (inf.size() < kInfName.size() || inf.substr(inf.size() - kInfName.size()) != kInfName) return {};
    return std::string(inf.substr(0, inf.size() - kInfName.size()));
}

std::array<ShieldRow, 2> ShieldRowsFor(const AutorunFinding& finding) {
    return {
        ShieldRow{CutToBuffer(finding.infPath), CutToBuffer(finding.targetName), std::string(kSuspicious)},
        ShieldRow{CutToBuffer(finding.targetPath), std::string(kPossibleMalware), std::string(kSuspicious),
                  AutorunRootOf(finding)}};
}

std::vector<ScanRow> AutorunScanRows(const AutorunFinding& finding, std::string_view processText) {
    std::vector<ScanRow> rows;
    if (!processText.empty()) {
        rows.push_back(MakeScanRow(processText, kKindProcess, kSuspicious));
        rows.back().imagePath = finding.targetPath;
    }
    if (!finding.infPath.empty()) rows.push_back(MakeScanRow(finding.infPath, kKindFile, kSuspicious));
    if (!finding.targetPath.empty()) {
        rows.push_back(MakeScanRow(finding.targetPath, kKindFile, kSuspicious));
        rows.back().autorunRoot = AutorunRootOf(finding);
    }
    return rows;
}

std::vector<ShieldRow> ShieldRowsForDrive(const std::vector<AutorunFinding>& findings) {
    std::vector<ShieldRow> rows;
    for (const AutorunFinding& finding : findings) {
        const std::array<ShieldRow, 2> pair = ShieldRowsFor(finding);
        if (rows.empty()) rows.push_back(pair[0]);
        rows.push_back(pair[1]);
    }
    return rows;
}

std::vector<std::vector<AutorunFinding>> FindingsByDrive(const std::vector<AutorunFinding>& findings) {
    std::vector<std::vector<AutorunFinding>> drives;
    for (const AutorunFinding& finding : findings) {
        if (drives.empty() || drives.back().front().infPath != finding.infPath) drives.emplace_back();
        drives.back().push_back(finding);
    }
    return drives;
}

std::vector<ScanRow> AutorunScanRowsForDrive(const std::vector<AutorunFinding>& findings,
                                             const std::vector<std::string>& processTexts) {
    std::vector<ScanRow> rows;
    for (std::size_t i = 0; i < findings.size() && i < processTexts.size(); ++i) {
        if (processTexts[i].empty()) continue;
        rows.push_back(MakeScanRow(processTexts[i], kKindProcess, kSuspicious));
        rows.back().imagePath = findings[i].targetPath;
    }
    if (findings.empty()) return rows;
    rows.push_back(MakeScanRow(findings.front().infPath, kKindFile, kSuspicious));
    for (const AutorunFinding& finding : findings) {
        if (finding.targetPath.empty()) continue;
        rows.push_back(MakeScanRow(finding.targetPath, kKindFile, kSuspicious));
        rows.back().autorunRoot = AutorunRootOf(finding);
    }
    return rows;
}

std::array<FixedThreatPath, 3> FixedThreatPaths(std::string_view root) {
    const std::string r(root);
    return {FixedThreatPath{r + "recycler\\ttt\\ttt.exe", kAutoitCC},
            FixedThreatPath{r + "recycler\\recycler.exe", kAutoitCC},
            FixedThreatPath{r + "system\\security\\driveguard.exe", kAutorunTZ}};
}

} // namespace tollivar
