#include "engine/definitions_scan_win.h"

#include <windows.h>

#include "win/handles_win.h"
#include "win/wide_text_win.h"
#include "engine/definitions_encoding.h"
#include "engine/definitions_walk.h"
#include "engine/file_access_win.h"
#include "engine/process_lookup_win.h"
#include "engine/profile_text.h"

namespace tollivar {
namespace {

std::string ReadWholeFile(const std::string& path) {
    UniqueFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string content;
    char buffer[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        content.append(buffer, got);
    return content;
}

} // namespace

void RunDefinitionScan(const std::string& definitionsFile, const StatusSink& showStatus,
                       const ScanRowSink& addRow) {
    // The update program decides the encoding with the same rule, so what it accepted reads the same here.
    const DefinitionsText decoded = DecodeDefinitionsFile(ReadWholeFile(definitionsFile));
    ProfileReader read;
    ProfileText parsed;
    if (decoded.encoding == DefinitionsEncoding::Utf16Wide) {
        // Only the platform's own reader knows the code-page form of its characters.
        read = [&](const std::string& section, const std::string& key) {
            wchar_t value[512] = {};
            GetPrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(), L"", value,
                                     512, WidePath(definitionsFile).c_str());
            return Utf8FromWide(value);
        };
    } else {
        // The file's own bytes are of the ANSI code page; the walk's texts are UTF-8.
        parsed = ProfileText::Parse(decoded.text);
        read = [&](const std::string& section, const std::string& key) {
            return Utf8FromAnsi(parsed.Read(section, key));
        };
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
    wchar_t buffer[512] = {};
    GetPrivateProfileStringW(L"INFO", L"Version", L"", buffer, 512, WidePath(definitionsFile).c_str());
    return Utf8FromWide(buffer);
}

} // namespace tollivar
