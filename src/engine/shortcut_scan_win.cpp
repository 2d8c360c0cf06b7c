#include "engine/shortcut_scan_win.h"

#include <windows.h>

#include <set>

#include "win/handles_win.h"
#include "win/no_redirection_win.h"

namespace tollivar {
namespace {

std::string MultiToUtf8(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return Utf8FromWide(wide);
}

std::string AnsiDecode(std::string_view bytes) {
    return MultiToUtf8(CP_ACP, std::string(bytes));
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

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return {};
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::string AnsiText(const std::string& utf8) {
    const std::wstring wide = WideFromUtf8(utf8);
    if (wide.empty()) return {};
    // No best fit: a letter the code page lacks shows as "?", never as a different letter that could
    // name another file.
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                      static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), s.data(), n,
                        nullptr, nullptr);
    return s;
}

std::string Utf8FromAnsi(const std::string& ansi) {
    return MultiToUtf8(CP_ACP, ansi);
}

std::optional<std::uint32_t> StickItemAttributes(const std::string& path) {
    const NoFileRedirection realPaths;
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

std::optional<ShortcutFinding> JudgeShortcutFile(const std::string& path, const std::string& root) {
    const NoFileRedirection realPaths;
    const std::optional<ShellLink> link = ReadShortcut(WideFromUtf8(path));
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

std::vector<ShortcutFinding> BaitShortcutsNamed(const std::string& ansiPath, const std::string& root) {
    const std::string path = Utf8FromAnsi(ansiPath);
    const std::string utf8Root = Utf8FromAnsi(root);
    if (ansiPath.find('?') == std::string::npos) {
        if (auto finding = JudgeShortcutFile(path, utf8Root)) return {std::move(*finding)};
        return {};
    }
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return {};
    std::vector<ShortcutFinding> found;
    for (ShortcutFinding& finding : BaitShortcutsIn(path.substr(0, slash + 1), utf8Root))
        if (AnsiText(finding.shortcut) == ansiPath) found.push_back(std::move(finding));
    return found;
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

ShortcutFinding AnsiFinding(const ShortcutFinding& finding) {
    ShortcutFinding ansi{AnsiText(finding.shortcut), AnsiText(finding.root), {}};
    const BaitVerdict& v = finding.verdict;
    ansi.verdict.bait = v.bait;
    ansi.verdict.reason = AnsiText(v.reason);
    ansi.verdict.mirroredOriginal = AnsiText(v.mirroredOriginal);
    for (const std::string& p : v.payloads)
        ansi.verdict.payloads.push_back(AnsiText(p));
    for (const std::string& w : v.webAddresses)
        ansi.verdict.webAddresses.push_back(AnsiText(w));
    for (const std::string& o : v.openedItems)
        ansi.verdict.openedItems.push_back(AnsiText(o));
    return ansi;
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
