// The update check against what the scan then does with the same bytes: a file the check accepts is
// read by the scan exactly as the check read it, and none of the rows the scan could list names a path
// or process that a small model of this computer calls off limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/definitions_encoding.h"
#include "engine/definitions_walk.h"
#include "engine/profile_text.h"
#include "updater/definitions_check.h"

namespace {

const std::map<std::string, std::string> kVariables = {
    {"USERPROFILE", "C:\\Users\\ann"},
    {"APPDATA", "C:\\Users\\ann\\AppData\\Roaming"},
    {"LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local"},
    {"TEMP", "C:\\Users\\ann\\AppData\\Local\\Temp"},
    {"WINDIR", "C:\\Windows"},
    {"SYSTEMROOT", "C:\\Windows"},
    {"PROGRAMFILES", "C:\\Program Files"},
    {"PROGRAMDATA", "C:\\ProgramData"},
    {"X", "C:\\Program Files\\Tollivar\\.."},
    {"Y", "\\\\?\\C:\\Users\\ann\\Documents"},
};

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

std::optional<std::string> Lookup(const std::string& name) {
    const auto found = kVariables.find(Upper(name));
    if (found == kVariables.end()) return std::nullopt;
    return found->second;
}

// The model's reading of a path: upper-cased drive path with ".", "..", empty parts and trailing dots and
// blanks resolved; nothing for any other form. folder is set when it cannot name a file.
struct ModelPath {
    bool drive = false;
    bool folder = false;
    std::string text; // "C:\A\B"
};

ModelPath Model(std::string_view p) {
    ModelPath m;
    bool verbatim = false;
    if (p.substr(0, 4) == "\\\\?\\") {
        p.remove_prefix(4);
        verbatim = true;
    }
    if (p.size() < 3 || !((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) || p[1] != ':' ||
        !(p[2] == '\\' || (!verbatim && p[2] == '/')))
        return m;
    m.drive = true;
    std::vector<std::string> stack;
    std::string part;
    bool lastName = false;
    auto flush = [&] {
        if (part.empty()) return;
        lastName = false;
        if (part == ".") {
        } else if (part == "..") {
            if (!stack.empty()) stack.pop_back();
        } else {
            while (!part.empty() && (part.back() == '.' || part.back() == ' '))
                part.pop_back();
            if (!part.empty()) {
                stack.push_back(Upper(part));
                lastName = true;
            }
        }
        part.clear();
    };
    for (char c : p.substr(3)) {
        if (c == '\\' || c == '/') {
            flush();
            lastName = false;
        } else {
            part += c;
        }
    }
    flush();
    m.folder = stack.empty() || !lastName;
    m.text = Upper(p.substr(0, 2));
    for (const std::string& s : stack)
        m.text += "\\" + s;
    return m;
}

bool Inside(const std::string& path, const std::string& folder) {
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              path[folder.size()] == '\\');
}

// What no accepted file may have the scan list.
bool RefusedByModel(const std::string& listed) {
    const ModelPath m = Model(listed);
    if (!m.drive || m.folder) return true;
    static const char* exact[] = {
        "C:\\WINDOWS",
        "C:\\WINDOWS\\SYSTEM32",
        "C:\\USERS",
        "C:\\USERS\\ANN",
        "C:\\USERS\\ANN\\DESKTOP",
        "C:\\USERS\\ANN\\APPDATA\\ROAMING",
        "C:\\PROGRAM FILES",
        "C:\\WINDOWS\\SYSTEM32\\KERNEL32.DLL",
        "C:\\WINDOWS\\SYSTEM32\\NTOSKRNL.EXE",
        "C:\\WINDOWS\\EXPLORER.EXE",
        "C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE",
    };
    for (const char* e : exact)
        if (m.text == e) return true;
    for (const char* folder : {"C:\\PROGRAM FILES\\TOLLIVAR", "C:\\USERS\\ANN\\DOCUMENTS"})
        if (Inside(m.text, folder)) return true;
    const std::string name = m.text.substr(m.text.rfind('\\') + 1);
    return name == "TOLLGUARD.EXE" || name == "DEF.UAS" || name == "COUNT.UAS";
}

bool NeverEnded(const std::string& image) {
    const std::string u = Upper(image);
    for (const char* n : {"SVCHOST.EXE", "EXPLORER.EXE", "SIHOST.EXE", "CTFMON.EXE", "DWM.EXE", "CSRSS.EXE",
                          "LSASS.EXE", "WINLOGON.EXE", "TOLLGUARD.EXE", "CONHOST.EXE"})
        if (u == n) return true;
    return u.find_first_of("\\/:") != std::string::npos;
}

// The model's decision of the encoding: 8-bit without zeros, or UTF-16 of ASCII characters.
std::optional<std::string> ModelText(std::string_view b) {
    if (b.size() >= 2 && ((b[0] == '\xFF' && b[1] == '\xFE') || (b[0] == '\xFE' && b[1] == '\xFF'))) {
        const bool little = b[0] == '\xFF';
        if (b.size() % 2 != 0) return std::nullopt;
        std::string text;
        for (std::size_t i = 2; i < b.size(); i += 2) {
            const unsigned char lo = static_cast<unsigned char>(little ? b[i] : b[i + 1]);
            const unsigned char hi = static_cast<unsigned char>(little ? b[i + 1] : b[i]);
            if (hi != 0 || lo == 0 || lo > 0x7F) return std::nullopt;
            text += static_cast<char>(lo);
        }
        return text;
    }
    if (b.find('\0') != std::string_view::npos) return std::nullopt;
    return std::string(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tollivar;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DefinitionsSafety safety;
    safety.environment = Lookup;
    safety.installFolder = "C:\\Program Files\\Tollivar\\";
    safety.isProtectedSystemFile = [](const std::string& path) -> std::optional<bool> {
        if (Upper(path) == "C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE") return true;
        return std::nullopt;
    };
    const DefinitionsCheck check = CheckDefinitionsText(bytes, safety);
    if (check.problem != DefinitionsProblem::None) {
        if (DescribeProblem(check).empty()) std::abort();
        return 0;
    }

    // Accepted: the model reads the same text, and the scan reads what the check read.
    const std::optional<std::string> modelText = ModelText(bytes);
    if (!modelText) std::abort();
    const DefinitionsText decoded = DecodeDefinitionsFile(bytes);
    if (decoded.text != *modelText) std::abort();

    const ProfileText profile = ProfileText::Parse(decoded.text);
    DefinitionScanHooks hooks;
    hooks.read = [&](const std::string& section, const std::string& key) {
        return profile.Read(section, key);
    };
    hooks.environment = Lookup;
    hooks.fileExists = [](const std::string&) { return true; };
    hooks.findProcess = [](const std::string& image) { return "[1] - " + image; };
    std::size_t names = 0;
    hooks.showStatus = [&](const std::string&) { ++names; };
    hooks.addRow = [&](const ScanRow& row) {
        if (row.kind == kKindFile && RefusedByModel(row.infection)) std::abort();
        if (row.kind == kKindProcess && NeverEnded(row.infection.substr(6))) std::abort();
    };
    RunDefinitionScan(hooks);
    if (names != check.threats + 1) std::abort(); // each threat's name, then the closing text
    return 0;
}
