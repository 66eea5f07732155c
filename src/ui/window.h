// The one frame every window of the program is built on. A window is a table of controls (see
// control_table.h), a WindowDef and a few named handlers; the frame brings the rest:
// - its class, registered once, and its C++ object kept in the window itself (not in a file-level
//   variable), so that a window can exist twice where that makes sense;
// - one guard around the window procedure: no exception ever leaves it (an error there is shown as
//   a report and never ends the process);
// - dialog behaviour: Enter presses the default button, Esc sends IDCANCEL, Tab, arrows and
//   mnemonics move the focus, and the focus comes back to where it was when the window is
//   activated again (PreTranslate, asked by every message loop);
// - modal runs that disable the owner and enable it again before the window goes;
// - layout, fonts and size at the window's DPI, redone when the DPI changes;
// - translation of the caption and of every control with a key.
//
// Windows are created on the heap with Open or RunModal and delete themselves once destroyed.
#pragma once
#include "platform/handles.h"
#include "ui/control_table.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace velmora::ui {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

// Window styles of the program's kinds of window.
struct Look {
    DWORD style;
    DWORD exStyle;
};
// A main window: caption, close and minimize box, fixed size.
inline constexpr Look kMainLook{WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                WS_EX_CONTROLPARENT};
// A dialog: caption and close box only, fixed size.
inline constexpr Look kDialogLook{WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT};
// A tool window: narrow caption with a close box only, fixed size.
inline constexpr Look kToolLook{WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT};
// A window the user can size.
inline constexpr Look kSizableLook{WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT};
// No caption at all.
inline constexpr Look kBareLook{WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW};

// System cursors by number (IDC_ARROW and IDC_WAIT are not constant expressions).
inline constexpr WORD kArrowCursor = 32512, kWaitCursor = 32514;

struct WindowDef {
    const wchar_t* className;
    const wchar_t* name;       // how error reports name the window, e.g. L"frmMain"
    const wchar_t* captionKey; // the caption: this text, translated when translate is true
    bool translateCaption;
    int width, height; // client area, twips
    Look look;
    std::span<const Control> controls;
    int defaultButton = 0; // the button Enter presses (0: none)
    WORD cursor = kArrowCursor;
    int showCommand = SW_SHOWNORMAL; // how Open shows it
};

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    UINT Dpi() const { return dpi_; }
    int Px(int twips) const;
    const WindowDef& Def() const { return def_; }
    HFONT Font() const { return static_cast<HFONT>(font_.get()); }

    // The frame window behind a handle, or nullptr for any other window.
    static Window* FromHandle(HWND hwnd);

    // As the close box: the window's OnClose decides.
    void Close();
    // Ends a modal run with result (the owner is enabled first), or destroys a modeless window.
    void End(int result = 0);

    // Shows the window's texts in the current language: caption and every control with a key, in
    // the language's reading direction.
    void TranslateWindow();

protected:
    explicit Window(const WindowDef& def) : def_(def) {}
    virtual ~Window();

    // Handlers; each is called inside the frame's guard.
    virtual void OnLoad() {}                    // after controls, fonts and translation
    virtual void OnCommand(int id, int code) {} // IDCANCEL comes with Esc
    virtual LRESULT OnNotify(const NMHDR&) { return 0; }
    virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
    virtual void OnRelayout() {} // after a change of DPI or reading direction
    virtual void OnSize() {}
    virtual void OnClose() { End(); }
    virtual void OnDestroy() {}
    // Any other message; return a result to stop the default handling.
    virtual std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

    // The top-left corner of a new window of that size (default: centred over the owner or on the
    // work area).
    virtual POINT Place(SIZE size);
    // Window size for a client area of the WindowDef's size at dpi.
    SIZE WindowSize(UINT dpi) const;

private:
    template <typename T, typename... A> friend T* Open(HWND owner, A&&... args);
    template <typename T, typename... A> friend int RunModal(HWND owner, A&&... args);
    friend LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;

    // Creates the window hidden: controls, fonts, size, translation, then OnLoad.
    bool Create(HWND owner);
    void Present(int command);
    int RunModalLoop(HWND owner);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void ApplyDpi(UINT dpi);
    void ApplyDirection();

    const WindowDef& def_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    platform::UniqueGdiObject font_;
    HWND lastFocus_ = nullptr;
    HWND modalOwner_ = nullptr; // while a modal run: the owner it disabled
    int* resultSink_ = nullptr; // while a modal run: where End's result goes
    bool ending_ = false;
    bool creating_ = false;
    int result_ = 0;
};

// Opens a window that is not modal and shows it; it lives until it is destroyed. nullptr when it
// could not be created.
template <typename T, typename... A> T* Open(HWND owner, A&&... args) {
    T* window = new T(std::forward<A>(args)...);
    if (!window->Create(owner))
        return nullptr; // deleted by the failed creation
    window->Present(window->def_.showCommand);
    return window;
}

// Runs a window modally: the owner takes no input until it is ended. Returns what End was given
// (0 when it was closed another way or could not be created).
template <typename T, typename... A> int RunModal(HWND owner, A&&... args) {
    T* window = new T(std::forward<A>(args)...);
    if (!window->Create(owner))
        return 0;
    return window->RunModalLoop(owner);
}

// Dialog keys for the program's windows: true when the message was used as one. Every message loop
// asks this before translating and dispatching.
bool PreTranslate(MSG& msg);

// The program's windows that are open now, oldest first.
std::vector<Window*> OpenWindows();
// The open window of type T (the first one), or nullptr.
template <typename T> T* FindOpen() {
    for (Window* window : OpenWindows())
        if (auto* found = dynamic_cast<T*>(window))
            return found;
    return nullptr;
}
// The window that runs modally now (the innermost one), or nullptr.
Window* ActiveModal();
// From now on the message loop ends (WM_QUIT) once no window of the program is left: one that is
// still open (an error report) keeps the program until the user closes it.
void EndWithTheLastWindow();

// The DPI new windows are laid out for instead of the monitor's; 0 to follow the monitor again.
// Only tests use it: Wine cannot change the DPI while a program runs.
void SetDpiOverride(UINT dpi);

// The text of any window or control, and of a combo box's item (empty for no such item).
std::wstring Text(HWND hwnd);
std::wstring ComboItemText(HWND combo, int index);
// A text as shown where mnemonics are not: "&Settings" becomes "Settings", "&&" an "&".
std::wstring WithoutMnemonics(std::wstring text);

// The program's name, the caption of its main window and of every message it shows.
inline constexpr wchar_t kProgramTitle[] = L"Velmora";
// A message box with the program's title; style as MessageBoxW's. Returns the button pressed.
int ShowMessage(HWND owner, const std::wstring& text, UINT style);

// Throws away the keys and clicks that are queued for this thread's windows: input given while a
// window was disabled must not act once it takes input again.
void DiscardQueuedInput();

// Runs a callback handed to Windows (enumeration, subclass, hook): nothing escapes from it. An
// error is reported as the window procedure's errors are, and fallback is returned.
template <typename F, typename R> R Guarded(const wchar_t* where, F&& body, R fallback) noexcept;
void ReportUnexpected(const wchar_t* where) noexcept; // inside a catch block only

template <typename F, typename R> R Guarded(const wchar_t* where, F&& body, R fallback) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        ReportUnexpected(where);
        return fallback;
    }
}

} // namespace velmora::ui
