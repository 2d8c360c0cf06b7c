// The bench's stick inserter: adds a removable drive through Wine's mount manager and tells every
// top-level window it arrived, or removes it and tells them it went, as Windows does for a real stick.
//   mount_drive add H <unix folder>
//   mount_drive remove H
#include <windows.h>
#include <dbt.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "mount_manager_win.h"

int main(int argc, char** argv) {
    const bool add = argc == 4 && std::strcmp(argv[1], "add") == 0;
    const bool remove = argc == 3 && std::strcmp(argv[1], "remove") == 0;
    const char letter =
        argc >= 3 ? static_cast<char>(std::toupper(static_cast<unsigned char>(argv[2][0]))) : 0;
    if ((!add && !remove) || letter < 'C' || letter > 'Z' || argv[2][1] != '\0') {
        std::fprintf(stderr, "usage: mount_drive add LETTER UNIX_FOLDER | mount_drive remove LETTER\n");
        return 2;
    }
    std::string error;
    if (add ? !tollivar::test::DefineRemovableDrive(letter, argv[3], &error)
            : !tollivar::test::RemoveDefinedDrive(letter, &error)) {
        std::fprintf(stderr, "mount_drive: %s\n", error.c_str());
        return 1;
    }
    tollivar::test::AnnounceVolume(letter, add ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE);
    return 0;
}
