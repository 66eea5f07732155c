#include "ui/pictures.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

namespace velmora::ui::pictures {
namespace {

struct Pt {
    double x, y;
};
// One closed outline in unit coordinates (0..1 across the picture, y downwards). A hole is cut
// out of the solid outlines it lies on.
struct Contour {
    std::vector<Pt> points;
    bool hole = false;
};
using Shape = std::vector<Contour>;

constexpr double kPi = std::numbers::pi;

double SignedArea(const std::vector<Pt>& p) {
    double a = 0;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        a += (p[j].x * p[i].y) - (p[i].x * p[j].y);
    return a / 2;
}

// Paints shape in colour 0xRRGGBB over the image. Every solid outline counts +1 and every hole
// -1 whatever the order its points were given in; a point is inside where the sum is positive.
// Each pixel is sampled 4 x 4 times, which gives smooth edges at any size.
void Fill(Image& image, Shape shape, uint32_t rgb) {
    constexpr int kSub = 4;
    for (Contour& c : shape) {
        bool positive = SignedArea(c.points) > 0;
        if (positive == c.hole)
            std::reverse(c.points.begin(), c.points.end());
    }
    struct Crossing {
        double x;
        int dir;
    };
    const int n = image.size;
    std::vector<Crossing> crossings;
    std::vector<int> coverage(static_cast<size_t>(n));
    for (int py = 0; py < n; ++py) {
        std::fill(coverage.begin(), coverage.end(), 0);
        for (int sy = 0; sy < kSub; ++sy) {
            double y = (py + (sy + 0.5) / kSub) / n;
            crossings.clear();
            for (const Contour& c : shape) {
                const auto& p = c.points;
                for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
                    Pt a = p[j], b = p[i];
                    if ((a.y <= y) == (b.y <= y))
                        continue;
                    double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                    crossings.push_back({x * n, b.y > a.y ? -1 : 1});
                }
            }
            if (crossings.empty())
                continue;
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
            size_t next = 0;
            int winding = 0;
            for (int s = 0; s < n * kSub; ++s) {
                double x = (s + 0.5) / kSub;
                while (next < crossings.size() && crossings[next].x <= x)
                    winding += crossings[next++].dir;
                if (winding > 0)
                    ++coverage[s / kSub];
            }
        }
        for (int px = 0; px < n; ++px) {
            if (coverage[px] == 0)
                continue;
            uint32_t a = static_cast<uint32_t>(coverage[px] * 255 / (kSub * kSub));
            uint32_t r = ((rgb >> 16) & 0xFF) * a / 255, g = ((rgb >> 8) & 0xFF) * a / 255,
                     b = (rgb & 0xFF) * a / 255;
            uint32_t& dst = image.pixels[py * n + px];
            // "Source over" on premultiplied colours.
            auto over = [&](int shift, uint32_t src) {
                uint32_t d = (dst >> shift) & 0xFF;
                return (src + d * (255 - a) / 255) << shift;
            };
            dst = over(24, a) | over(16, r) | over(8, g) | over(0, b);
        }
    }
}

Contour Ellipse(double cx, double cy, double rx, double ry, bool hole = false) {
    Contour c{{}, hole};
    constexpr int kSteps = 64;
    for (int i = 0; i < kSteps; ++i) {
        double t = 2 * kPi * i / kSteps;
        c.points.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
    }
    return c;
}
Contour Circle(double cx, double cy, double r, bool hole = false) {
    return Ellipse(cx, cy, r, r, hole);
}

Contour Polygon(std::vector<Pt> points, bool hole = false) {
    return Contour{std::move(points), hole};
}

Contour Box(double l, double t, double r, double b) {
    return Polygon({{l, t}, {r, t}, {r, b}, {l, b}});
}

Contour RoundBox(double l, double t, double r, double b, double radius) {
    Contour c;
    constexpr int kCorner = 10;
    const Pt centres[4] = {{r - radius, t + radius},
                           {r - radius, b - radius},
                           {l + radius, b - radius},
                           {l + radius, t + radius}};
    for (int k = 0; k < 4; ++k) {
        double start = -kPi / 2 + k * kPi / 2;
        for (int i = 0; i <= kCorner; ++i) {
            double a = start + (kPi / 2) * i / kCorner;
            c.points.push_back({centres[k].x + radius * std::cos(a), centres[k].y + radius * std::sin(a)});
        }
    }
    return c;
}

// A stroke of the given width along a polyline, with round joins and ends.
Shape Stroke(const std::vector<Pt>& line, double width) {
    Shape s;
    double h = width / 2;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        Pt a = line[i], b = line[i + 1];
        double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        double nx = -dy / len * h, ny = dx / len * h;
        s.push_back(Polygon(
            {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}));
    }
    for (Pt p : line)
        s.push_back(Circle(p.x, p.y, h));
    return s;
}

