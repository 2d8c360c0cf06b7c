// bin\unscript.bat's PowerShell filter, step for step, with its own regular expressions run by
// std::regex: what the shipped line decides, to hold against the C++ rule. Kept to short lines
// (std::regex recurses per character).
#pragma once

#include <algorithm>
#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "heal/script_host_command.h"

namespace tollivar::test {

inline bool PowerShellEndsScriptHost(const std::string& commandLine, const std::vector<std::string>& drives) {
    static const std::regex word(kCommandWordPattern), quote(R"(\x22)"), prefix(kDevicePrefixPattern),
        letter("^[A-Za-z]:");
    // $words = @([regex]::Matches(...) | ForEach-Object { $_.Value -replace '\x22', '' })
    std::vector<std::string> words;
    for (auto it = std::sregex_iterator(commandLine.begin(), commandLine.end(), word);
         it != std::sregex_iterator(); ++it)
        words.push_back(std::regex_replace(it->str(), quote, ""));
    // $target: -Skip 1, not StartsWith('//'), -First 1, device prefix replaced by ''
    std::vector<std::string> script;
    for (std::size_t n = 1; n < words.size() && script.empty(); ++n)
        if (words[n].rfind("//", 0) != 0) script.push_back(std::regex_replace(words[n], prefix, ""));
    // $target.Count -eq 1 -and -match '^[A-Za-z]:' -and $drives -contains its first two characters
    if (script.size() != 1 || !std::regex_search(script[0], letter)) return false;
    const auto sameIgnoringCase = [&](const std::string& drive) {
        return drive.size() == 2 &&
               std::toupper(static_cast<unsigned char>(drive[0])) ==
                   std::toupper(static_cast<unsigned char>(script[0][0])) &&
               drive[1] == script[0][1];
    };
    return std::any_of(drives.begin(), drives.end(), sameIgnoringCase);
}

} // namespace tollivar::test
