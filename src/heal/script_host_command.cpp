#include "heal/script_host_command.h"

namespace tollivar {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c) {
    return UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z';
}

} // namespace

std::vector<std::string> CommandLineWords(std::string_view commandLine) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < commandLine.size()) {
        if (IsBlank(commandLine[i])) {
            ++i;
            continue;
        }
        std::string word;
        bool quoted = false;
        for (; i < commandLine.size() && (quoted || !IsBlank(commandLine[i])); ++i) {
            if (commandLine[i] == '"')
                quoted = !quoted;
            else
                word += commandLine[i];
        }
        words.push_back(word);
    }
    return words;
}

std::optional<std::string> ScriptArgument(std::string_view commandLine) {
    const std::vector<std::string> words = CommandLineWords(commandLine);
    for (std::size_t n = 1; n < words.size(); ++n) {
        const std::string& word = words[n];
        if (word.rfind("//", 0) == 0) continue;
        const bool devicePrefix = word.size() >= 4 && word[0] == '\\' && word[1] == '\\' &&
                                  (word[2] == '?' || word[2] == '.') && word[3] == '\\';
        return devicePrefix ? word.substr(4) : word;
    }
    return std::nullopt;
}

bool RunsScriptFromDrive(std::string_view commandLine, const std::vector<std::string>& drives) {
    const auto script = ScriptArgument(commandLine);
    if (!script || script->size() < 2 || !IsAsciiLetter((*script)[0]) || (*script)[1] != ':') return false;
    for (const std::string& drive : drives)
        if (drive.size() == 2 && UpperAscii(drive[0]) == UpperAscii((*script)[0]) && drive[1] == ':')
            return true;
    return false;
}

} // namespace tollivar
