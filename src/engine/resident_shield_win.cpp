#include "engine/resident_shield_win.h"

#include <windows.h>

#include <map>
#include <mutex>

#include "engine/autorun_analysis_win.h"
#include "engine/autorun_rules.h"

namespace tollivar {
namespace {

// The shield looks every second, and most seconds nothing on a stick has changed: a drive's
// autorun.inf is read again only when its size, its time of last writing or its attributes differ
// from the last read, or that read is a few seconds old. Asking for those costs one call; reading and
// resolving the file costs an open and a read.
constexpr ULONGLONG kFindingsKeptMs = 3000;

struct KeptFindings {
    bool present = false;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ULONGLONG readAt = 0;
    std::vector<AutorunFinding> findings;
};

std::mutex g_keptLock;
std::map<std::string, KeptFindings> g_kept; // by drive root

bool SameFile(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return a.dwFileAttributes == b.dwFileAttributes && a.nFileSizeHigh == b.nFileSizeHigh &&
           a.nFileSizeLow == b.nFileSizeLow && a.ftLastWriteTime.dwLowDateTime == b.ftLastWriteTime.dwLowDateTime &&
           a.ftLastWriteTime.dwHighDateTime == b.ftLastWriteTime.dwHighDateTime &&
           a.ftCreationTime.dwLowDateTime == b.ftCreationTime.dwLowDateTime &&
           a.ftCreationTime.dwHighDateTime == b.ftCreationTime.dwHighDateTime;
}

std::vector<AutorunFinding> FindingsOfDrive(const std::string& root) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::string inf = AutorunInfPath(root);
    const bool present = GetFileAttributesExA(inf.c_str(), GetFileExInfoStandard, &data) != FALSE;
    const ULONGLONG now = GetTickCount64();
    {
        const std::lock_guard<std::mutex> lock(g_keptLock);
        const auto kept = g_kept.find(root);
        if (kept != g_kept.end() && now - kept->second.readAt < kFindingsKeptMs && kept->second.present == present &&
            (!present || SameFile(kept->second.data, data)))
            return kept->second.findings;
    }
    // Nothing there is no finding, and nothing to keep reading for.
    std::vector<AutorunFinding> findings = present ? AnalyzeAutorunFindings(root) : std::vector<AutorunFinding>{};
    const std::lock_guard<std::mutex> lock(g_keptLock);
    g_kept[root] = KeptFindings{present, data, now, findings};
    return findings;
}

} // namespace

std::vector<AutorunFinding> ShieldFindings(const std::vector<std::string>& roots) {
    std::vector<AutorunFinding> findings;
    for (const std::string& root : roots)
        for (AutorunFinding& finding : FindingsOfDrive(root)) findings.push_back(std::move(finding));
    return findings;
}

} // namespace tollivar
