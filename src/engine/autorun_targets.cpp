#include "engine/autorun_targets.h"

#include <optional>
#include <unordered_set>

#include "config/text_rules.h"
#include "engine/profile_text.h"

namespace tollivar {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string ToLowerAscii(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// One word of a command line: it ends at a blank outside quotes, and its quotes are removed.
struct Word {
    std::string text;
    std::size_t comma = std::string::npos; // the first "," outside quotes, in text
    std::size_t rawStart = 0;              // where the word starts in the command line
    bool quoted = false;
    bool empty() const { return text.empty() && !quoted; }
};

class Words {
  public:
    explicit Words(std::string_view line) : line_(line) {}

    Word Next() {
        while (pos_ < line_.size() && IsBlank(line_[pos_]))
            ++pos_;
        Word word;
        word.rawStart = pos_;
        bool inQuotes = false;
        for (; pos_ < line_.size(); ++pos_) {
            const char c = line_[pos_];
            if (c == '"') {
                inQuotes = !inQuotes;
                word.quoted = true;
            } else if (!inQuotes && IsBlank(c)) {
                break;
            } else {
                if (c == ',' && !inQuotes && word.comma == std::string::npos) word.comma = word.text.size();
                word.text += c;
            }
        }
        return word;
    }

    std::string_view Rest() const { return line_.substr(pos_); }
    std::string_view From(std::size_t rawPos) const { return line_.substr(rawPos); }

  private:
    std::string_view line_;
    std::size_t pos_ = 0;
};

enum class Host { Rundll32, Regsvr32, ScriptHost, Mshta, Cmd, PowerShell };

std::optional<Host> HostNamed(std::string_view fileName) {
    std::string name = ToLowerAscii(fileName);
    if (EndsWith(name, ".exe")) name.resize(name.size() - 4);
    if (name == "rundll32") return Host::Rundll32;
    if (name == "regsvr32") return Host::Regsvr32;
    if (name == "wscript" || name == "cscript") return Host::ScriptHost;
    if (name == "mshta") return Host::Mshta;
    if (name == "cmd") return Host::Cmd;
    if (name == "powershell" || name == "pwsh") return Host::PowerShell;
    return std::nullopt;
}

// A path as the "open" rule places it: a path without a colon has its first environment reference
// expanded and, still without one, lies on the drive (".\x" and "\x" as "x"). A UNC path is kept.
std::string OnDrive(std::string_view root, std::string_view path, const EnvironmentLookup& environment) {
    std::string p(path);
    if (p.find(':') != std::string::npos || StartsWith(p, "\\\\")) return p;
    p = ExpandFirstReference(p, environment).text;
    if (p.empty() || p.find(':') != std::string::npos || StartsWith(p, "\\\\")) return p;
    std::string_view rest(p);
    while (StartsWith(rest, ".\\") || StartsWith(rest, "./"))
        rest.remove_prefix(2);
    while (StartsWith(rest, "\\") || StartsWith(rest, "/"))
        rest.remove_prefix(1);
    if (rest.empty() || rest == ".") return {};
    return std::string(root) + std::string(rest);
}

bool IsOnDrive(std::string_view path, std::string_view root) {
    const std::string r = ComparablePath(root);
    const std::string p = ComparablePath(path);
    return !r.empty() && StartsWith(p, r) && (p.size() == r.size() || p[r.size()] == '\\');
}

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsBare(const Word& program) {
    return program.text.find_first_of("\\/%") == std::string::npos;
}

// A host is one of the system's: written bare, or with a path that lies off the drive once its
// environment reference is expanded ("%ComSpec%"). A program of that name on the drive itself is the
// stick's own program.
std::optional<Host> HostOf(const Word& program, std::string_view root, const EnvironmentLookup& environment) {
    if (IsBare(program)) return HostNamed(program.text);
    const std::string path = OnDrive(root, program.text, environment);
    if (path.empty() || IsOnDrive(path, root)) return std::nullopt;
    return HostNamed(FileNameOf(path));
}

std::string SystemFolder(const EnvironmentLookup& environment) {
    for (const char* name : {"SystemRoot", "windir"}) {
        if (!environment) break;
        if (std::optional<std::string> v = environment(name); v && !v->empty()) {
            std::string folder = std::move(*v);
            if (folder.back() != '\\') folder += '\\';
            return folder + "System32\\";
        }
    }
    return "C:\\Windows\\System32\\";
}

std::string HostProgramPath(const Word& program, std::string_view root,
                            const EnvironmentLookup& environment) {
    if (!IsBare(program)) return OnDrive(root, program.text, environment);
    std::string name = program.text;
    if (!EndsWith(ToLowerAscii(name), ".exe")) name += ".exe";
    return SystemFolder(environment) + name;
}

bool IsSwitch(std::string_view word) {
    return !word.empty() && (word.front() == '/' || word.front() == '-');
}

// An argument that is a web address or inline script ("http://", "vbscript:...", "javascript:...")
// names no file; a drive letter's colon does not make a scheme.
bool NamesFile(std::string_view argument) {
    if (argument.empty() || argument.find("://") != std::string_view::npos) return false;
    const std::size_t colon = argument.find(':');
    if (colon != std::string_view::npos && colon >= 2) {
        bool scheme = true;
        for (std::size_t i = 0; i < colon; ++i) {
            const char c = argument[i];
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
            if (!letter && !(i > 0 && other)) scheme = false;
        }
        if (scheme) return false;
    }
    return true;
}

// True when the switch is name or a leading part of it at least minimum characters long.
bool Abbreviates(std::string_view word, std::string_view name, std::size_t minimum) {
    return word.size() >= minimum && word.size() <= name.size() && name.substr(0, word.size()) == word;
}

enum class PowerShellSwitch { File, Command, TakesValue, Flag };

PowerShellSwitch ClassifyPowerShellSwitch(std::string_view word) {
    const std::string s = ToLowerAscii(word.substr(1));
    if (s == "ep" || Abbreviates(s, "executionpolicy", 2)) return PowerShellSwitch::TakesValue;
    if (s == "ec" || Abbreviates(s, "encodedcommand", 1) || Abbreviates(s, "command", 1))
        return PowerShellSwitch::Command;
    if (Abbreviates(s, "file", 1)) return PowerShellSwitch::File;
    for (std::string_view name : {"windowstyle", "version", "outputformat"})
        if (Abbreviates(s, name, 1)) return PowerShellSwitch::TakesValue;
    if (s == "if" || s == "of" || s == "wd" || Abbreviates(s, "inputformat", 3) ||
        Abbreviates(s, "configurationname", 3) || Abbreviates(s, "psconsolefile", 2) ||
        Abbreviates(s, "workingdirectory", 2) || Abbreviates(s, "settingsfile", 2) ||
        Abbreviates(s, "custompipename", 2) || Abbreviates(s, "executionpolicy", 2))
        return PowerShellSwitch::TakesValue;
    return PowerShellSwitch::Flag;
}

// The cut to 511 characters counts bytes; in UTF-8 text it must not leave half a character behind.
void DropSplitCharacter(std::string& text) {
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 3 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead == 0) return;
    const auto c = static_cast<unsigned char>(text[lead - 1]);
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (text.size() - (lead - 1) < length) text.resize(lead - 1);
}

constexpr int kMostNestedHosts = 4; // "cmd /c start cmd /c ..." is not followed further

struct Resolver {
    std::string_view root;
    const EnvironmentLookup& environment;

