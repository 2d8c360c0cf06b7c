#include "engine/shortcut_scan_win.h"

#include <windows.h>

#include <set>

#include "win/handles_win.h"
#include "win/no_redirection_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

std::string AnsiDecode(std::string_view bytes) {
    return Utf8FromAnsi(bytes);
}

bool EndsWithLnk(const std::wstring& name) {
    if (name.size() < 4) return false;
    const std::wstring tail = name.substr(name.size() - 4);
    return CompareStringOrdinal(tail.c_str(), 4, L".lnk", 4, TRUE) == CSTR_EQUAL;
}

// The bytes of a shortcut, or nothing when it cannot be read or is too large to be one.
std::optional<std::string> ReadShortcutBytes(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    // One byte more than the limit tells a file that is too large from one that just fits.
    std::string bytes(kShellLinkMaxBytes + 1, '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return std::nullopt;
    if (got > kShellLinkMaxBytes) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

std::optional<ShellLink> ReadShortcut(const std::wstring& path) {
    const std::optional<std::string> bytes = ReadShortcutBytes(path);
    if (!bytes) return std::nullopt;
    ShellLinkReading reading = ParseShellLink(*bytes, AnsiDecode);
    if (!reading.Ok()) return std::nullopt;
    return std::move(reading.link);
}

std::optional<ShortcutFinding> Judge(const ShellLink& link, const std::string& path,
                                     const std::string& root) {
    BaitVerdict verdict = JudgeShortcut(link, path, root, StickItemAttributes);
    if (!verdict.bait) return std::nullopt;
    return ShortcutFinding{path, root, std::move(verdict)};
}

struct ListedShortcut {
    std::wstring name;
    std::uint64_t size = 0;
    std::uint64_t written = 0;
};

// The "*.lnk" files (not folders) directly in a folder (wide, ending with "\").
std::vector<ListedShortcut> ListShortcuts(const std::wstring& folder) {
    std::vector<ListedShortcut> found;
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW((folder + L"*.lnk").c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return found;
    do {
        // The pattern also matches short names; the long name decides.
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !EndsWithLnk(data.cFileName)) continue;
        found.push_back({data.cFileName, (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                         (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                             data.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(find.get(), &data));
    return found;
}

} // namespace

std::optional<std::uint32_t> StickItemAttributes(const std::string& path) {
    const NoFileRedirection realPaths;
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

std::optional<ShortcutFinding> JudgeShortcutFile(const std::string& path, const std::string& root) {
    const NoFileRedirection realPaths;
    const std::optional<ShellLink> link = ReadShortcut(WidePath(path));
    if (!link) return std::nullopt;
    return Judge(*link, path, root);
}

std::vector<ShortcutFinding> BaitShortcutsIn(const std::string& folder, const std::string& root) {
    const NoFileRedirection realPaths;
    std::vector<ShortcutFinding> findings;
    const std::wstring wideFolder = WideFromUtf8(folder);
    for (const ListedShortcut& listed : ListShortcuts(wideFolder)) {
        const std::optional<ShellLink> link = ReadShortcut(wideFolder + listed.name);
        if (!link) continue;
        if (auto finding = Judge(*link, folder + Utf8FromWide(listed.name), root))
            findings.push_back(std::move(*finding));
    }
    return findings;
}

std::vector<ShortcutFinding> BaitShortcutsNamed(const std::string& path, const std::string& root) {
    if (auto finding = JudgeShortcutFile(path, root)) return {std::move(*finding)};
    return {};
}

std::vector<ShortcutFinding> RootShortcutScanner::Findings(const std::string& root) {
    const NoFileRedirection realPaths;
    std::vector<ShortcutFinding> findings;
    const std::wstring wideRoot = WideFromUtf8(root);
    std::set<std::wstring> seen;
    for (const ListedShortcut& listed : ListShortcuts(wideRoot)) {
        const std::wstring path = wideRoot + listed.name;
        seen.insert(path);
        Entry& entry = cache_[path];
        if (!entry.known || entry.size != listed.size || entry.written != listed.written) {
            const std::optional<ShellLink> link = ReadShortcut(path);
            ++filesRead_;
            entry = Entry{true, listed.size, listed.written,
                          link ? Judge(*link, root + Utf8FromWide(listed.name), root) : std::nullopt};
        }
        if (entry.finding) findings.push_back(*entry.finding);
    }
    // Shortcuts gone from this root are forgotten, so the store never outgrows the sticks.
    for (auto it = cache_.lower_bound(wideRoot); it != cache_.end() && it->first.rfind(wideRoot, 0) == 0;)
        it = seen.count(it->first) ? std::next(it) : cache_.erase(it);
    return findings;
}

std::vector<ShortcutFinding> ShortcutFindings(RootShortcutScanner& scanner,
                                              const std::vector<std::string>& roots) {
    std::vector<ShortcutFinding> all;
    for (const std::string& root : roots)
        for (ShortcutFinding& finding : scanner.Findings(root))
            all.push_back(std::move(finding));
    return all;
}

} // namespace tollivar
