#include "mount_manager_win.h"

#include <dbt.h>
#include <winioctl.h>

#include <cctype>
#include <cstring>
#include <vector>

namespace tollivar::test {
namespace {

// Wine's request to define a drive (newer than the layout MinGW's headers carry): the strings follow
// the header, found by their offsets from its start; the mount point is a Unix path in bytes.
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
static_assert(sizeof(UnixDriveRequest) == 32, "the mount manager reads this layout");

constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

std::string LastError(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

bool SendDefine(char letter, ULONG type, const std::string& unixFolder, std::string* error) {
    std::vector<char> buffer(sizeof(UnixDriveRequest) + unixFolder.size() + 1, '\0');
    UnixDriveRequest request{};
    request.size = static_cast<ULONG>(buffer.size());
    request.type = type;
    request.letter = static_cast<WCHAR>(std::tolower(static_cast<unsigned char>(letter)));
    if (!unixFolder.empty()) {
        request.mountPointOffset = sizeof(UnixDriveRequest);
        std::memcpy(buffer.data() + sizeof request, unixFolder.c_str(), unixFolder.size() + 1);
    }
    std::memcpy(buffer.data(), &request, sizeof request);

    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) {
        if (error) *error = LastError("opening the mount manager");
        return false;
    }
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    if (!ok && error) *error = LastError("defining the drive");
    CloseHandle(manager);
    return ok != FALSE;
}

} // namespace

bool DefineRemovableDrive(char letter, const std::string& unixFolder, std::string* error) {
    return SendDefine(letter, DRIVE_REMOVABLE, unixFolder, error);
}

bool RemoveDefinedDrive(char letter, std::string* error) {
    return SendDefine(letter, DRIVE_NO_ROOT_DIR, {}, error);
}

void AnnounceVolume(char letter, WPARAM event, UINT timeoutMs) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (std::toupper(static_cast<unsigned char>(letter)) - 'A');
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                        SMTO_ABORTIFHUNG, timeoutMs, &answer);
}

} // namespace tollivar::test
