#include "engine/definitions_scan_win.h"

#include <windows.h>

#include "win/handles_win.h"
#include "engine/definitions_walk.h"
#include "engine/file_access_win.h"
#include "engine/process_lookup_win.h"
#include "engine/profile_text.h"

namespace tollivar {
namespace {

std::string ReadWholeFile(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string content;
    char buffer[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    return content;
}

bool IsUtf16(const std::string& content) {
    return content.size() >= 2 && ((content[0] == '\xFF' && content[1] == '\xFE') ||
                                   (content[0] == '\xFE' && content[1] == '\xFF'));
}

} // namespace

void RunDefinitionScan(const std::string& definitionsFile, const StatusSink& showStatus, const ScanRowSink& addRow) {
    const std::string content = ReadWholeFile(definitionsFile);
    ProfileReader read;
    ProfileText parsed;
    if (IsUtf16(content)) {
        // A Unicode file is left to the platform's own reader, key by key.
        read = [&](const std::string& section, const std::string& key) {
            char value[512] = {};
            GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, definitionsFile.c_str());
            return std::string(value);
        };
    } else {
        parsed = ProfileText::Parse(content);
        read = [&](const std::string& section, const std::string& key) { return parsed.Read(section, key); };
    }
    // One snapshot serves the whole walk; each match is still checked for full access when found.
    const ProcessSnapshot processes = TakeProcessSnapshot();
    DefinitionScanHooks hooks;
    hooks.read = read;
    hooks.environment = EnvironmentValue;
    // Most listed files are absent: one listing per folder answers those without opening each.
    ListedExistence listedExistence(ListFolderNames, FileExists);
    hooks.fileExists = [&](const std::string& path) { return listedExistence(path); };
    hooks.findProcess = [&](const std::string& name) {
        return processes.FindProcessText(
            name, [](const ProcessEntry& entry) { return UserControlsProcess(entry.processId); });
    };
    hooks.showStatus = showStatus;
    hooks.addRow = addRow;
    RunDefinitionScan(hooks);
}

std::string ReadDefinitionsVersion(const std::string& definitionsFile) {
    char buffer[512] = {};
    GetPrivateProfileStringA("INFO", "Version", "", buffer, sizeof buffer, definitionsFile.c_str());
    return buffer;
}

} // namespace tollivar
