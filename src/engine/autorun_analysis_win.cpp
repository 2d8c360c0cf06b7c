#include "engine/autorun_analysis_win.h"

#include <windows.h>

#include "engine/file_access_win.h"
#include "win/handles_win.h"

namespace tollivar {
namespace {

std::string ReadOpenValue(const std::string& inf) {
    char value[512] = {};
    GetPrivateProfileStringA("autorun", "open", "", value, sizeof value, inf.c_str());
    return value;
}

std::uint64_t Join(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

} // namespace

AutorunFinding AnalyzeAutorun(const std::string& root) {
    return ResolveAutorunOpen(root, ReadOpenValue(AutorunInfPath(root)), EnvironmentValue);
}

AutorunFinding AnalyzeAutorun(const std::string& root, AutorunReadCache& cache) {
    const std::string inf = AutorunInfPath(root);
    const std::string value =
        cache.OpenValue(root, AutorunFileStamp(root), [&] { return ReadOpenValue(inf); });
    return ResolveAutorunOpen(root, value, EnvironmentValue);
}

std::optional<FileStamp> AutorunFileStamp(const std::string& root) {
    // Attribute access only: a file someone holds open without sharing still gives its identity. A
    // folder named autorun.inf gives none (no backup semantics), as it gives the profile reader no value.
    UniqueFile file(CreateFileA(AutorunInfPath(root).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    return FileStamp{info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow),
                     Join(info.nFileSizeHigh, info.nFileSizeLow),
                     Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
}

} // namespace tollivar
