// A script host's command line, as a worm may set it: the C++ rule and unscript.bat's PowerShell
// filter (its rendition with the same regular expressions) decide alike, and the script argument is
// always one of the command line's words.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../native/script_host_rendition.h"
#include "heal/script_host_command.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tollivar;
    // std::regex recurses per character: the rendition takes short lines only.
    if (size > 300) return 0;
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> drives = {"E:", "g:"};

    const auto words = CommandLineWords(line);
    for (const auto& word : words)
        Check(word.find('"') == std::string::npos);
    const auto script = ScriptArgument(line);
    if (script) {
        const bool isWord = std::any_of(words.begin() + 1, words.end(), [&](const std::string& w) {
            return w == *script ||
                   (w.size() == script->size() + 4 && w.compare(4, std::string::npos, *script) == 0);
        });
        Check(isWord);
    }
    const bool ends = RunsScriptFromDrive(line, drives);
    Check(ends == test::PowerShellEndsScriptHost(line, drives));
    if (ends) Check(script && script->size() >= 2 && (*script)[1] == ':');
    return 0;
}
