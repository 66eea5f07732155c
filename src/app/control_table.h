// Windows built in code from one table of controls: each row names the control's id, kind,
// English translation key, the caption as laid out (before translation) and its place in twips.
// Creation, layout at any DPI and translation all walk the same table.
#pragma once
#include "platform/handles.h"

#include <span>

namespace velmora::app {

enum class ControlKind {
    Frame,         // group box
    Label,         // static text
    EditCombo,     // combo box with an editable text
    ImageCombo,    // drop-down list with a picture per item (ComboBoxEx)
    Edit,          // multi-line text box
    ReadOnlyText,  // multi-line, read-only, both scroll bars
    PictureButton, // push button with a picture and a caption
    DefaultButton, // the same, pressed by Enter
    Picture,       // drawn by its parent (WM_DRAWITEM)
    Link,          // a text link (SysLink)
};

struct ControlRow {
    int id;
    ControlKind kind;
    const wchar_t* name;          // the control's name, for reading the table
    const wchar_t* key;           // English translation key; nullptr when the control is not translated
    const wchar_t* caption;       // caption as laid out, shown until the window is translated
    int left, top, width, height; // twips; inside a frame, relative to it
    int frameId;                  // 0, or the id of the frame the control lies in
};

// Creates the controls in table order (which is also the tab order); each control with a key
// carries it for the translation.
void CreateControls(HWND parent, std::span<const ControlRow> rows, UINT dpi);
// Moves every control to its place for the DPI.
void LayoutControls(HWND parent, std::span<const ControlRow> rows, UINT dpi);
// The pixel rectangle of a row in its parent's client area.
RECT ControlRect(std::span<const ControlRow> rows, const ControlRow& row, UINT dpi);
// Shows the window's captions in the current language.
void TranslateControls(HWND parent);

} // namespace velmora::app
