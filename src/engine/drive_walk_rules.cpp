#include "engine/drive_walk_rules.h"

#include "config/text_rules.h"

namespace tollivar {

std::string ExtensionPattern(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return "*" + ToUpperAscii(name.substr(dot));
}

bool HasListedExtension(std::string_view name) {
    const std::string pattern = ExtensionPattern(name);
    if (pattern.empty()) return false;
    for (std::string_view listed : kListedExtensions)
        if (pattern == listed) return true;
    return false;
}

EntryKind ClassifyEntry(std::string_view name, std::uint32_t attributes) {
    if (name.empty() || name.front() == '.') return EntryKind::Skipped;
    if ((attributes & kAttributeDirectory) == 0) return EntryKind::File;
    return (attributes & kAttributeReparsePoint) != 0 ? EntryKind::Link : EntryKind::Folder;
}

std::string FolderExecutableName(std::string_view name) {
    return std::string(name) + " .exe";
}

std::string FolderExecutablePath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path.append(name);
    path.append(" .exe");
    return path;
}

} // namespace tollivar
