// Drives the real program from another process, the way a user would: windows by caption,
// buttons by id, texts, status-bar parts, list-view rows, message boxes, the tray icon and menu.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tollivar::test {

inline constexpr DWORD kDefaultWaitMs = 10000;

// Polls until the condition holds or the time is up; returns the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultWaitMs, DWORD stepMs = 20);

// A started copy of the program; ended (if still running) when the object goes.
class RunningApp {
  public:
    // Starts exePath with the command line: the quoted path, then arguments (e.g. " /b").
    static RunningApp Start(const std::string& exePath, const std::string& arguments = "");
    // The same with WINEDEBUG set to wineDebug for the program. Wine prints those channels on the
    // standard error it inherits from the test (not on a redirected handle).
    static RunningApp StartWithWineDebug(const std::string& exePath, const std::string& wineDebug,
                                         const std::string& arguments = "");
    RunningApp(RunningApp&& other) noexcept;
    RunningApp& operator=(RunningApp&&) = delete;
    RunningApp(const RunningApp&) = delete;
    ~RunningApp();

    bool Started() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    HANDLE Process() const { return process_; }
    bool Running() const;
    // Waits for the process to end; the exit code, or nothing when it is still running.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kDefaultWaitMs) const;
    void Kill();

    // The main dialog ("Tollivar"), once it exists; optionally also visible.
    HWND WaitForMainWindow(bool visible = true, DWORD timeoutMs = kDefaultWaitMs) const;

  private:
    RunningApp(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// A top-level window of the process with this class and caption (either may be null for "any").
HWND FindTopWindow(DWORD pid, const char* className, const char* caption, bool visibleOnly);

// Controls.
HWND Control(HWND parent, int id);
void ClickButton(HWND parent, int id); // posted BM_CLICK: returns at once, even when a box opens
void PostCommand(HWND window, int id); // WM_COMMAND as a menu item or accelerator sends it
std::string WindowText(HWND window);
std::string ControlText(HWND parent, int id);
std::string ClassOf(HWND window);
bool IsShown(HWND window); // visible and not minimised

// Status bar: texts and right edges of the parts, read across processes.
std::vector<std::string> StatusBarTexts(HWND statusBar);
std::vector<int> StatusBarRightEdges(HWND statusBar);

// List views, read across processes.
struct ListRow {
    std::vector<std::string> columns;
    bool checked = false;
    bool selected = false;
};
int ListColumnCount(HWND list);
std::vector<ListRow> ReadListView(HWND list);
// Every row's column texts as the list holds them (UTF-16), read with LVM_GETITEMTEXTW: names outside
// the ANSI code page come back as they are, not as "?".
std::vector<std::vector<std::wstring>> ReadListViewWide(HWND list);
std::vector<std::string> ListColumnTitles(HWND list);
std::vector<int> ListColumnWidths(HWND list);
// Selects one row (and gives it the focus mark) as a click on it would; false when the list refused.
bool SelectListRow(HWND list, int row);
// Appends a row with this text in its first column and, for a check-box list, its check box set.
bool InsertListRow(HWND list, const std::string& text, bool checked);

// Tab controls, read and clicked across processes.
std::vector<std::string> TabTexts(HWND tab);
int TabSelection(HWND tab);
// A left click in the middle of the tab item, as the mouse gives it.
bool ClickTab(HWND tab, int index);

// Message boxes of a process, found by caption.
struct MessageBoxView {
    HWND window = nullptr;
    std::string text;
    std::vector<std::string> buttons; // button texts in window order, e.g. {"&Yes", "&No"}
    bool hasIcon = false;
};
std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, const char* caption, DWORD timeoutMs = kDefaultWaitMs);
std::optional<MessageBoxView> ReadMessageBox(HWND box);
void AnswerMessageBox(HWND box, int buttonId); // IDYES, IDNO, IDOK...

// The tray icon: the shell's callback as a click on the icon would send it.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 5;
void PostTrayClick(HWND mainWindow, UINT mouseMessage); // WM_LBUTTONDOWN or WM_RBUTTONDOWN
// Opens the tray menu with a right click and picks the item at this position among the items
// that can be chosen (separators do not count). False when no menu appeared.
bool PickTrayMenuItem(HWND mainWindow, DWORD pid, int choosablePosition);
// Opens the tray menu and closes it again with Escape.
bool OpenAndCancelTrayMenu(HWND mainWindow, DWORD pid);
// Whether the shell holds a tray icon for this window and id, and its tip text when it can be read.
bool TrayIconExists(HWND window, UINT id = 0);
std::optional<std::string> TrayIconTip(HWND window, UINT id = 0);

// Closing: the caption's close box (WM_CLOSE) or Alt+F4 (the system command).
void PressCloseBox(HWND window);
void PressAltF4(HWND window);
// A key press (down and up) posted to the window that has the keyboard focus, e.g. VK_RETURN.
void PressKey(HWND window, WPARAM key);
// What the caption's minimise box does.
void Minimise(HWND window);

// Saves the screen (or just the area of one window) as <build>/screenshots/<name>.png; returns the
// Windows path written, or empty on failure.
std::string SaveScreenshot(const std::string& name, HWND window = nullptr);

} // namespace tollivar::test
