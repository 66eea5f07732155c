// Windows built in code from one table of controls: each row names the control's id, kind, English
// translation key and its place in twips (1/1440 inch). Creation, layout at any DPI and translation
// all walk the same table, and its order is the tab order.
#pragma once
#include <windows.h>

#include <span>

namespace velmora::ui {

enum class Kind {
    Frame,         // group box
    Label,         // static text
    EditCombo,     // combo box with an editable text
    DropDownList,  // combo box whose text can only be chosen from its list
    ImageCombo,    // drop-down list with a picture per item (ComboBoxEx)
    Edit,          // multi-line text box
    ReadOnlyText,  // multi-line, read-only, both scroll bars
    Button,        // push button (a picture can be added)
    DefaultButton, // the same, pressed by Enter
    DefaultSplit,  // the default button with an arrow for a menu of related actions (BCN_DROPDOWN)
    Check,         // check box
    Option,        // option button; options that follow each other form one group
    Picture,       // drawn by its window (OnDrawItem)
    Link,          // a text link (SysLink)
};

struct Control {
    int id;
    Kind kind;
    const wchar_t* key;      // English text, translated when the window is; nullptr: not translated
    int x, y, width, height; // twips; inside a frame, relative to it
    int frame = 0;           // the id of the frame the control lies in, or 0
};

// Creates the controls in table order; each control with a key carries it for the translation and
// shows it until the window is translated.
void CreateControls(HWND parent, std::span<const Control> rows, UINT dpi);
// Moves every control to its place for the DPI.
void LayoutControls(HWND parent, std::span<const Control> rows, UINT dpi);
// The pixel rectangle of a row in its window's client area (for a combo box, with its open list).
RECT ControlRect(std::span<const Control> rows, const Control& row, UINT dpi);
const Control* FindControl(std::span<const Control> rows, int id);

} // namespace velmora::ui
