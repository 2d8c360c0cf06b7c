#include "updater/definitions_files_win.h"

#include <windows.h>

#include "win/handles_win.h"

namespace tollivar {
namespace {

using UniqueFile = Owned<HANDLE, FileHandleTraits>;

bool WriteWholeFile(const std::string& path, const std::string& text) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size() && FlushFileBuffers(file.get());
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxSize) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string text;
    char buffer[64 * 1024];
    DWORD got = 0;
    while (text.size() <= maxSize) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        text.append(buffer, got);
    }
    if (text.size() > maxSize + 1) text.resize(maxSize + 1);
    return text;
}

ReplaceResult ReplaceDefinitionsFile(const std::string& definitionsFile, const std::string& backupFile,
                                     const std::string& newText) {
    const std::string newFile = definitionsFile + ".new";
    SetFileAttributesA(newFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!WriteWholeFile(newFile, newText)) {
        DeleteFileA(newFile.c_str());
        return ReplaceResult::CannotWriteNew;
    }

    // The program marks def.uas read-only, hidden and system; those marks would stop the copy and the move.
    const DWORD oldAttributes = GetFileAttributesA(definitionsFile.c_str());
    const bool installed = oldAttributes != INVALID_FILE_ATTRIBUTES && !(oldAttributes & FILE_ATTRIBUTE_DIRECTORY);
    auto giveUp = [&](ReplaceResult result) {
        if (installed) SetFileAttributesA(definitionsFile.c_str(), oldAttributes);
        DeleteFileA(newFile.c_str());
        return result;
    };
    if (installed) {
        SetFileAttributesA(definitionsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(backupFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!CopyFileA(definitionsFile.c_str(), backupFile.c_str(), FALSE)) return giveUp(ReplaceResult::CannotKeepBackup);
    }
    if (!MoveFileExA(newFile.c_str(), definitionsFile.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return giveUp(ReplaceResult::CannotReplace);
    SetFileAttributesA(definitionsFile.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return ReplaceResult::Replaced;
}

} // namespace tollivar
