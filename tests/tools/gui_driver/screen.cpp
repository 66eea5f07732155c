// Screenshots and the recognition of a message box's icon from what the screen shows.
#include "gui_driver.h"

#include "platform/handles.h"

namespace velmora::gui {
namespace {

// A 32-bit top-down DIB section with a memory DC selected into it; its pixels are 0x00RRGGBB.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (dc_ && bitmap_)
            old_ = SelectObject(dc_, bitmap_.get());
    }
    ~Canvas() {
        if (old_)
            SelectObject(dc_, old_);
        if (dc_)
            DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return old_ != nullptr && bits_ != nullptr; }
    HDC dc() const { return dc_; }
    void Fill(COLORREF colour) {
        platform::UniqueGdiObject brush(CreateSolidBrush(colour));
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, static_cast<HBRUSH>(brush.get()));
    }
    Pixels Read() const {
        GdiFlush();
        Pixels p{width_, height_, {}};
        const auto* source = static_cast<const uint32_t*>(bits_);
        p.rgb.assign(source, source + static_cast<size_t>(width_) * height_);
        for (uint32_t& v : p.rgb)
            v &= 0x00FFFFFF;
        return p;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    platform::UniqueGdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

Pixels IconOn(HICON icon, int width, int height, COLORREF background) {
    Canvas canvas(width, height);
    if (!canvas.ok())
        return {};
    canvas.Fill(background);
    DrawIconEx(canvas.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    return canvas.Read();
}

} // namespace

Pixels CaptureScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    Canvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    bool copied = canvas.ok() && screen &&
                  BitBlt(canvas.dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    if (screen)
        ReleaseDC(nullptr, screen);
    return copied ? canvas.Read() : Pixels{};
}

bool SaveWindowBitmap(HWND hwnd, const std::wstring& bmpPath) {
    if (!IsWindow(hwnd))
        return false;
    Pixels image = CaptureScreen(WindowRect(hwnd));
    if (image.rgb.empty())
        return false;
    std::string bytes = EncodeBmp(image);
    platform::UniqueFileHandle file(CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Which system icon the static shows. On Windows the system icons are shared, so the handle tells;
// under Wine every process loads its own copy, so the static's pixels are compared with each system
// icon drawn here. The box may not be painted yet when it is found: keep looking for a moment.
MessageIcon RecognizeIcon(HWND iconStatic, HICON shown) {
    struct Candidate {
        MessageIcon kind;
        const wchar_t* id;
    };
    static const Candidate candidates[] = {{MessageIcon::Stop, IDI_HAND},
                                           {MessageIcon::Exclamation, IDI_EXCLAMATION},
                                           {MessageIcon::Information, IDI_ASTERISK},
                                           {MessageIcon::Question, IDI_QUESTION}};
    for (const Candidate& c : candidates)
        if (LoadIconW(nullptr, c.id) == shown)
            return c.kind;

    RECT client{};
    GetClientRect(iconStatic, &client);
    POINT origin{0, 0};
    ClientToScreen(iconStatic, &origin);
    const RECT area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    struct Drawn {
        MessageIcon kind;
        Pixels onBlack, onWhite;
    };
    std::vector<Drawn> drawn;
    for (const Candidate& c : candidates) {
        HICON icon = LoadIconW(nullptr, c.id);
        drawn.push_back({c.kind, IconOn(icon, client.right, client.bottom, RGB(0, 0, 0)),
                         IconOn(icon, client.right, client.bottom, RGB(255, 255, 255))});
    }
    MessageIcon best = MessageIcon::Unknown;
    auto deadline = std::chrono::steady_clock::now() + 2s;
    do {
        Pixels screen = CaptureScreen(area);
        // The right icon matches all but a few blended pixels; under Wine the information and the
        // question icon share 84 % of their pixels, so the bar sits well above that.
        double bestScore = 0.95;
        for (const Drawn& d : drawn) {
            double score = IconMatch(screen, d.onBlack, d.onWhite);
            if (score >= bestScore) {
                bestScore = score;
                best = d.kind;
            }
        }
        if (best != MessageIcon::Unknown || !IsWindow(iconStatic))
            break;
        Sleep(50);
    } while (std::chrono::steady_clock::now() < deadline);
    return best;
}

} // namespace velmora::gui
