#include "engine/path_form.h"

#include <array>
#include <vector>

#include "config/text_rules.h"

namespace tollivar {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string_view TrimTrailingDotsAndBlanks(std::string_view part) {
    while (!part.empty() && (part.back() == '.' || part.back() == ' '))
        part.remove_suffix(1);
    return part;
}

// A name the platform opens as a device in any folder ("E:\x\con.txt" is the console).
bool IsDosDeviceName(std::string_view part) {
    std::string_view base = part.substr(0, part.find_first_of(".:"));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    const std::string upper = ToUpperAscii(base);
    for (std::string_view name : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (upper == name) return true;
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

struct Parts {
    std::vector<std::string_view> parts;
    bool namesFolder = false;
};

// The parts after a root: separators collapsed, "." dropped, ".." never above the root, trailing dots
// and blanks removed.
Parts NormalizeParts(std::string_view rest) {
    Parts out;
    std::size_t start = 0;
    bool lastWasName = false;
    while (start < rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end]))
            ++end;
        const std::string_view raw = rest.substr(start, end - start);
        start = end + 1;
        if (raw.empty()) continue;
        lastWasName = false;
        if (raw == ".") continue;
        if (raw == "..") {
            if (!out.parts.empty()) out.parts.pop_back();
            continue;
        }
        const std::string_view part = TrimTrailingDotsAndBlanks(raw);
        if (part.empty()) continue;
        out.parts.push_back(part);
        lastWasName = true;
    }
    const bool trailingSeparator = !rest.empty() && IsSeparator(rest.back());
    out.namesFolder = out.parts.empty() || !lastWasName || trailingSeparator;
    return out;
}

std::string Join(std::string root, const std::vector<std::string_view>& parts) {
    // A drive's current folder ("E:") takes its first part without a separator.
    const bool driveRelative = root.size() == 2 && root[1] == ':';
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 || (!root.empty() && root.back() != '\\' && !driveRelative)) root += '\\';
        root.append(parts[i]);
    }
    return root;
}

NormalPath Verbatim(std::string_view path) {
    NormalPath out;
    out.verbatim = true;
    out.namesFolder = path.back() == '\\';
    const std::string_view rest = path.substr(4);
    bool clean = rest.size() >= 3 && IsLetter(rest[0]) && rest[1] == ':' && rest[2] == '\\' &&
                 rest.find('/') == std::string_view::npos;
    if (clean) {
        // Every part after the root must be a plain name: the platform takes nothing away here.
        std::size_t start = 3;
        while (clean && start < rest.size()) {
            std::size_t end = rest.find('\\', start);
            if (end == std::string_view::npos) end = rest.size();
            const std::string_view part = rest.substr(start, end - start);
            clean = !part.empty() ? part != "." && part != ".." : end == rest.size();
            start = end + 1;
        }
    }
    if (!clean) {
        out.form = PathForm::Device;
        out.text = std::string(path);
        return out;
    }
    out.form = PathForm::Drive;
    out.text = std::string(rest.size() > 3 && rest.back() == '\\' ? rest.substr(0, rest.size() - 1) : rest);
    out.namesFolder = out.namesFolder || rest.size() == 3;
    return out;
}

} // namespace

NormalPath NormalizePath(std::string_view path) {
    NormalPath out;
    if (path.empty()) return out;
    if (path.substr(0, 4) == "\\\\?\\") return Verbatim(path);
    if (path.substr(0, 4) == "\\??\\") {
        // The object manager's own prefix: passed on untouched.
        out.form = PathForm::Device;
        out.text = std::string(path);
        out.namesFolder = path.back() == '\\';
        return out;
    }

    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        if (path.size() >= 3 && (path[2] == '.' || path[2] == '?') &&
            (path.size() == 3 || IsSeparator(path[3]))) {
            // A device path: its root is the prefix alone, so ".." can take away what follows it.
            const Parts parts = NormalizeParts(path.size() > 4 ? path.substr(4) : std::string_view());
            out.form = PathForm::Device;
            out.text = Join(std::string("\\\\") + path[2] + "\\", parts.parts);
            out.namesFolder = parts.namesFolder;
            return out;
        }
        // UNC: the server and the share form the root.
        std::vector<std::string_view> root;
        std::size_t start = 2;
        while (root.size() < 2 && start < path.size()) {
            std::size_t end = start;
            while (end < path.size() && !IsSeparator(path[end]))
                ++end;
            if (end > start) root.push_back(path.substr(start, end - start));
            start = end + 1;
        }
        const Parts parts = NormalizeParts(start < path.size() ? path.substr(start) : std::string_view());
        out.form = PathForm::Unc;
        out.text = Join("\\\\", root);
        if (!parts.parts.empty()) out.text = Join(out.text, parts.parts);
        out.namesFolder = parts.namesFolder;
        return out;
    }

    std::string root;
    std::string_view rest = path;
    if (path.size() >= 2 && path[1] == ':') {
        const bool absolute = path.size() >= 3 && IsSeparator(path[2]);
        if (!IsLetter(path[0])) {
            // "1:\x" names a DOS device "1:", not a drive.
            out.form = PathForm::Device;
            out.text = std::string(path);
            return out;
        }
        out.form = absolute ? PathForm::Drive : PathForm::Relative;
        root = std::string(path.substr(0, 2)) + (absolute ? "\\" : "");
        rest = path.substr(absolute ? 3 : 2);
    } else if (IsSeparator(path[0])) {
        root = "\\";
        rest = path.substr(1);
    }
    const Parts parts = NormalizeParts(rest);
    if (!parts.parts.empty() && IsDosDeviceName(parts.parts.back())) {
        out.form = PathForm::Device;
        out.text = "\\\\.\\" + ToUpperAscii(TrimTrailingDotsAndBlanks(
                                   parts.parts.back().substr(0, parts.parts.back().find_first_of(".:"))));
        return out;
    }
    out.text = Join(root, parts.parts);
    out.namesFolder = parts.namesFolder;
    return out;
}

char DriveLetterOf(const NormalPath& path) {
    if (path.form != PathForm::Drive || path.text.empty()) return 0;
    const char c = path.text[0];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace tollivar
