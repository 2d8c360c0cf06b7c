#include "heal/quarantine_names.h"

#include "config/install_paths.h"
#include "config/text_rules.h"

namespace tollivar {

std::string QuarantineFileName(std::string_view threatPath, std::int32_t suffix) {
    std::string name(FileNameOfPath(threatPath));
    name += '.';
    name += std::to_string(suffix);
    name += "qr";
    return name;
}

std::optional<std::string> QuarantineDestination(std::string_view quarantineFolder, std::string_view threatPath,
                                                  std::int32_t suffix) {
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
