#include "engine/resident_shield_win.h"

#include "engine/autorun_analysis_win.h"

namespace tollivar {

std::vector<AutorunFinding> ShieldFindings(const std::vector<std::string>& roots) {
    std::vector<AutorunFinding> findings;
    for (const std::string& root : roots) {
        AutorunFinding finding = AnalyzeAutorun(root);
        if (finding.Found()) findings.push_back(std::move(finding));
    }
    return findings;
}

} // namespace tollivar
