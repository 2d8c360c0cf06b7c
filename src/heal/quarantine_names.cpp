#include "heal/quarantine_names.h"

#include "config/install_paths.h"
#include "config/text_rules.h"

namespace tollivar {

bool IsForbiddenInFileName(char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}

bool IsReservedDeviceName(std::string_view fileName) {
    std::string_view base = fileName.substr(0, fileName.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    const std::string upper = ToUpperAscii(base);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (upper == device) return true;
    if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0))
        return false;
    const std::string_view digit = std::string_view(upper).substr(3);
    // Windows counts the superscript digits one, two and three (UTF-8 here) as digits too.
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool IsPlainFileName(std::string_view name) {
    if (name.find_first_not_of(". ") == std::string_view::npos) return false;
    for (char c : name)
        if (IsForbiddenInFileName(c)) return false;
    return !IsReservedDeviceName(name);
}

std::string QuarantineFileName(std::string_view threatPath, std::int32_t suffix) {
    std::string name(FileNameOfPath(threatPath));
    for (char& c : name)
        if (IsForbiddenInFileName(c)) c = '_';
    name += '.';
    name += std::to_string(suffix);
    name += "qr";
    if (IsReservedDeviceName(name)) name.insert(name.begin(), '_');
    return name;
}

std::optional<std::string> QuarantineDestination(std::string_view quarantineFolder,
                                                 std::string_view threatPath, std::int32_t suffix) {
    std::string destination(quarantineFolder);
    destination += QuarantineFileName(threatPath, suffix);
    if (destination.size() > kMaxPathText) return std::nullopt;
    return destination;
}

std::int32_t QuarantineSuffix(std::uint32_t tickCount, std::uint32_t sequence, std::uint32_t processId) {
    // A 32-bit finaliser: every input bit reaches every output bit.
    std::uint32_t x = tickCount ^ (sequence * 0x9E3779B9u) ^ (processId << 16) ^ processId;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return static_cast<std::int32_t>(x);
}

std::string_view OriginalNameOfQuarantined(std::string_view quarantinedName) {
    const std::size_t dot = quarantinedName.rfind('.');
    return dot == std::string_view::npos ? quarantinedName : quarantinedName.substr(0, dot);
}

} // namespace tollivar
