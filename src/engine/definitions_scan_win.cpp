#include "engine/definitions_scan_win.h"

#include <windows.h>

#include "win/handles_win.h"
#include "engine/definitions_encoding.h"
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

} // namespace

void RunDefinitionScan(const std::string& definitionsFile, const StatusSink& showStatus, const ScanRowSink& addRow) {
    // The update program decides the encoding with the same rule, so what it accepted reads the same here.
    const DefinitionsText decoded = DecodeDefinitionsFile(ReadWholeFile(definitionsFile));
    ProfileReader read;
    ProfileText parsed;
    if (decoded.encoding == DefinitionsEncoding::Utf16Wide) {
        // Only the platform's own reader knows the code-page form of its characters.
        read = [&](const std::string& section, const std::string& key) {
            char value[512] = {};
            GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, definitionsFile.c_str());
            return std::string(value);
        };
    } else {
        parsed = ProfileText::Parse(decoded.text);
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
