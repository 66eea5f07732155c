#include "gui_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <thread>

namespace velmora::gui {
namespace {

// A window of a stuck process must fail a test, not hang it.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0, LRESULT failed = 0) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &result)
               ? static_cast<LRESULT>(result)
               : failed;
}

DWORD Style(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
}
bool IsClass(HWND hwnd, const wchar_t* className) {
    return _wcsicmp(ClassName(hwnd).c_str(), className) == 0;
}

// The combo box that holds the list: for a ComboBoxEx its inner one.
HWND ListCombo(HWND combo) {
    return IsClass(combo, WC_COMBOBOXEXW) ? reinterpret_cast<HWND>(Send(combo, CBEM_GETCOMBOCONTROL)) : combo;
}

// The edit a user types into: an edit itself, the edit of an editable combo box or ComboBoxEx.
HWND TypingEdit(HWND control) {
    if (IsClass(control, L"Edit"))
        return control;
    if (IsClass(control, WC_COMBOBOXEXW))
        return reinterpret_cast<HWND>(Send(control, CBEM_GETEDITCONTROL));
    const DWORD kind = Style(control) & (CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST);
    return IsClass(control, WC_COMBOBOXW) && kind != CBS_DROPDOWNLIST
               ? FindWindowExW(control, nullptr, L"Edit", nullptr)
               : nullptr;
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
            return (*reinterpret_cast<Visit*>(context))(hwnd);
        } catch (...) {
            return FALSE;
        }
    };
    if (parent)
        EnumChildWindows(parent, proc, reinterpret_cast<LPARAM>(&visit));
    else
        EnumWindows(proc, reinterpret_cast<LPARAM>(&visit));
}

// The caption the system keeps: no message, so a hung window cannot block.
std::wstring Caption(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// A text of length chars fetched by message (WM_GETTEXT, CB_GETLBTEXT).
std::wstring Fetch(HWND hwnd, UINT msg, WPARAM wp, LRESULT length) {
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = Send(hwnd, msg, wp, reinterpret_cast<LPARAM>(text.data()), -1);
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    for (auto deadline = std::chrono::steady_clock::now() + timeout; !condition();
         std::this_thread::sleep_for(10ms))
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    return true;
}

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className, const wchar_t* title) {
    std::vector<HWND> found;
    ForEachWindow(nullptr, [&](HWND hwnd) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        std::wstring cls = ClassName(hwnd);
        bool helper = cls == L"IME" || cls == L"MSCTFIME UI";
        if ((pid == 0 || owner == pid) && (className ? cls == className : !helper) &&
            (!title || Caption(hwnd) == title))
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
    WaitFor(
        [&] {
            auto windows = TopWindows(pid, className, title);
            auto shown = std::find_if(windows.begin(), windows.end(), IsWindowVisible);
            return (result = shown == windows.end() ? nullptr : *shown) != nullptr;
        },
        timeout);
    return result;
}

HWND Control(HWND parent, int id) {
    HWND found = nullptr;
    // Depth first in z order: a ComboBoxEx comes before its inner controls that share its id.
    ForEachWindow(parent, [&](HWND hwnd) { return !(found = GetDlgCtrlID(hwnd) == id ? hwnd : nullptr); });
    return found;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = L"";
    return std::wstring(name, std::max(GetClassNameW(hwnd, name, 256), 0));
}

std::wstring Text(HWND hwnd) {
    if (!IsWindow(hwnd))
        return {};
    LRESULT length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0, -1);
    return length < 0 ? Caption(hwnd) : Fetch(hwnd, WM_GETTEXT, length + 1, length);
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
    HWND top = GetAncestor(control, GA_ROOT);
    return IsWindow(control) && IsWindowVisible(control) && IsWindowEnabled(control) && top &&
           IsWindowEnabled(top);
}

bool SetText(HWND control, const std::wstring& text) {
    HWND edit = IsUsable(control) ? TypingEdit(control) : nullptr;
    if (!IsUsable(edit) || (Style(edit) & ES_READONLY) ||
        !Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        return false;
    // A single-line edit reports EN_CHANGE for WM_SETTEXT by itself, and so does the edit a
    // ComboBoxEx made (which turns it into CBN_EDITCHANGE). A multi-line edit and the edit of a plain
    // combo box stay silent, so their parent is told here, as typing would; the combo box then
    // sends CBN_EDITCHANGE itself.
    if (edit == control ? (Style(edit) & ES_MULTILINE) != 0 : IsClass(control, WC_COMBOBOXW))
        NotifyParent(edit, EN_CHANGE);
    return true;
}

int ComboCount(HWND combo) {
    return static_cast<int>(Send(ListCombo(combo), CB_GETCOUNT, 0, 0, CB_ERR));
}

std::wstring ComboItemText(HWND combo, int index) {
    if (index < 0 || index >= ComboCount(combo))
        return {};
    if (IsClass(combo, WC_COMBOBOXEXW)) { // its items are out of a message's reach from elsewhere
        DWORD pid = 0;
        wchar_t text[256] = L"";
        COMBOBOXEXITEMW item{CBEIF_TEXT, index, text, 256};
        return GetWindowThreadProcessId(combo, &pid) && pid == GetCurrentProcessId() &&
                       SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))
                   ? text
                   : L"";
    }
    LRESULT length = Send(combo, CB_GETLBTEXTLEN, index, 0, CB_ERR);
    return length == CB_ERR ? std::wstring() : Fetch(combo, CB_GETLBTEXT, index, length);
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    for (int i = 0, count = ComboCount(combo); i < count; ++i)
        items.push_back(ComboItemText(combo, i));
    return items;
}

int ComboSelected(HWND combo) {
    return static_cast<int>(Send(ListCombo(combo), CB_GETCURSEL, 0, 0, CB_ERR));
}

bool ComboSelect(HWND combo, int index) {
    // CB_SETCURSEL on the ComboBoxEx also updates what it shows; the selection change then travels
    // the way a user's would: the inner combo box tells the ComboBoxEx, which tells its parent.
    if (!IsUsable(combo) || index < 0 || index >= ComboCount(combo) ||
        Send(combo, CB_SETCURSEL, index, 0, CB_ERR) != index)
        return false;
    NotifyParent(ListCombo(combo), CBN_SELCHANGE);
    return true;
}

bool Click(HWND button) {
    return IsUsable(button) && PostMessageW(button, BM_CLICK, 0, 0);
}
void Close(HWND hwnd) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

} // namespace velmora::gui