    AutorunTarget File(std::string_view argument) const {
        return {OnDrive(root, argument, environment), {}, AutorunTargetKind::HostArgument};
    }

    // The file the host is handed, read from the words after the host's own name.
    AutorunTarget HostTarget(Host host, const Word& program, Words& words, int depth) const {
        std::optional<AutorunTarget> file;
        switch (host) {
        case Host::Rundll32:
        case Host::Mshta:
        case Host::Regsvr32:
        case Host::ScriptHost:
            file = FirstFileArgument(host, words);
            break;
        case Host::Cmd:
            file = CmdTarget(words, depth);
            break;
        case Host::PowerShell:
            file = PowerShellTarget(words);
            break;
        }
        if (file && !file->path.empty()) return *file;
        return {HostProgramPath(program, root, environment), {}, AutorunTargetKind::HostProgram};
    }

    std::optional<AutorunTarget> FirstFileArgument(Host host, Words& words) const {
        for (Word w = words.Next(); !w.empty(); w = words.Next()) {
            if (!w.quoted && IsSwitch(w.text)) continue;
            std::string argument = w.text;
            if (host == Host::Rundll32 && w.comma != std::string::npos) argument.resize(w.comma);
            if (!NamesFile(argument)) return std::nullopt;
            return File(argument);
        }
        return std::nullopt;
    }

    std::optional<AutorunTarget> CmdTarget(Words& words, int depth) const {
        for (Word w = words.Next(); !w.empty(); w = words.Next()) {
            const std::string lower = ToLowerAscii(w.text);
            if (w.quoted || !IsSwitch(lower)) return std::nullopt; // no "/c": cmd runs nothing given
            if (StartsWith(lower, "/c") || StartsWith(lower, "/k")) {
                // "/cstart x.exe" is "/c" followed by "start x.exe".
                const std::string_view command =
                    w.text.size() > 2 ? words.From(w.rawStart + 2) : words.Rest();
                return Command(command, depth + 1);
            }
        }
        return std::nullopt;
    }

