// A small window the GUI driver's own tests drive: one control of every kind the driver handles,
// and a log of every notification the window receives, so a test can check what a "user action"
// really caused on the other side.
//   driver_target.exe LOGFILE
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

enum : int {
    kEdit = 101,
    kCombo = 102,
    kImageList = 103, // drop-down-list ComboBoxEx
    kImageEdit = 104, // editable ComboBoxEx
    kCheck = 105,
    kDisabled = 106,
    kHidden = 107,
    kMultiLine = 108,
    kReadOnly = 109,
    kBoxStop = 110,
    kBoxExclamation = 111,
    kBoxInformation = 112,
    kBoxQuestion = 113,
    kBoxPlain = 114,
    kDialog = 115,
    kPanel = 120,
    kNested = 121,
};

FILE* g_log = nullptr;

void Log(const std::wstring& line) {
    if (!g_log)
        return;
    int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    fprintf(g_log, "%s\n", utf8.c_str());
    fflush(g_log);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[256] = L"";
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

HWND Add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
         int id, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void AddImageItems(HWND comboEx, std::initializer_list<const wchar_t*> texts) {
    int index = 0;
    for (const wchar_t* text : texts) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT;
        item.iItem = index++;
        item.pszText = const_cast<wchar_t*>(text);
        SendMessageW(comboEx, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void ShowBox(HWND owner, int id) {
    struct Box {
        int id;
        UINT style;
        const wchar_t* text;
    };
    static const Box boxes[] = {
        {kBoxStop, MB_OK | MB_ICONSTOP, L"Something failed"},
        {kBoxExclamation, MB_OKCANCEL | MB_ICONEXCLAMATION, L"Careful: two lines\nsecond line"},
        {kBoxInformation, MB_YESNO | MB_ICONINFORMATION, L"For your information"},
        {kBoxQuestion, MB_YESNOCANCEL | MB_ICONQUESTION, L"Really?"},
        {kBoxPlain, MB_OK, L"No icon here"},
    };
    for (const Box& box : boxes) {
        if (box.id == id) {
            int answer = MessageBoxW(owner, box.text, L"Target Box", box.style);
            Log(L"answer " + std::to_wstring(id) + L" " + std::to_wstring(answer));
        }
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK) {
        DestroyWindow(dialog);
        return TRUE;
    }
    return msg == WM_INITDIALOG;
}

// Logs what a control told its parent: "<notification> <id> <what the control holds now>".
void OnCommand(HWND hwnd, int id, int code, HWND control) {
    switch (code) {
    case EN_CHANGE:
        Log(L"EN_CHANGE " + std::to_wstring(id) + L" " + TextOf(control));
        break;
    case CBN_SELCHANGE:
        Log(L"CBN_SELCHANGE " + std::to_wstring(id) + L" " +
            std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0)));
        break;
    case CBN_EDITCHANGE:
        Log(L"CBN_EDITCHANGE " + std::to_wstring(id));
        break;
    case BN_CLICKED:
        if (id == kCheck)
            Log(L"BN_CLICKED " + std::to_wstring(id) + L" " +
                std::to_wstring(SendMessageW(control, BM_GETCHECK, 0, 0)));
        else
            Log(L"BN_CLICKED " + std::to_wstring(id));
        if (id >= kBoxStop && id <= kBoxPlain)
            ShowBox(hwnd, id);
        if (id == kDialog)
            CreateDialogW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(200), hwnd, DialogProc);
        break;
    }
}

// A plain container, so that the driver has to search below the window's direct children.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND)
        return SendMessageW(GetParent(hwnd), msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void CreateControls(HWND hwnd) {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Add(hwnd, L"Edit", L"hello", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 200, 22, kEdit,
        WS_EX_CLIENTEDGE);
    HWND combo = Add(hwnd, L"ComboBox", L"", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | CBS_HASSTRINGS, 10, 40,
                     200, 120, kCombo);
    for (const wchar_t* text : {L"alpha", L"beta", L"gamma"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    HWND list = Add(hwnd, WC_COMBOBOXEXW, L"", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 10, 70, 200, 120,
                    kImageList);
    AddImageItems(list, {L"Online", L"Away", L"N/A", L"Free For Chat"});
    SendMessageW(list, CB_SETCURSEL, 1, 0);
    HWND editable =
        Add(hwnd, WC_COMBOBOXEXW, L"", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, 10, 100, 200, 120, kImageEdit);
    // Items of exactly one and of several 64-character pieces, as the driver reads them in pieces.
    const std::wstring exact(64, L'x'), longer(130, L'y');
    AddImageItems(editable, {L"123456789", L"44556677", exact.c_str(), longer.c_str()});
    Add(hwnd, L"Button", L"Remember", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 10, 130, 200, 20, kCheck);
    Add(hwnd, L"Button", L"Disabled", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 10, 155, 95, 24, kDisabled);
    Add(hwnd, L"Button", L"Hidden", BS_PUSHBUTTON, 115, 155, 95, 24, kHidden);
    Add(hwnd, L"Edit", L"first\r\nsecond", WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 10, 185, 200, 40,
        kMultiLine, WS_EX_CLIENTEDGE);
    Add(hwnd, L"Edit", L"fixed", WS_VISIBLE | ES_READONLY, 10, 230, 200, 22, kReadOnly, WS_EX_CLIENTEDGE);
    const wchar_t* boxNames[] = {L"Stop", L"Exclamation", L"Information", L"Question", L"Plain", L"Dialog"};
    for (int i = 0; i < 6; ++i)
        Add(hwnd, L"Button", boxNames[i], WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 220, 10 + 30 * i, 100, 24,
            kBoxStop + i);
    HWND panel = Add(hwnd, L"DriverTargetPanel", L"", WS_VISIBLE, 220, 195, 110, 40, kPanel);
    Add(panel, L"Button", L"Nested", WS_VISIBLE | BS_PUSHBUTTON, 5, 5, 100, 24, kNested);
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM font) -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        CreateControls(hwnd);
        return 0;
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_CLOSE:
        Log(L"WM_CLOSE");
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc > 1)
        g_log = _wfopen(argv[1], L"ab");
    LocalFree(argv);

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW panel{};
    panel.lpfnWndProc = PanelProc;
    panel.hInstance = instance;
    panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panel.lpszClassName = L"DriverTargetPanel";
    RegisterClassW(&panel);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VelmoraDriverTarget";
    RegisterClassW(&wc);
    HWND hwnd =
        CreateWindowExW(0, wc.lpszClassName, L"Driver Target", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 40,
                        40, 350, 300, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    Log(L"ready");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (g_log)
        fclose(g_log);
    return 0;
}
