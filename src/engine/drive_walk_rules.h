// The per-entry rules of the removable-drive walk: which entries are skipped, entered or examined,
// which extensions count, and where the folder-named executable lies. Platform-free.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tollivar {

// The file attribute bits the walk looks at (the platform's values).
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;

// The listed extensions in the order they are compared, each as a "*" pattern.
inline constexpr std::array<std::string_view, 26> kListedExtensions = {
    "*.VMX", "*.EXE", "*.COM", "*.DLL", "*.HTML", "*.BAT", "*.INF", "*.PIF",  "*.REG",
    "*.LNK", "*.SCR", "*.ASP", "*.JS",  "*.VBS",  "*.WSF", "*.WSH", "*.ASPX", "*.HTT",
    "*.HTM", "*.HTS", "*.JSP", "*.JSE", "*.VB",   "*.VBE", "*.CMD", "*.HTA"};

// The name upper-cased from its last "." to its end with a "*" in front ("archive.tar.exe" gives
// "*.EXE"); empty for a name without a ".".
std::string ExtensionPattern(std::string_view name);

// True when the extension pattern equals one of the listed patterns as a whole.
bool HasListedExtension(std::string_view name);

enum class EntryKind {
    Skipped, // name begins with ".": neither examined nor entered, nor anything inside it
    Link,    // a folder that is a reparse point: not entered, since it may lead off the drive
    Folder,  // entered
    File,    // examined
};

EntryKind ClassifyEntry(std::string_view name, std::uint32_t attributes);

// Inside folder (ending with "\") named name: folder + name + " .exe".
std::string FolderExecutablePath(std::string_view folder, std::string_view name);

// Name of the folder-named executable inside a folder named name.
std::string FolderExecutableName(std::string_view name);

} // namespace tollivar
