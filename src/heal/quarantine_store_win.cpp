#include "heal/quarantine_store_win.h"

#include <atomic>
#include <vector>

#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "engine/file_access_win.h"
#include "heal/quarantine_names.h"
#include "heal/quarantine_steps.h"
#include "heal/sha256.h"
#include "win/handles_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr int kNameAttempts = 8;
constexpr DWORD kHashChunk = 64 * 1024;

std::atomic<std::uint32_t> g_nameSequence{0};

void EnsureFolder(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    if (path.empty() || GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return;
    CreateDirectoryW(WidePath(path).c_str(), nullptr);
}

bool FolderOfPathExists(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    std::string folder = path.substr(0, slash + 1);
    const DWORD attributes = GetFileAttributesW(WidePath(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

RecordTime RecordTimeOf(const SYSTEMTIME& time) {
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

class Win32QuarantineFiles : public QuarantineFiles {
  public:
    std::optional<FileContent> Hash(const std::string& path) override { return HashFileContent(path); }
    bool Exists(const std::string& path) override {
        if (GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        const DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    bool WriteNew(const std::string& path, std::string_view bytes) override {
        UniqueFile file(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
        if (!file) return false;
        DWORD written = 0;
        return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size() && FlushFileBuffers(file.get());
    }
    bool RenameNew(const std::string& from, const std::string& to) override {
        return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    Move MoveNew(const std::string& from, const std::string& to) override {
        if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                        MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
            return Move::Done;
        const DWORD error = GetLastError();
        return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Move::NameTaken : Move::Failed;
    }
    void Delete(const std::string& path) override {
        SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(WidePath(path).c_str());
    }
};

} // namespace

std::optional<FileContent> HashFileContent(const std::string& path) {
    UniqueFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    Sha256 hasher;
    std::vector<char> buffer(kHashChunk);
    FileContent content;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer.data(), kHashChunk, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        hasher.Update(buffer.data(), read);
        content.size += read;
    }
    content.sha256 = Sha256Hex(hasher.Final());
    return content;
}

ThreatFileRemoval TakeThreatFile(const std::string& path, bool destroy, const std::string& quarantineFolder,
                                 const std::string& threat) {
    const NoFileRedirection noRedirection;
    ThreatFileRemoval removal;
    if (destroy) {
        removal.removed = DeleteFileW(WidePath(path).c_str()) != FALSE;
        return removal;
    }

    EnsureFolder(quarantineFolder);
    QuarantineRequest request;
    request.path = path;
    request.originalText = path;
    request.threat = threat;
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    GetSystemTime(&utc);
    GetLocalTime(&local);
    request.utc = RecordTimeOf(utc);
    request.local = RecordTimeOf(local);
    request.attempts = kNameAttempts;
    request.destinationFor = [&](int) {
        const std::int32_t suffix =
            QuarantineSuffix(GetTickCount(), g_nameSequence.fetch_add(1), GetCurrentProcessId());
        return QuarantineDestination(quarantineFolder, path, suffix);
    };
    Win32QuarantineFiles files;
    const QuarantineResult result = QuarantineWithRecord(files, request);
    if (result.step == QuarantineStep::Quarantined) {
        removal.removed = true;
        removal.quarantinedPath = result.quarantinedPath;
    }
    return removal;
}

bool RemoveThreatFileTo(const std::string& path, bool destroy, const std::string& quarantineFolder) {
    return TakeThreatFile(path, destroy, quarantineFolder, {}).removed;
}

bool RemoveThreatFile(const std::string& path) {
    return RemoveThreatFileTo(path, Settings().destroyThreats == 1, Paths().quarantineFolder);
}

FileHealOutcome HealThreatFile(const std::string& path, bool destroy, const std::string& quarantineFolder,
                               const std::string& threat, std::string* quarantinedPath) {
    {
        const NoFileRedirection noRedirection;
        if (!SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL)) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND && FolderOfPathExists(path))
                return FileHealOutcome::AlreadyGone;
            return FileHealOutcome::NotHealed;
        }
    }
    const ThreatFileRemoval removal = TakeThreatFile(path, destroy, quarantineFolder, threat);
    if (quarantinedPath) *quarantinedPath = removal.quarantinedPath;
    return removal.removed ? FileHealOutcome::Removed : FileHealOutcome::NotHealed;
}

} // namespace tollivar
