#include "engine/autorun_analysis_win.h"

#include <windows.h>

#include <algorithm>

#include "engine/autorun_inf.h"
#include "engine/file_access_win.h"
#include "win/handles_win.h"

namespace tollivar {
namespace {

std::wstring WideOf(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string AnsiOf(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

// At most kAutorunReadLimit bytes of the file; nothing when it is a folder or cannot be read.
std::optional<std::string> ReadAutorunBytes(const std::string& infPath) {
    const std::wstring path = WideOf(infPath, CP_ACP);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
    AutorunTargets targets = AnalyzeAutorunText(root, *bytes, EnvironmentValue);
    if (targets.pathsAreUtf8) {
        // The lists and the file functions here speak the ANSI code page.
        for (AutorunTarget& target : targets.targets) target.path = AnsiOf(WideOf(target.path, CP_UTF8));
        targets.pathsAreUtf8 = false;
    }
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
