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
    if (!processText.empty()) rows.push_back(MakeScanRow(processText, kKindProcess, kSuspicious));
    if (!finding.infPath.empty()) rows.push_back(MakeScanRow(finding.infPath, kKindFile, kSuspicious));
    if (!finding.targetPath.empty()) {
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
