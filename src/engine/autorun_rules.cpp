#include "engine/autorun_rules.h"

#include "config/text_rules.h"
#include "engine/path_form.h"

namespace tollivar {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string ComparablePath(std::string_view path) {
    const NormalPath normal = NormalizePath(path);
    std::string text = ToUpperAscii(normal.text);
    // A drive root compares as its letter ("E:"), so that "E:\x" is inside it.
    if (normal.form == PathForm::Drive && text.size() == 3) text.pop_back();
    return text;
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

bool ProcessImageIsTarget(std::string_view imagePath, std::string_view targetPath,
                          const std::vector<VolumeDrive>& volumes) {
    if (imagePath.empty() || targetPath.empty()) return false;
    std::string image(imagePath);
    constexpr std::string_view kDevicePrefix = "\\DEVICE\\";
    if (ToUpperAscii(imagePath.substr(0, kDevicePrefix.size())) == kDevicePrefix) {
        // A native path names a volume, not a letter: it matches only through a known mapping.
        image.clear();
        for (const VolumeDrive& volume : volumes) {
            const std::size_t n = volume.device.size();
            if (n > kDevicePrefix.size() && imagePath.size() > n && imagePath[n] == '\\' &&
                EqualsUpper(imagePath.substr(0, n), volume.device) && volume.drive.size() == 2 &&
                volume.drive[1] == ':') {
                image = volume.drive + std::string(imagePath.substr(n));
                break;
            }
        }
        if (image.empty()) return false;
    }
    const NormalPath a = NormalizePath(image);
    const NormalPath b = NormalizePath(targetPath);
    // A device form is never a program's image: only drive paths and shares compare.
    const bool comparable = a.form == PathForm::Drive || a.form == PathForm::Unc;
    if (a.form != b.form || !comparable || a.namesFolder || b.namesFolder) return false;
    return EqualsUpper(a.text, b.text);
}

} // namespace tollivar