// A piece of a ring between two radii from angle a0 to a1 (radians, clockwise on screen).
Contour RingSector(double cx, double cy, double inner, double outer, double a0, double a1) {
    Contour c;
    constexpr int kSteps = 12;
    for (int i = 0; i <= kSteps; ++i) {
        double a = a0 + (a1 - a0) * i / kSteps;
        c.points.push_back({cx + outer * std::cos(a), cy + outer * std::sin(a)});
    }
    for (int i = kSteps; i >= 0; --i) {
        double a = a0 + (a1 - a0) * i / kSteps;
        c.points.push_back({cx + inner * std::cos(a), cy + inner * std::sin(a)});
    }
    return c;
}

Shape operator+(Shape a, const Shape& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr uint32_t kWhite = 0xFFFFFF;

// Each status has an outline of its own: disc, crescent, octagon, square, hourglass, speech
// bubble and broken ring.
void DrawOnline(Image& img) {
    Fill(img, {Circle(0.5, 0.5, 0.46)}, 0x2E9E44);
    Fill(img, Stroke({{0.29, 0.51}, {0.44, 0.66}, {0.71, 0.37}}, 0.12), kWhite);
}

void DrawAway(Image& img) {
    // A crescent moon: a disc with a smaller disc cut out of its upper right.
    Fill(img, {Circle(0.5, 0.52, 0.44), Circle(0.70, 0.34, 0.34, true)}, 0xE0A000);
}

void DrawDnd(Image& img) {
    Contour octagon;
    for (int i = 0; i < 8; ++i) {
        double a = kPi / 8 + i * kPi / 4;
        octagon.points.push_back({0.5 + 0.47 * std::cos(a), 0.5 + 0.47 * std::sin(a)});
    }
    Fill(img, {octagon}, 0xD0342C);
    Fill(img, {Box(0.24, 0.42, 0.76, 0.58)}, kWhite);
}

void DrawNotAvailable(Image& img) {
    Fill(img, {RoundBox(0.08, 0.08, 0.92, 0.92, 0.12)}, 0x6B7688);
    Fill(img, Stroke({{0.31, 0.31}, {0.69, 0.69}}, 0.12) + Stroke({{0.69, 0.31}, {0.31, 0.69}}, 0.12),
         kWhite);
}

void DrawOccupied(Image& img) {
    Fill(img,
         {Polygon({{0.18, 0.05},
                   {0.82, 0.05},
                   {0.82, 0.15},
                   {0.57, 0.5},
                   {0.82, 0.85},
                   {0.82, 0.95},
                   {0.18, 0.95},
                   {0.18, 0.85},
                   {0.43, 0.5},
                   {0.18, 0.15}})},
         0xB8561B);
    // Sand in the lower bulb.
    Fill(img, {Polygon({{0.5, 0.62}, {0.72, 0.86}, {0.28, 0.86}})}, 0xF6D19A);
}

void DrawFreeForChat(Image& img) {
    Fill(img, {RoundBox(0.04, 0.1, 0.96, 0.72, 0.16), Polygon({{0.2, 0.66}, {0.44, 0.66}, {0.14, 0.94}})},
         0x1E6FD9);
    for (double x : {0.3, 0.5, 0.7})
        Fill(img, {Circle(x, 0.41, 0.07)}, kWhite);
}

void DrawInvisible(Image& img) {
    Shape dashes;
    for (int i = 0; i < 8; ++i) {
        double a = i * kPi / 4 - kPi / 2;
        dashes.push_back(RingSector(0.5, 0.5, 0.30, 0.46, a - 0.26, a + 0.26));
    }
    Fill(img, dashes, 0x7C8189);
}

void DrawLogo(Image& img) {
    Fill(img, {RoundBox(0.04, 0.04, 0.96, 0.96, 0.2)}, 0x24508F);
    Fill(img, Stroke({{0.25, 0.3}, {0.5, 0.74}, {0.75, 0.3}}, 0.14), kWhite);
    Fill(img, {Circle(0.76, 0.76, 0.12)}, 0x4CC26A);
}

void DrawWait(Image& img) {
    // Eight dots round a circle, fading out: a "busy" wheel caught in one moment.
    for (int i = 0; i < 8; ++i) {
        double a = -kPi / 2 + i * kPi / 4;
        uint32_t shade = static_cast<uint32_t>(0x24 + i * 0x1A);
        uint32_t rgb = (shade << 16) | (std::min<uint32_t>(0x50 + i * 0x16, 0xE0) << 8) | 0xE8;
        Fill(img, {Circle(0.5 + 0.34 * std::cos(a), 0.5 + 0.34 * std::sin(a), 0.06 + 0.008 * (7 - i))}, rgb);
    }
}

void DrawStart(Image& img) {
    Fill(img, {Polygon({{0.24, 0.12}, {0.88, 0.5}, {0.24, 0.88}})}, 0x2E9E44);
}

void DrawSettings(Image& img) {
    Contour gear;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 4; ++i) {
        double a = 2 * kPi * i / (kTeeth * 4);
        double r = (i % 4 == 0 || i % 4 == 1) ? 0.47 : 0.34;
        gear.points.push_back({0.5 + r * std::cos(a), 0.5 + r * std::sin(a)});
    }
    Fill(img, {gear, Circle(0.5, 0.5, 0.15, true)}, 0x5F6670);
}

