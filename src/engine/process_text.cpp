#include "engine/process_text.h"

#include "config/install_paths.h"
#include "config/text_rules.h"

namespace tollivar {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr std::string_view kNameSeparator = " - ";

} // namespace

std::string FormatProcessText(std::uint32_t processId, std::string_view imageName) {
    std::string hex;
    do {
        hex.insert(hex.begin(), kHexDigits[processId & 0xF]);
        processId >>= 4;
    } while (processId != 0);
    std::string text = "[" + hex + "]";
    text.append(kNameSeparator);
    text.append(imageName);
    return CutToBuffer(text);
}

std::optional<ProcessTextParts> ParseProcessText(std::string_view text) {
    if (text.empty() || text.front() != '[' || text.size() > kMaxPathText) return std::nullopt;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view digits = text.substr(1, close - 1);
    if (digits.empty() || digits.size() > 8 || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    std::uint32_t id = 0;
    for (char c : digits) {
        const std::size_t d = kHexDigits.find(c);
        if (d == std::string_view::npos) return std::nullopt;
        id = (id << 4) | static_cast<std::uint32_t>(d);
    }
    std::string_view rest = text.substr(close + 1);
    if (rest.substr(0, kNameSeparator.size()) != kNameSeparator) return std::nullopt;
    rest.remove_prefix(kNameSeparator.size());
    if (rest.empty()) return std::nullopt;
    return ProcessTextParts{id, std::string(rest)};
}

ProcessSnapshot::ProcessSnapshot(std::vector<ProcessEntry> entries) : entries_(std::move(entries)) {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (!entries_[i].imageName.empty()) byUpperName_[ToUpperAscii(entries_[i].imageName)].push_back(i);
}

std::string ProcessSnapshot::FindProcessText(std::string_view name, const ProcessFilter& mayReport) const {
    if (name.empty()) return {};
    const auto found = byUpperName_.find(ToUpperAscii(name));
    if (found == byUpperName_.end()) return {};
    for (std::size_t i : found->second) {
        const ProcessEntry& e = entries_[i];
        if (!mayReport || mayReport(e)) return FormatProcessText(e.processId, e.imageName);
    }
    return {};
}

} // namespace tollivar
