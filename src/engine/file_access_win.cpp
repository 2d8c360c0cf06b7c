#include "engine/file_access_win.h"

#include "engine/final_path_rules.h"

#include "win/handles_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

bool IsBareName(const std::string& path) {
    return path.find_first_of("\\/:") == std::string::npos;
}

std::wstring SearchAlongPath(const std::wstring& name) {
    std::wstring found(MAX_PATH, L'\0');
    DWORD n =
        SearchPathW(nullptr, name.c_str(), nullptr, static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (n >= found.size()) {
        found.resize(n + 1);
        n = SearchPathW(nullptr, name.c_str(), nullptr, static_cast<DWORD>(found.size()), found.data(),
                        nullptr);
    }
    return n > 0 && n < found.size() ? found.substr(0, n) : std::wstring();
}

bool OpensForReading(const std::wstring& path) {
    // No FILE_FLAG_BACKUP_SEMANTICS: a folder does not open, so it never counts as a file.
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

} // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    NoFileRedirection realPaths;
    if (IsBareName(path)) {
        const std::wstring found = SearchAlongPath(WideFromUtf8(path));
        return !found.empty() && OpensForReading(found);
    }
    return OpensForReading(WidePath(path));
}

std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(WidePath(folder + "*").c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    do {
        entries.push_back(DirectoryEntry{Utf8FromWide(data.cFileName), data.dwFileAttributes});
    } while (FindNextFileW(find.get(), &data));
    return entries;
}

FolderNames ListFolderNames(const std::string& folder) {
    FolderNames result;
    NoFileRedirection realPaths;
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(WidePath(folder + "*").c_str(), FindExInfoStandard, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        const DWORD error = GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND || error == ERROR_DIRECTORY ||
            error == ERROR_INVALID_NAME)
            result.outcome = FolderNames::Outcome::Missing;
        return result;
    }
    do {
        result.names.push_back(Utf8FromWide(data.cFileName));
        if (data.cAlternateFileName[0]) result.names.push_back(Utf8FromWide(data.cAlternateFileName));
    } while (FindNextFileW(find.get(), &data));
    result.outcome = FolderNames::Outcome::Listed;
    return result;
}

std::string FinalPathOfFile(const std::string& path, unsigned long* openError) {
    const NoFileRedirection realPaths;
    if (openError) *openError = ERROR_SUCCESS;
    UniqueFile file(CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        if (openError) *openError = GetLastError();
        return {};
    }
    std::wstring finalPath(1024, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file.get(), finalPath.data(), static_cast<DWORD>(finalPath.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n >= finalPath.size()) {
        finalPath.resize(n + 1);
        n = GetFinalPathNameByHandleW(file.get(), finalPath.data(), static_cast<DWORD>(finalPath.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= finalPath.size()) {
        if (openError) *openError = GetLastError();
        return {};
    }
    return Utf8FromWide(std::wstring_view(finalPath.data(), n));
}

bool FileIsWhereListed(const std::string& path) {
    return FileExists(path) && FinalPathIsListedPath(FinalPathOfFile(path), path);
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
    const std::wstring wideName = WideFromUtf8(name);
    std::wstring value(512, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n =
            GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (n < value.size()) return Utf8FromWide(std::wstring_view(value.data(), n));
        value.resize(n); // n is the size the value needs, its terminator included
    }
}

} // namespace tollivar
