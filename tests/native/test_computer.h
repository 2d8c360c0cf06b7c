// A made-up computer for the definitions checks: Ann's profile on C:, Windows in C:\Windows and
// Tollivar in C:\Program Files\Tollivar. The platform calls two of Windows' files protected and cannot
// answer for files under C:\Windows\Temp.
#pragma once

#include <map>
#include <optional>
#include <algorithm>
#include <cctype>
#include <string>

#include "updater/definition_entry_rules.h"

namespace tollivar {

inline DefinitionsSafety TestComputer() {
    static const std::map<std::string, std::string> variables = {
        {"USERPROFILE", "C:\\Users\\ann"},
        {"APPDATA", "C:\\Users\\ann\\AppData\\Roaming"},
        {"LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local"},
        {"TEMP", "C:\\Users\\ann\\AppData\\Local\\Temp"},
        {"SystemRoot", "C:\\Windows"},
        {"WINDIR", "C:\\Windows"},
        {"ProgramData", "C:\\ProgramData"},
        {"ProgramFiles", "C:\\Program Files"},
        {"PUBLIC", "C:\\Users\\Public"},
        {"OneDrive", "D:\\OneDrive"},
    };
    DefinitionsSafety safety;
    safety.environment = [](const std::string& name) -> std::optional<std::string> {
        // The platform's variables are found without regard to case.
        for (const auto& [key, value] : variables)
            if (key.size() == name.size() &&
                std::equal(key.begin(), key.end(), name.begin(), [](char a, char b) {
                    return std::toupper(static_cast<unsigned char>(a)) ==
                           std::toupper(static_cast<unsigned char>(b));
                }))
                return value;
        return std::nullopt;
    };
    safety.installFolder = "C:\\Program Files\\Tollivar\\";
    safety.isProtectedSystemFile = [](const std::string& path) -> std::optional<bool> {
        if (path.rfind("C:\\Windows\\Temp\\", 0) == 0) return std::nullopt;
        return path == "C:\\Windows\\System32\\notepad.exe" ||
               path == "C:\\Program Files\\Windows Mail\\wab.exe";
    };
    return safety;
}

} // namespace tollivar
