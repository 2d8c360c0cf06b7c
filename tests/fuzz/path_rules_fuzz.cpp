// The path judgements against a small model of how the platform reads a path: whatever a stick's
// autorun.inf or a link hands in, nothing is ever judged "on its drive" unless the platform would open
// it on that very letter.
//
// Input: lines "target", "drive root", "final path", "listed path" (missing lines are empty).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/autorun_rules.h"
#include "engine/path_form.h"
#include "heal/autorun_target_rule.h"
#include "engine/final_path_rules.h"

namespace {

// What the model knows of a path: the letter it opens on (0 for none) and whether it can be a file.
struct Model {
    char letter = 0;
    bool file = false;
};

bool Sep(char c) {
    return c == '/' || c == '\\';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool Alpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<std::string> Split(std::string_view s, bool anySeparator) {
    std::vector<std::string> parts(1);
    for (char c : s) {
        if (anySeparator ? Sep(c) : c == '\\')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool DeviceName(std::string part) {
    const std::size_t cut = part.find_first_of(".:");
    if (cut != std::string::npos) part.resize(cut);
    while (!part.empty() && part.back() == ' ')
        part.pop_back();
    for (char& c : part)
        c = Upper(c);
    static const char* names[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* n : names)
        if (part == n) return true;
    return part.size() == 4 && (part.rfind("COM", 0) == 0 || part.rfind("LPT", 0) == 0) && part[3] >= '1' &&
           part[3] <= '9';
}

// The parts left after the drive root once ".", ".." and trailing dots and blanks are resolved, and
// whether the last of them was a name.
std::vector<std::string> Resolve(std::string_view rest, bool* lastName) {
    std::vector<std::string> stack;
    *lastName = false;
    for (const std::string& raw : Split(rest, true)) {
        if (raw.empty()) continue;
        *lastName = false;
        if (raw == ".") continue;
        if (raw == "..") {
            if (!stack.empty()) stack.pop_back();
            continue;
        }
        std::string part = raw;
        while (!part.empty() && (part.back() == '.' || part.back() == ' '))
            part.pop_back();
        if (part.empty()) continue;
        stack.push_back(part);
        *lastName = true;
    }
    return stack;
}

// After the drive root of a path, does a name remain that is not a device?
bool NamesAFile(std::string_view rest) {
    bool lastName = false;
    const std::vector<std::string> stack = Resolve(rest, &lastName);
    if (stack.empty() || !lastName || Sep(rest.back())) return false;
    return !DeviceName(stack.back());
}

Model Judge(std::string_view p) {
    Model m;
    if (p.size() >= 4 && p.substr(0, 4) == "\\\\?\\") {
        // Verbatim: a drive only when every part is a plain name.
        const std::string_view rest = p.substr(4);
        if (rest.size() < 3 || !Alpha(rest[0]) || rest[1] != ':' || rest[2] != '\\') return m;
        if (rest.find('/') != std::string_view::npos) return m;
        const std::vector<std::string> parts = Split(rest.substr(3), false);
        // A trailing separator names a folder on the letter.
        const bool folder = parts.back().empty();
        for (std::size_t i = 0; i + (folder ? 1 : 0) < parts.size(); ++i)
            if (parts[i].empty() || parts[i] == "." || parts[i] == "..") return m;
        m.letter = Upper(rest[0]);
        m.file = !folder;
        return m;
    }
    // Any other device or object form, a share, a relative path: no letter.
    if (p.size() < 3 || !Alpha(p[0]) || p[1] != ':' || !Sep(p[2])) return m;
    m.letter = Upper(p[0]);
    m.file = NamesAFile(p.substr(3));
    return m;
}

char RootLetter(std::string_view root) {
    // A drive path that resolves to the root itself.
    if (root.size() >= 3 && Alpha(root[0]) && root[1] == ':' && Sep(root[2])) {
        bool lastName = false;
        return Resolve(root.substr(3), &lastName).empty() ? Upper(root[0]) : 0;
    }
    if (root.size() == 7 && root.substr(0, 4) == "\\\\?\\" && Alpha(root[4]) && root[5] == ':' &&
        root[6] == '\\')
        return Upper(root[4]);
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tollivar;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string lines[4];
    std::size_t n = 0;
    for (char c : bytes) {
        if (c == '\n') {
            if (++n == 4) break;
        } else {
            lines[n] += c;
        }
    }
    const std::string& target = lines[0];
    const std::string& root = lines[1];
    const std::string& finalPath = lines[2];
    const std::string& listed = lines[3];

    const Model model = Judge(target);
    const char rootLetter = RootLetter(root);
    const AutorunTargetPlace place =
        PlaceOfAutorunTarget(target, root, "C:\\Windows", "C:\\Program Files\\Tollivar");
    if (place == AutorunTargetPlace::OnItsDrive &&
        (rootLetter == 0 || model.letter != rootLetter || !model.file))
        std::abort();
    // The same target judged from its own letter's root never leaves that letter either.
    const NormalPath normal = NormalizePath(target);
    if (normal.form == PathForm::Drive && model.letter == 0) std::abort();
    if (model.letter != 0 && model.file && normal.form != PathForm::Drive) std::abort();

    // A final path is on the stick only in the verbatim drive form on the stick's letter.
    if (FinalPathIsOnDrive(finalPath, root)) {
        if (finalPath.substr(0, 4) != "\\\\?\\") std::abort();
        const Model opened = Judge(finalPath);
        if (rootLetter == 0 || opened.letter != rootLetter || !opened.file) std::abort();
    }
    if (FinalPathIsListedPath(finalPath, listed)) {
        const Model opened = Judge(finalPath);
        const Model named = Judge(listed);
        if (finalPath.substr(0, 4) != "\\\\?\\" || opened.letter == 0 || opened.letter != named.letter ||
            !named.file)
            std::abort();
    }

    // Two names compare equal only when they open on the same letter (or neither on any).
    if (ProcessImageIsTarget(target, listed)) {
        const Model named = Judge(listed);
        if (model.letter != named.letter) std::abort();
    }
    // The comparable form of a drive path is a fixed point: comparing it again changes nothing. (Not so for
    // a device form or a share, whose normalized text may begin "\\?\" and then read as verbatim.)
    const std::string comparable = ComparablePath(target);
    if (normal.form == PathForm::Drive && !normal.verbatim && ComparablePath(comparable) != comparable)
        std::abort();
    return 0;
}
