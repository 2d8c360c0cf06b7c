// What the five pages have in common: the handle table of a page, the kinds of control they are made
// of, and the check-box list views of the detection and heal pages.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>

#include "win/module_win.h"

namespace tollivar {

// The handles a page created, by control id within the page's own hundred of ids.
class PageControls {
  public:
    explicit PageControls(int firstId) : firstId_(firstId) {}

    void Add(int id, HWND control);
    HWND Get(int id) const; // null for an id the page does not use
    // ShowWindow on every control in ascending id order: SW_SHOWNORMAL or SW_HIDE. Ids without a
    // control are passed over.
    void Show(bool show) const;

  private:
    int firstId_;
    std::array<HWND, 100> handles_{};
};

enum class ControlKind {
    Text,        // left-aligned static
    CentredText, // centred static
    Icon,        // static showing one of the shell's icons
    Group,       // group box
    Command,     // button whose click goes to the main window: a child of the main window
    CheckBox,    // automatic check box
    Radio,       // automatic radio button
};

enum class ControlFont { None, Normal, Bold };

// One row of a page's control table. Positions are in the panel's client coordinates, except for
// commands, which are children of the main window and placed in its client coordinates.
struct ControlSpec {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    ControlFont font;
    HICON ShellIcons::*icon = nullptr; // icon statics only
};

// Creates one control of a table, sets its font or icon and records it in the page's table.
HWND CreatePageControl(HWND mainWindow, const ControlSpec& spec, PageControls& page);

// A report view with check boxes, grid lines, full-row and single selection, and these columns.
struct ListColumn {
    const char* header;
    int width;
};
HWND CreateCheckListView(int id, int x, int y, int width, int height, const ListColumn* columns, int columnCount,
                         PageControls& page);

// Gives a list view a 16 x 16 small-image list holding one icon. The list view owns the image list
// from then on and destroys it with itself.
void AttachRowIcon(HWND list, HICON icon);

void SetControlFont(HWND control, ControlFont font);

// Sets a status text, cut to the 511 characters a text buffer holds.
void SetControlText(HWND control, std::string_view text);

} // namespace tollivar
