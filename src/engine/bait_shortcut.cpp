#include "engine/bait_shortcut.h"

#include <algorithm>
#include <array>
#include <set>

#include "config/text_rules.h"
#include "engine/drive_walk_rules.h"

namespace tollivar {
namespace {

// Enough for any command a worm writes; a longer line is not searched past this many names, so a
// pass never asks the stick about thousands of paths for one shortcut.
constexpr std::size_t kMaxNamesAsked = 256;

constexpr std::array<std::string_view, 9> kLaunchers = {
    "cmd", "wscript", "cscript", "rundll32", "regsvr32", "mshta", "powershell", "pwsh", "msiexec"};
// Hosts whose first argument is the script, library or page they run, whatever its extension.
constexpr std::array<std::string_view, 5> kFirstArgumentHosts = {"wscript", "cscript", "rundll32", "regsvr32",
                                                                 "mshta"};
constexpr std::array<std::string_view, 18> kRunnableExtensions = {"EXE", "COM", "SCR", "PIF", "BAT", "CMD",
                                                                  "VBS", "VBE", "JS",  "JSE", "WSF", "WSH",
                                                                  "HTA", "PS1", "MSI", "CPL", "DLL", "JAR"};

template <std::size_t N> bool OneOf(const std::array<std::string_view, N>& list, std::string_view s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::string LowerAscii(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsUpper(text.substr(0, prefix.size()), prefix);
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string BaseName(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool HasRunnableExtension(std::string_view path) {
    const std::string name = BaseName(path);
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && OneOf(kRunnableExtensions, ToUpperAscii(name.substr(dot + 1)));
}

std::string_view Unquoted(std::string_view s) {
    while (s.size() >= 2 &&
           ((s.front() == '"' && s.back() == '"') || (s.front() == '\'' && s.back() == '\'')))
        s = s.substr(1, s.size() - 2);
    return s;
}

// cmd's delimiters between the words of a command, and its command separators.
bool IsDelimiter(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '&' || c == '|' || c == '<' || c == '>' ||
           c == '(' || c == ')' || c == ',' || c == ';' || c == '=';
}

// Splits a command line into words. Quoted stretches belong to their word; a quoted stretch that
// itself holds delimiters ("cmd /c "start x.vbs & exit"") is also split, one level deep.
void SplitWords(std::string_view line, int depth, std::vector<std::string>& words) {
    std::string word;
    std::string quoted;
    std::vector<std::string> inner;
    bool inQuote = false;
    bool started = false;
    auto flush = [&]() {
        if (started) words.push_back(word);
        if (depth > 0)
            for (const std::string& part : inner)
                SplitWords(part, depth - 1, words);
        word.clear();
        inner.clear();
        started = false;
    };
    for (char c : line) {
        if (c == '"') {
            if (inQuote && std::any_of(quoted.begin(), quoted.end(), IsDelimiter)) inner.push_back(quoted);
            quoted.clear();
            inQuote = !inQuote;
            started = true;
        } else if (inQuote) {
            word += c;
            quoted += c;
        } else if (IsDelimiter(c)) {
            flush();
        } else {
            word += c;
            started = true;
        }
    }
    if (inQuote && std::any_of(quoted.begin(), quoted.end(), IsDelimiter)) inner.push_back(quoted);
    flush();
}

std::vector<std::string> WebAddresses(std::string_view line) {
    std::string plain;
    for (char c : line)
        if (c != '^' && c != '"') plain += c;
    const std::string lower = LowerAscii(plain);
    std::vector<std::string> found;
    std::size_t from = 0;
    while (from < lower.size()) {
        std::size_t best = std::string::npos;
        for (std::string_view scheme : {"http://", "https://", "ftp://"})
            best = std::min(best, lower.find(scheme, from));
        if (best == std::string::npos) break;
        std::size_t end = best;
        while (end < plain.size() && !IsDelimiter(plain[end]) && plain[end] != '\'')
            ++end;
        const std::string address = plain.substr(best, end - best);
        if (std::find(found.begin(), found.end(), address) == found.end()) found.push_back(address);
        from = end;
    }
    return found;
}

// A path on the stick split into its parts below the root.
struct Parsed {
    char letter = 0;
    std::vector<std::string> parts;
};

bool RootLetter(std::string_view root, char& letter) {
    if (!(root.size() == 2 || (root.size() == 3 && root[2] == '\\')) || root[1] != ':' || !IsLetter(root[0]))
        return false;
    letter = root[0];
    return true;
}

std::string Joined(char letter, const std::vector<std::string>& parts) {
    std::string path{letter, ':', '\\'};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) path += '\\';
        path += parts[i];
    }
    return path;
}

std::optional<std::vector<std::string>>
Resolve(char letter, const std::optional<std::vector<std::string>>& base, std::string_view name) {
    std::string n(name);
    std::replace(n.begin(), n.end(), '/', '\\');
    if (n.empty() || n.substr(0, 2) == "\\\\" || n.find("://") != std::string::npos) return std::nullopt;
    std::vector<std::string> parts;
    std::string_view rest(n);
    if (rest.size() >= 2 && rest[1] == ':') {
        if (!IsLetter(rest[0]) ||
            ToUpperAscii(rest.substr(0, 1)) != ToUpperAscii(std::string_view(&letter, 1)))
            return std::nullopt;
        rest.remove_prefix(2);
        if (!rest.empty() && rest.front() == '\\') {
            rest.remove_prefix(1);
        } else {
            if (!base) return std::nullopt;
            parts = *base;
        }
    } else if (rest.front() == '\\') {
        rest.remove_prefix(1);
    } else {
        if (!base) return std::nullopt;
        parts = *base;
    }
    for (char c : rest) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            return std::nullopt;
    }
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) end = rest.size();
        const std::string_view part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
    return parts;
}

// "%~dp0x" and "%cd%\x" stand for the folder the command runs in, "%~d0" for its drive; any other
// variable is not known here and the name is not resolved.
std::optional<std::vector<std::string>>
ResolveWord(char letter, const std::optional<std::vector<std::string>>& base, std::string_view word) {
    for (std::string_view folder : {"%~dp0", "%cd%"}) {
        if (StartsWithNoCase(word, folder)) {
            if (!base) return std::nullopt;
            std::string_view rest = word.substr(folder.size());
            return Resolve(letter, base, rest.empty() ? std::string_view(".") : rest);
        }
    }
    if (StartsWithNoCase(word, "%~d0")) {
        const std::string onDrive = std::string{letter, ':'} + std::string(word.substr(4));
        return Resolve(letter, base, onDrive);
    }
    if (word.find('%') != std::string_view::npos) return std::nullopt;
    return Resolve(letter, base, word);
}

bool SamePath(const std::string& a, const std::string& b) {
    return EqualsUpper(a, b);
}

void AddUnique(std::vector<std::string>& list, const std::string& path) {
    for (const std::string& p : list)
        if (SamePath(p, path)) return;
    list.push_back(path);
}

std::string JoinTexts(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += ", ";
        text += item;
    }
    return text;
}

} // namespace

