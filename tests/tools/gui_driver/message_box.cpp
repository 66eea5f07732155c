// Message boxes of another process: find them, read them (their icon recognised from what the
// screen shows), answer them; and screenshots.
#include "gui_driver.h"

#include "platform/handles.h"

#include <cstdlib>

namespace velmora::gui {
namespace {

using Pixels = std::vector<uint32_t>; // top-down rows of 0x00RRGGBB

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : info_{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}} {
        bitmap_.reset(CreateDIBSection(dc_, &info_, DIB_RGB_COLORS, &bits_, nullptr, 0));
        old_ = dc_ && bitmap_ ? SelectObject(dc_, bitmap_.get()) : nullptr;
    }
    ~Canvas() {
        if (old_)
            SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Ok() const { return old_ && bits_; }
    HDC Dc() const { return dc_; }
    const BITMAPINFOHEADER& Header() const { return info_.bmiHeader; }
    size_t Size() const { return static_cast<size_t>(Header().biWidth) * -Header().biHeight; }
    Pixels Read() const {
        GdiFlush();
        Pixels p(static_cast<const uint32_t*>(bits_), static_cast<const uint32_t*>(bits_) + Size());
        for (uint32_t& v : p) // GDI leaves what it likes in the top byte; viewers take it for alpha
            v &= 0x00FFFFFF;
        return p;
    }

private:
    BITMAPINFO info_;
    HDC dc_ = CreateCompatibleDC(nullptr);
    platform::UniqueGdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

// Copies that screen rectangle onto the canvas; false when it could not.
bool Capture(Canvas& canvas, const RECT& area) {
    HDC screen = GetDC(nullptr);
    bool copied = canvas.Ok() && screen &&
                  BitBlt(canvas.Dc(), 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left,
                         area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return copied;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
            tolerance)
            return false;
    return true;
}

// The share of the icon's opaque pixels (the same drawn on black and on white) that the screen shows
// in that colour. A pixel that lets the background through depends on what is behind the icon.
double IconMatch(const Pixels& screen, const Pixels& onBlack, const Pixels& onWhite) {
    if (screen.size() != onBlack.size() || onBlack.size() != onWhite.size())
        return 0.0;
    size_t opaque = 0, matching = 0;
    for (size_t i = 0; i < onBlack.size(); ++i)
        if (onBlack[i] == onWhite[i]) {
            ++opaque;
            matching += Near(screen[i], onBlack[i], 8);
        }
    return opaque == 0 ? 0.0 : static_cast<double>(matching) / static_cast<double>(opaque);
}

// Which system icon the static shows. On Windows the system icons are shared, so the handle tells;
// under Wine every process loads its own copy, so the static's pixels are compared with each system
// icon drawn here. The box may not be painted yet when it is found: keep looking for a moment.
MessageIcon RecognizeIcon(HWND iconStatic, HICON shown) {
    static const std::pair<MessageIcon, const wchar_t*> kinds[] = {
        {MessageIcon::Stop, IDI_HAND},
        {MessageIcon::Exclamation, IDI_EXCLAMATION},
        {MessageIcon::Information, IDI_ASTERISK},
        {MessageIcon::Question, IDI_QUESTION}};
    for (const auto& [kind, id] : kinds)
        if (LoadIconW(nullptr, id) == shown)
            return kind;
    RECT client{};
    GetClientRect(iconStatic, &client);
    std::vector<std::pair<Pixels, Pixels>> drawn; // each icon on black and on white
    for (const auto& [kind, id] : kinds) {
        Pixels on[2];
        for (int white = 0; white < 2; ++white) {
            Canvas canvas(client.right, client.bottom);
            PatBlt(canvas.Dc(), 0, 0, client.right, client.bottom, white ? WHITENESS : BLACKNESS);
            DrawIconEx(canvas.Dc(), 0, 0, LoadIconW(nullptr, id), client.right, client.bottom, 0, nullptr,
                       DI_NORMAL);
            on[white] = canvas.Ok() ? canvas.Read() : Pixels{};
        }
        drawn.emplace_back(on[0], on[1]);
    }
    MapWindowPoints(iconStatic, nullptr, reinterpret_cast<POINT*>(&client), 2);
    MessageIcon best = MessageIcon::Unknown;
    WaitFor(
        [&] {
            Canvas screen(client.right - client.left, client.bottom - client.top);
            Pixels seen = Capture(screen, client) ? screen.Read() : Pixels{};
            // The right icon matches all but a few blended pixels; under Wine the information and the
            // question icon share 84 % of their pixels, so the bar sits well above that.
            double bestScore = 0.95;
            for (size_t i = 0; i < drawn.size(); ++i)
                if (double score = IconMatch(seen, drawn[i].first, drawn[i].second); score >= bestScore)
                    bestScore = score, best = kinds[i].first;
            return best != MessageIcon::Unknown || !IsWindow(iconStatic);
        },
        2s);
    return best;
}

// A message box is a dialog holding only statics and buttons, its text in the static 0xFFFF and its
// buttons the standard command ids; a dialog of the program's own has controls of its own ids.
std::optional<MessageBoxInfo> Read(HWND box) {
    MessageBoxInfo info{box, Text(box)};
    HWND iconStatic = nullptr, textStatic = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child) & 0xFFFF;
        bool isStatic = _wcsicmp(ClassName(child).c_str(), L"Static") == 0;
        bool isButton = _wcsicmp(ClassName(child).c_str(), L"Button") == 0 && id >= IDOK && id <= IDCONTINUE;
        if (!isStatic && !isButton)
            return std::nullopt;
        if (isStatic && (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            iconStatic = child;
        else if (isStatic && id == 0xFFFF)
            textStatic = child;
        else if (isButton && IsWindowVisible(child))
            info.buttonIds.push_back(id);
    }
    if (!textStatic)
        return std::nullopt;
    info.text = Text(textStatic);
    DWORD_PTR shown = 0;
    if (iconStatic)
        SendMessageTimeoutW(iconStatic, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown);
    info.icon = shown ? RecognizeIcon(iconStatic, reinterpret_cast<HICON>(shown)) : MessageIcon::None;
    return info;
}

} // namespace

bool SaveWindowBitmap(HWND hwnd, const std::wstring& bmpPath) {
    RECT area = WindowRect(hwnd);
    Canvas canvas(area.right - area.left, area.bottom - area.top);
    if (!IsWindow(hwnd) || !Capture(canvas, area))
        return false;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const DWORD bytes = static_cast<DWORD>(canvas.Size() * 4);
    const BITMAPFILEHEADER file{0x4D42 /* "BM" */, offset + bytes, 0, 0, offset};
    platform::UniqueFileHandle out(CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD w1 = 0, w2 = 0, w3 = 0;
    return out && WriteFile(out.get(), &file, sizeof(file), &w1, nullptr) &&
           WriteFile(out.get(), &canvas.Header(), sizeof(BITMAPINFOHEADER), &w2, nullptr) &&
           WriteFile(out.get(), canvas.Read().data(), bytes, &w3, nullptr) && w3 == bytes;
}

const wchar_t* IconName(MessageIcon icon) {
    static const wchar_t* const names[] = {L"none",        L"stop",     L"exclamation",
                                           L"information", L"question", L"unknown"};
    return names[static_cast<int>(icon)];
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD pid) {
    for (HWND hwnd : TopWindows(pid, L"#32770"))
        if (auto info = IsWindowVisible(hwnd) ? Read(hwnd) : std::nullopt)
            return info;
    return std::nullopt;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
    std::optional<MessageBoxInfo> box;
    WaitFor([&] { return (box = FindMessageBox(pid)).has_value(); }, timeout);
    return box;
}

bool AnswerMessageBox(HWND box, int buttonId) {
    HWND button = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetDlgCtrlID(child) & 0xFFFF) == buttonId && ClassName(child) == L"Button")
            button = child;
    // What the button itself sends when pressed. BM_CLICK is avoided here: Windows may drop it when
    // the box is not the active window.
    return IsUsable(button) &&
           PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

} // namespace velmora::gui
