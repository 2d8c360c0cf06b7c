#include "engine/file_access_win.h"

#include "engine/final_path_rules.h"

#include "win/handles_win.h"

namespace tollivar {
namespace {

// The ANSI functions stop at MAX_PATH; longer paths go through the wide functions with "\\?\".
constexpr std::size_t kAnsiPathLimit = MAX_PATH - 1;

std::wstring LongForm(const std::string& path) {
    const std::string full = "\\\\?\\" + path;
    const int n = MultiByteToWideChar(CP_ACP, 0, full.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, full.c_str(), -1, wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, s.data(), n, nullptr, nullptr);
    return s;
}

bool IsBareName(const std::string& path) { return path.find_first_of("\\/:") == std::string::npos; }

std::string SearchAlongPath(const std::string& name) {
    char found[MAX_PATH] = {};
    const DWORD n = SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, found, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(found, n) : std::string();
}

bool OpensForReading(const std::string& path) {
    // No FILE_FLAG_BACKUP_SEMANTICS: a folder does not open, so it never counts as a file.
    UniqueFile file(path.size() <= kAnsiPathLimit
                        ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                        : CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

template <typename FindData>
DirectoryEntry EntryOf(const FindData& data, std::string name) {
    return DirectoryEntry{std::move(name), data.dwFileAttributes};
}

std::optional<std::vector<DirectoryEntry>> ListShortFolder(const std::string& folder) {
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileExA((folder + "*.*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    do {
        entries.push_back(EntryOf(data, data.cFileName));
    } while (FindNextFileA(find.get(), &data));
    return entries;
}

std::optional<std::vector<DirectoryEntry>> ListLongFolder(const std::string& folder) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(LongForm(folder + "*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    do {
        entries.push_back(EntryOf(data, Narrow(data.cFileName)));
    } while (FindNextFileW(find.get(), &data));
    return entries;
}

} // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    NoFileRedirection realPaths;
    if (IsBareName(path)) {
        const std::string found = SearchAlongPath(path);
        return !found.empty() && OpensForReading(found);
    }
    return OpensForReading(path);
}

std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder) {
    // "*.*" is two characters longer than the folder: the short form must hold both.
    if (folder.size() + 3 <= kAnsiPathLimit) return ListShortFolder(folder);
    return ListLongFolder(folder);
}

FolderNames ListFolderNames(const std::string& folder) {
    FolderNames result;
    if (folder.size() + 1 > kAnsiPathLimit) return result; // left to the real test
    NoFileRedirection realPaths;
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileExA((folder + "*").c_str(), FindExInfoStandard, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        const DWORD error = GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND || error == ERROR_DIRECTORY ||
            error == ERROR_INVALID_NAME)
            result.outcome = FolderNames::Outcome::Missing;
        return result;
    }
    do {
        result.names.emplace_back(data.cFileName);
        if (data.cAlternateFileName[0]) result.names.emplace_back(data.cAlternateFileName);
    } while (FindNextFileA(find.get(), &data));
    result.outcome = FolderNames::Outcome::Listed;
    return result;
}

std::string FinalPathOfFile(const std::string& path, unsigned long* openError) {
    const NoFileRedirection realPaths;
    if (openError) *openError = ERROR_SUCCESS;
    UniqueFile file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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
    // In the program's ANSI text; a name it cannot hold is no path at all (a best fit could name
    // another file).
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, finalPath.data(), static_cast<int>(n), nullptr,
                                         0, nullptr, &lossy);
    if (size <= 0 || lossy) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, finalPath.data(), static_cast<int>(n), text.data(), size,
                        nullptr, nullptr);
    return text;
}

bool FileIsWhereListed(const std::string& path) {
    return FileExists(path) && FinalPathIsListedPath(FinalPathOfFile(path), path);
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
    std::string value(512, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (n < value.size()) {
            value.resize(n);
            return value;
        }
        value.resize(n); // n is the size the value needs, its terminator included
    }
}

} // namespace tollivar
