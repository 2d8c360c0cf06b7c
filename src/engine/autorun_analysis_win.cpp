#include "engine/autorun_analysis_win.h"

#include <windows.h>

#include <algorithm>

#include "engine/autorun_inf.h"
#include "engine/file_access_win.h"
#include "engine/autorun_targets.h"
#include "win/handles_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

// At most kAutorunReadLimit bytes of the file; nothing when it is a folder or cannot be read.
std::optional<std::string> ReadAutorunBytes(const std::string& infPath) {
    const std::wstring path = WidePath(infPath);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    // As much as the file holds, up to the limit: most autorun.inf files are a few hundred bytes.
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
    const auto wanted = static_cast<unsigned long long>(size.QuadPart);
    std::string bytes(static_cast<std::size_t>(std::min<unsigned long long>(wanted, kAutorunReadLimit)), '\0');
    std::size_t have = 0;
    while (have < bytes.size()) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(bytes.size() - have);
        if (!ReadFile(file.get(), bytes.data() + have, want, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        have += read;
    }
    bytes.resize(have);
    return bytes;
}

} // namespace

AutorunTargets AnalyzeAutorunTargets(const std::string& root) {
    const std::optional<std::string> bytes = ReadAutorunBytes(AutorunInfPath(root));
    if (!bytes) return {};
    AutorunInf inf = ReadAutorunInf(*bytes);
    if (!inf.TextIsUtf8()) {
        // The program's text is UTF-8: an ANSI file's texts are converted before anything is resolved,
        // so environment values (UTF-8) and the file's own names join in one encoding.
        for (AutorunEntry& entry : inf.launchEntries) {
            entry.key = Utf8FromAnsi(entry.key);
            entry.value = Utf8FromAnsi(entry.value);
            entry.verb = Utf8FromAnsi(entry.verb);
        }
        inf.defaultVerb = Utf8FromAnsi(inf.defaultVerb);
    }
    AutorunTargets targets = ResolveAutorunTargets(root, inf, EnvironmentValue);
    targets.pathsAreUtf8 = true;
    return targets;
}

std::vector<AutorunFinding> AnalyzeAutorunFindings(const std::string& root) {
    return FindingsOf(AnalyzeAutorunTargets(root));
}

AutorunFinding AnalyzeAutorun(const std::string& root) {
    const std::vector<AutorunFinding> findings = AnalyzeAutorunFindings(root);
    return findings.empty() ? AutorunFinding{} : findings.front();
}

} // namespace tollivar