    // The command cmd runs after "/c" or "/k": its first word, after "start" with its switches and
    // window title, is the program, itself perhaps a host.
    std::optional<AutorunTarget> Command(std::string_view command, int depth) const {
        std::string_view text = command;
        while (!text.empty() && IsBlank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && IsBlank(text.back()))
            text.remove_suffix(1);
        std::string unquoted;
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
            unquoted = std::string(text.substr(1, text.size() - 2));
            text = unquoted;
        }
        Words words(text);
        Word program = words.Next();
        if (!program.quoted && EqualsUpper(program.text, "START")) {
            bool titleAllowed = true;
            program = words.Next();
            while (!program.empty()) {
                if (program.quoted && titleAllowed) {
                    titleAllowed = false;
                } else if (!program.quoted && IsSwitch(program.text)) {
                    if (EqualsUpper(program.text, "/D")) words.Next(); // its folder
                } else {
                    break;
                }
                program = words.Next();
            }
        }
        // Chained commands ("x.exe&del y") end the program's word.
        const std::size_t chain = program.quoted ? std::string::npos : program.text.find_first_of("&|<>");
        if (chain != std::string::npos) program.text.resize(chain);
        if (program.text.empty() || !NamesFile(program.text)) return std::nullopt;
        if (depth < kMostNestedHosts)
            if (const std::optional<Host> host = HostOf(program, root, environment))
                return HostTarget(*host, program, words, depth);
        return File(program.text);
    }

    std::optional<AutorunTarget> PowerShellTarget(Words& words) const {
        for (Word w = words.Next(); !w.empty(); w = words.Next()) {
            if (w.quoted || !IsSwitch(w.text)) {
                // A bare first argument is a command; a script path is run as such.
                if (EndsWith(ToLowerAscii(w.text), ".ps1") && NamesFile(w.text)) return File(w.text);
                return std::nullopt;
            }
            switch (ClassifyPowerShellSwitch(w.text)) {
            case PowerShellSwitch::File: {
                const Word script = words.Next();
                if (script.empty() || !NamesFile(script.text)) return std::nullopt;
                return File(script.text);
            }
            case PowerShellSwitch::Command: {
                const Word first = words.Next();
                if (EndsWith(ToLowerAscii(first.text), ".ps1") && NamesFile(first.text))
                    return File(first.text);
                return std::nullopt;
            }
            case PowerShellSwitch::TakesValue:
                words.Next();
                break;
            case PowerShellSwitch::Flag:
                break;
            }
        }
        return std::nullopt;
    }
};

} // namespace

AutorunTarget ResolveLaunchValue(std::string_view root, std::string_view profileValue,
                                 const EnvironmentLookup& environment) {
    const Resolver resolver{root, environment};
    Words words(profileValue);
    const Word program = words.Next();
    if (const std::optional<Host> host = HostOf(program, root, environment))
        return resolver.HostTarget(*host, program, words, 0);
    return {ResolveAutorunOpen(root, profileValue, environment).targetPath, {}, AutorunTargetKind::Program};
}

AutorunTargets ResolveAutorunTargets(std::string_view root, const AutorunInf& inf,
                                     const EnvironmentLookup& environment) {
    AutorunTargets result;
    std::unordered_set<std::string> seen;
    for (const AutorunEntry& entry : inf.launchEntries) {
        std::string value = ProfileValue(entry.value);
        if (inf.TextIsUtf8()) DropSplitCharacter(value);
        AutorunTarget target = ResolveLaunchValue(root, value, environment);
        if (target.path.empty() || !seen.insert(ComparablePath(target.path)).second) continue;
        target.key = entry.key;
        result.targets.push_back(std::move(target));
    }
    if (result.Found()) result.infPath = AutorunInfPath(root);
    result.pathsAreUtf8 = inf.TextIsUtf8();
    return result;
}

AutorunTargets AnalyzeAutorunText(std::string_view root, std::string_view bytes,
                                  const EnvironmentLookup& environment) {
    return ResolveAutorunTargets(root, ReadAutorunInf(bytes), environment);
}

std::vector<AutorunFinding> FindingsOf(const AutorunTargets& targets) {
    std::vector<AutorunFinding> findings;
    for (const AutorunTarget& t : targets.targets) {
        AutorunFinding f;
        f.infPath = targets.infPath;
        f.targetPath = t.path;
        const std::size_t lastSlash = t.path.rfind('\\');
        f.targetName = lastSlash == std::string::npos ? t.path : t.path.substr(lastSlash + 1);
        findings.push_back(std::move(f));
    }
    return findings;
}

} // namespace tollivar
