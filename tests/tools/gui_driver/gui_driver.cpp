#include "gui_driver.h"

#include "platform/handles.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <thread>

namespace velmora::gui {
namespace {

// A window of a stuck process must fail a test, not hang it.
constexpr UINT kSendTimeoutMs = 5000;

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0, LRESULT failed = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return failed;
    return static_cast<LRESULT>(result);
}

DWORD Style(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
}

bool IsClass(HWND hwnd, const wchar_t* className) {
    return _wcsicmp(ClassName(hwnd).c_str(), className) == 0;
}

bool IsComboBoxEx(HWND hwnd) {
    return IsClass(hwnd, WC_COMBOBOXEXW);
}

// The combo box that holds the list: for a ComboBoxEx its inner one.
HWND ListCombo(HWND combo) {
    if (IsComboBoxEx(combo))
        return reinterpret_cast<HWND>(Send(combo, CBEM_GETCOMBOCONTROL));
    return combo;
}

// The edit a user types into: an edit itself, the edit of an editable combo box or ComboBoxEx.
HWND TypingEdit(HWND control) {
    if (IsClass(control, L"Edit"))
        return control;
    if (IsComboBoxEx(control))
        return reinterpret_cast<HWND>(Send(control, CBEM_GETEDITCONTROL));
    const DWORD kind = Style(control) & (CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST);
    if (IsClass(control, WC_COMBOBOXW) && kind != CBS_DROPDOWNLIST)
        return FindWindowExW(control, nullptr, L"Edit", nullptr);
    return nullptr;
}

void NotifyParent(HWND control, WORD code) {
    Send(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
         reinterpret_cast<LPARAM>(control));
}

// Calls visit for every top-level window (parent nullptr) or every descendant of parent until it
// returns false; the callback lets no exception out.
template <typename Visit> void ForEachWindow(HWND parent, Visit visit) {
    WNDENUMPROC proc = [](HWND hwnd, LPARAM context) -> BOOL {
        try {
            return (*reinterpret_cast<Visit*>(context))(hwnd) ? TRUE : FALSE;
        } catch (...) {
            return FALSE;
        }
    };
    if (parent)
        EnumChildWindows(parent, proc, reinterpret_cast<LPARAM>(&visit));
    else
        EnumWindows(proc, reinterpret_cast<LPARAM>(&visit));
}

bool IsHelperWindow(const std::wstring& className) {
    return className == L"IME" || className == L"MSCTFIME UI";
}

} // namespace

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className, const wchar_t* title) {
    std::vector<HWND> found;
    ForEachWindow(nullptr, [&](HWND hwnd) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (pid != 0 && owner != pid)
            return true;
        std::wstring cls = ClassName(hwnd);
        if (className ? cls != className : IsHelperWindow(cls))
            return true;
        if (title) {
            // The caption the system keeps: no message, so a hung window cannot block the search.
            wchar_t text[512] = L"";
            GetWindowTextW(hwnd, text, 512);
            if (std::wstring(text) != title)
                return true;
        }
        found.push_back(hwnd);
        return true;
    });
    return found;
}

HWND FindTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title) {
    auto windows = TopWindows(pid, className, title);
    return windows.empty() ? nullptr : windows.front();
}

HWND WaitForTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title,
                      std::chrono::milliseconds timeout) {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopWindows(pid, className, title))
                if (IsWindowVisible(hwnd))
                    return (result = hwnd) != nullptr;
            return false;
        },
        timeout);
    return result;
}

HWND Control(HWND parent, int id) {
    HWND found = nullptr;
    // Depth first in z order: a ComboBoxEx comes before its inner controls that share its id.
    ForEachWindow(parent, [&](HWND hwnd) {
        if (GetDlgCtrlID(hwnd) == id)
            found = hwnd;
        return found == nullptr;
    });
    return found;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = L"";
    int n = GetClassNameW(hwnd, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

std::wstring Text(HWND hwnd) {
    if (!IsWindow(hwnd))
        return {};
    LRESULT length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0, -1);
    if (length < 0) {
        wchar_t caption[512] = L"";
        GetWindowTextW(hwnd, caption, 512);
        return caption;
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

bool IsVisible(HWND hwnd) {
    return IsWindow(hwnd) && (Style(hwnd) & WS_VISIBLE) != 0;
}
bool IsEnabled(HWND hwnd) {
    return IsWindow(hwnd) && IsWindowEnabled(hwnd);
}

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

bool IsUsable(HWND control) {
    if (!IsWindow(control) || !IsWindowVisible(control) || !IsWindowEnabled(control))
        return false;
    HWND top = GetAncestor(control, GA_ROOT);
    return top && IsWindowEnabled(top);
}

bool SetText(HWND control, const std::wstring& text) {
    if (!IsUsable(control))
        return false;
    HWND edit = TypingEdit(control);
    if (!edit || !IsUsable(edit) || (Style(edit) & ES_READONLY))
        return false;
    if (!Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        return false;
    // A single-line edit reports EN_CHANGE for WM_SETTEXT by itself, and so does the edit a
    // ComboBoxEx made (which turns it into CBN_EDITCHANGE). A multi-line edit and the edit of a plain
    // combo box stay silent, so their parent is told here, as typing would; the combo box then
    // sends CBN_EDITCHANGE itself.
    const bool silent = edit == control ? (Style(edit) & ES_MULTILINE) != 0 : IsClass(control, WC_COMBOBOXW);
    if (silent)
        NotifyParent(edit, EN_CHANGE);
    return true;
}

int ComboCount(HWND combo) {
    return static_cast<int>(Send(ListCombo(combo), CB_GETCOUNT, 0, 0, CB_ERR));
}

std::wstring ComboItemText(HWND combo, int index) {
    if (index < 0 || index >= ComboCount(combo))
        return {};
    if (IsComboBoxEx(combo))
        return {}; // its items live in the other process's memory, out of a message's reach
    LRESULT length = Send(combo, CB_GETLBTEXTLEN, index, 0, CB_ERR);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = Send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()), CB_ERR);
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    int count = ComboCount(combo);
    for (int i = 0; i < count; ++i)
        items.push_back(ComboItemText(combo, i));
    return items;
}

int ComboSelected(HWND combo) {
    return static_cast<int>(Send(ListCombo(combo), CB_GETCURSEL, 0, 0, CB_ERR));
}

bool ComboSelect(HWND combo, int index) {
    if (!IsUsable(combo) || index < 0 || index >= ComboCount(combo))
        return false;
    // CB_SETCURSEL on the ComboBoxEx also updates what it shows; the selection change then travels
    // the way a user's would: the inner combo box tells the ComboBoxEx, which tells its parent.
    if (Send(combo, CB_SETCURSEL, index, 0, CB_ERR) != index)
        return false;
    NotifyParent(ListCombo(combo), CBN_SELCHANGE);
    return true;
}

bool Click(HWND button) {
    if (!IsUsable(button))
        return false;
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

void Close(HWND hwnd) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
}

} // namespace velmora::gui