std::string LauncherName(std::string_view target) {
    std::string_view t = Unquoted(target);
    while (!t.empty() && (t.back() == '.' || t.back() == ' '))
        t.remove_suffix(1);
    std::string name = LowerAscii(BaseName(t));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
    return OneOf(kLaunchers, name) ? name : std::string();
}

std::optional<std::string> StickPath(std::string_view root, std::string_view base, std::string_view name) {
    char letter = 0;
    if (!RootLetter(root, letter)) return std::nullopt;
    std::optional<std::vector<std::string>> baseParts;
    if (!base.empty()) {
        baseParts = Resolve(letter, std::nullopt, base);
        if (!baseParts) return std::nullopt;
    }
    const auto parts = Resolve(letter, baseParts, name);
    if (!parts) return std::nullopt;
    return Joined(letter, *parts);
}

BaitVerdict JudgeShortcut(const ShellLink& link, std::string_view shortcutPath, std::string_view root,
                          const StickAttributes& stick) {
    BaitVerdict verdict;
    char letter = 0;
    if (!RootLetter(root, letter) || !stick) return verdict;

    const auto shortcutParts = Resolve(letter, std::nullopt, Unquoted(shortcutPath));
    std::optional<std::vector<std::string>> shortcutFolder;
    std::string shortcut;
    std::string mirror;
    if (shortcutParts && !shortcutParts->empty()) {
        shortcut = Joined(letter, *shortcutParts);
        shortcutFolder = *shortcutParts;
        shortcutFolder->pop_back();
        const std::string& last = shortcutParts->back();
        if (last.size() > 4 && EqualsUpper(std::string_view(last).substr(last.size() - 4), ".LNK")) {
            std::vector<std::string> stem = *shortcutParts;
            stem.back().resize(last.size() - 4);
            mirror = Joined(letter, stem);
        }
    }
    // Relative names of the command resolve against its working directory.
    std::optional<std::vector<std::string>> base = shortcutFolder;
    if (!link.workingDir.empty()) base = ResolveWord(letter, shortcutFolder, Unquoted(link.workingDir));

    std::size_t asked = 0;
    auto ask = [&](const std::string& path) -> std::optional<std::uint32_t> {
        if (asked >= kMaxNamesAsked) return std::nullopt;
        ++asked;
        return stick(path);
    };

    std::vector<std::string> targets;
    for (const std::string* t : {&link.linkInfoPath, &link.environmentPath, &link.idListPath})
        if (!t->empty()) targets.push_back(*t);
    std::vector<std::string> reasons;

    // (b) a hidden program or script on the stick.
    std::vector<std::string> hiddenTargets;
    std::vector<std::string> stickTargets = targets;
    if (!link.relativePath.empty()) stickTargets.push_back(link.relativePath);
    for (const std::string& target : stickTargets) {
        const auto parts = ResolveWord(letter, shortcutFolder, Unquoted(target));
        if (!parts || parts->empty()) continue;
        const std::string path = Joined(letter, *parts);
        if (!HasRunnableExtension(path) || SamePath(path, shortcut) || SamePath(path, mirror)) continue;
        const auto attributes = ask(path);
        if (attributes && !(*attributes & kAttributeDirectory) && (*attributes & kAttributeHidden))
            AddUnique(hiddenTargets, path);
    }
    for (const std::string& path : hiddenTargets)
        AddUnique(verdict.payloads, path);
    if (!hiddenTargets.empty()) reasons.push_back("runs hidden " + JoinTexts(hiddenTargets));

    // (a) an interpreter, host or loader given a file on the stick or a web address.
    std::string launcher;
    for (const std::string& target : targets) {
        launcher = LauncherName(target);
        if (!launcher.empty()) break;
    }
    bool namesStickFile = false;
    if (!launcher.empty()) {
        std::vector<std::string> words;
        SplitWords(link.arguments, 1, words);
        if (link.arguments.find('^') != std::string::npos) {
            std::string plain;
            for (char c : link.arguments)
                if (c != '^') plain += c;
            SplitWords(plain, 1, words);
        }
        const bool firstIsPayload = OneOf(kFirstArgumentHosts, launcher);
        bool first = true;
        std::set<std::string> seen;
        std::vector<std::string> run;
        std::vector<std::string> opened;
        for (const std::string& raw : words) {
            const std::string_view word = Unquoted(raw);
            if (word.empty() || word.front() == '/' || !seen.insert(std::string(word)).second) continue;
            const bool isFirst = first;
            if (word.front() != '-') first = false;
            const auto parts = ResolveWord(letter, base, word);
            if (!parts || parts->empty()) continue;
            const std::string path = Joined(letter, *parts);
            if (SamePath(path, shortcut)) continue;
            const auto attributes = ask(path);
            if (!attributes) continue;
            if (*attributes & kAttributeDirectory) {
                AddUnique(verdict.openedItems, path);
                continue;
            }
            namesStickFile = true;
            if (!SamePath(path, mirror) && ((firstIsPayload && isFirst) || HasRunnableExtension(path))) {
                AddUnique(run, path);
                AddUnique(verdict.payloads, path);
            } else {
                AddUnique(opened, path);
                AddUnique(verdict.openedItems, path);
            }
        }
        verdict.webAddresses = WebAddresses(link.arguments);
        std::vector<std::string> what = run;
        for (const std::string& address : verdict.webAddresses)
            what.push_back(address);
        if (!what.empty())
            reasons.push_back(launcher + " runs " + JoinTexts(what));
        else if (!opened.empty())
            reasons.push_back(launcher + " opens " + JoinTexts(opened));
    }

    verdict.bait = !hiddenTargets.empty() || namesStickFile || !verdict.webAddresses.empty();
    if (!verdict.bait) return BaitVerdict{};

    if (!mirror.empty()) {
        const auto attributes = stick(mirror);
        if (attributes && (*attributes & kAttributeHidden)) {
            verdict.mirroredOriginal = mirror;
            reasons.push_back("hides " + mirror);
        }
    }
    for (const std::string& r : reasons) {
        if (!verdict.reason.empty()) verdict.reason += "; ";
        verdict.reason += r;
    }
    return verdict;
}

} // namespace tollivar
