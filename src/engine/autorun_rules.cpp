#include "engine/autorun_rules.h"

#include <vector>

#include "config/text_rules.h"

namespace tollivar {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string ComparablePath(std::string_view path) {
    std::string p = ToUpperAscii(path);
    for (char& c : p)
        if (c == '/') c = '\\';
    std::string_view rest(p);
    for (std::string_view prefix : {std::string_view("\\\\?\\"), std::string_view("\\??\\")})
        if (rest.substr(0, prefix.size()) == prefix) rest.remove_prefix(prefix.size());
    const bool unc = rest.substr(0, 2) == "\\\\";

    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) end = rest.size();
        std::string_view part = rest.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back(); // never above the drive or share
            continue;
        }
        while (!part.empty() && (part.back() == '.' || part.back() == ' '))
            part.remove_suffix(1);
        if (!part.empty()) parts.push_back(part);
    }
    std::string out = unc ? "\\\\" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += '\\';
        out.append(parts[i]);
    }
    return out;
}

std::string AutorunInfPath(std::string_view root) {
    return std::string(root) + "autorun.inf";
}

std::string CutOpenArguments(std::string_view value) {
    const std::size_t slash = value.find('/', 1);
    if (slash != std::string_view::npos) value = value.substr(0, slash);
    while (!value.empty() && IsBlank(value.back()))
        value.remove_suffix(1);
    if (value.size() >= 2 && value.front() == '"') {
        const std::size_t close = value.find('"', 1);
        if (close != std::string_view::npos) value = value.substr(1, close - 1);
    }
    return std::string(value);
}

AutorunFinding ResolveAutorunOpen(std::string_view root, std::string_view openValue,
                                  const EnvironmentLookup& environment) {
    std::string value = CutOpenArguments(openValue);
    if (value.empty()) return {};
    if (value.find(':') == std::string::npos) {
        // An undefined variable still leaves a finding: the entry names something to start.
        value = ExpandFirstReference(value, environment).text;
        if (value.empty()) return {};
        if (value.find(':') == std::string::npos) value = std::string(root) + value;
    }
    AutorunFinding finding;
    finding.infPath = AutorunInfPath(root);
    const std::size_t lastSlash = value.rfind('\\');
    finding.targetName = lastSlash == std::string::npos ? value : value.substr(lastSlash + 1);
    finding.targetPath = std::move(value);
    return finding;
}

bool ProcessImageIsTarget(std::string_view imagePath, std::string_view targetPath) {
    if (imagePath.empty() || targetPath.empty()) return false;
    const std::string image = ComparablePath(imagePath);
    return !image.empty() && image == ComparablePath(targetPath);
}

} // namespace tollivar
