#include "app/update_command_win.h"

#include <shellapi.h>

#include <string>

#include "app/shutdown_win.h"
#include "config/install_paths_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr char kUpdateCaption[] = "Update Tollivar";
constexpr char kUpdateQuestion[] =
    "Tollivar has been designed to work without regular updates.\n\r"
    "This is why it protects both Offline and Online systems effectively.\n\r"
    " \n\r"
    "In order to Update itself, Tollivar will now terminate itself.\n\r"
    "After the Update Wizard has finished updating Tollivar,\n\r"
    "you must restart Tollivar. Continue ?";
constexpr char kUpdateProgram[] = "KVRUpdate.exe";

// ShellExecute reports success with a value above 32.
bool Started(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

} // namespace

void UpdateCommand(HWND mainWindow) {
    if (MessageBoxA(mainWindow, kUpdateQuestion, kUpdateCaption, MB_YESNO) != IDYES) return;

    // The update program rewrites def.uas; the next start-up marks it read-only, hidden and system again.
    const std::string& definitions = Paths().definitionsFile;
    const std::wstring wideDefinitions = WidePath(definitions);
    const DWORD oldAttributes = GetFileAttributesW(wideDefinitions.c_str());
    SetFileAttributesW(wideDefinitions.c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string program = Paths().installFolder + kUpdateProgram;
    if (!Started(
            ShellExecuteW(mainWindow, L"OPEN", WideFromUtf8(program).c_str(), nullptr, nullptr, SW_SHOW))) {
        if (oldAttributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(wideDefinitions.c_str(), oldAttributes);
        const std::string text = "The update program could not be started:\n\r" + program +
                                 "\n\r \n\rTollivar has not been updated and keeps protecting your system.";
        MessageBoxW(mainWindow, WideFromUtf8(text).c_str(), WideFromUtf8(kUpdateCaption).c_str(),
                    MB_ICONWARNING);
        return;
    }
    Sleep(200);
    ShutdownProgram(mainWindow);
}

} // namespace tollivar