void DrawUpdate(Image& img) {
    Fill(
        img,
        {Polygon({{0.4, 0.06}, {0.6, 0.06}, {0.6, 0.42}, {0.8, 0.42}, {0.5, 0.74}, {0.2, 0.42}, {0.4, 0.42}}),
         Box(0.12, 0.82, 0.88, 0.94)},
        0x1E6FD9);
}

void DrawInfo(Image& img) {
    Fill(img, {Circle(0.5, 0.5, 0.46)}, 0x1E6FD9);
    Fill(img, {Circle(0.5, 0.28, 0.075), Box(0.43, 0.41, 0.57, 0.77)}, kWhite);
}

void DrawFlower(Image& img) {
    // Five petals round a golden heart, on a short stem with one leaf.
    Fill(img, Stroke({{0.5, 0.55}, {0.5, 0.95}}, 0.06), 0x3E8E3A);
    Fill(img, {Ellipse(0.64, 0.82, 0.12, 0.05)}, 0x4CAF50);
    Shape petals;
    for (int i = 0; i < 5; ++i) {
        double a = -kPi / 2 + i * 2 * kPi / 5;
        petals.push_back(Circle(0.5 + 0.2 * std::cos(a), 0.38 + 0.2 * std::sin(a), 0.15));
    }
    Fill(img, petals, 0xE0559A);
    Fill(img, {Circle(0.5, 0.38, 0.11)}, 0xF5C02B);
}

} // namespace

Image Draw(Picture picture, int size) {
    Image img;
    img.size = std::max(size, 1);
    img.pixels.assign(static_cast<size_t>(img.size) * img.size, 0);
    switch (picture) {
    case Picture::Online:
        DrawOnline(img);
        break;
    case Picture::Away:
        DrawAway(img);
        break;
    case Picture::Dnd:
        DrawDnd(img);
        break;
    case Picture::NotAvailable:
        DrawNotAvailable(img);
        break;
    case Picture::Occupied:
        DrawOccupied(img);
        break;
    case Picture::FreeForChat:
        DrawFreeForChat(img);
        break;
    case Picture::Invisible:
        DrawInvisible(img);
        break;
    case Picture::Logo:
        DrawLogo(img);
        break;
    case Picture::Wait:
        DrawWait(img);
        break;
    case Picture::Start:
        DrawStart(img);
        break;
    case Picture::Settings:
        DrawSettings(img);
        break;
    case Picture::Update:
        DrawUpdate(img);
        break;
    case Picture::Info:
        DrawInfo(img);
        break;
    case Picture::Flower:
        DrawFlower(img);
        break;
    }
    return img;
}

Image DrawStatus(int pictureNumber, int size) {
    assert(pictureNumber >= 1 && pictureNumber <= kStatusPictureCount);
    return Draw(static_cast<Picture>(pictureNumber), size);
}

uint32_t Unpremultiply(uint32_t p) {
    uint32_t a = p >> 24;
    if (a == 0)
        return 0;
    auto channel = [&](int shift) {
        return std::min<uint32_t>((((p >> shift) & 0xFF) * 255 + a / 2) / a, 255) << shift;
    };
    return (a << 24) | channel(16) | channel(8) | channel(0);
}

} // namespace velmora::ui::pictures
