#include "engine/definitions_walk.h"

#include <cstdint>

#include "config/text_rules.h"

namespace tollivar {
namespace {

// Every value passes through a 512-byte buffer, whatever the reader hands over.
std::string ReadValue(const DefinitionScanHooks& hooks, const std::string& section, const std::string& key) {
    return hooks.read ? CutToBuffer(hooks.read(section, key)) : std::string();
}

void Show(const DefinitionScanHooks& hooks, std::string_view text) {
    if (hooks.showStatus) hooks.showStatus(AnalyzingText(text));
}

void Add(const DefinitionScanHooks& hooks, std::string_view infection, std::string_view kind,
         std::string_view threatName) {
    if (hooks.addRow) hooks.addRow(MakeScanRow(infection, kind, threatName));
}

} // namespace

std::optional<std::string> ExpandDefinitionPath(std::string_view value,
                                                const EnvironmentLookup& environment) {
    ExpandedValue expanded = ExpandFirstReference(value, environment);
    switch (expanded.outcome) {
    case ReferenceOutcome::NoReference:
    case ReferenceOutcome::Expanded:
        return std::move(expanded.text);
    case ReferenceOutcome::Undefined:
    case ReferenceOutcome::Unclosed:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> ResolveDefinitionPath(std::string_view value, const EnvironmentLookup& environment,
                                                 const FileExistsTest& fileExists) {
    std::optional<std::string> path = ExpandDefinitionPath(value, environment);
    if (!path || path->empty() || !fileExists || !fileExists(*path)) return std::nullopt;
    return path;
}

void RunDefinitionScan(const DefinitionScanHooks& hooks) {
    for (std::uint64_t threat = 1;; ++threat) {
        const std::string section = std::to_string(threat);
        const std::string name = ReadValue(hooks, section, "Th");
        if (name.empty()) break;
        Show(hooks, name);
        for (std::uint64_t j = 1;; ++j) {
            const std::string image = ReadValue(hooks, section, "P" + std::to_string(j));
            if (image.empty()) break;
            const std::string text = hooks.findProcess ? hooks.findProcess(image) : std::string();
            if (!text.empty()) Add(hooks, text, kKindProcess, name);
        }
        for (std::uint64_t j = 1;; ++j) {
            const std::string value = ReadValue(hooks, section, "F" + std::to_string(j));
            if (value.empty()) break;
            if (const auto path = ResolveDefinitionPath(value, hooks.environment, hooks.fileExists))
                Add(hooks, *path, kKindFile, name);
        }
    }
    Show(hooks, kSeekingText);
}

} // namespace tollivar
