#include "engine/autorun_analysis_win.h"

#include <windows.h>

#include "engine/file_access_win.h"

namespace tollivar {

AutorunFinding AnalyzeAutorun(const std::string& root) {
    const std::string inf = AutorunInfPath(root);
    char value[512] = {};
    GetPrivateProfileStringA("autorun", "open", "", value, sizeof value, inf.c_str());
    return ResolveAutorunOpen(root, value, EnvironmentValue);
}

} // namespace tollivar
