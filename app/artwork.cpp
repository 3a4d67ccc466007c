// Each drawing in the artwork's own units (its pixels at 100 %); drawn at
// 100 %, they are the resources' files (resources/draw_art.cpp).
#include "app/artwork.h"

#include <cmath>
#include <cwctype>

#include "app/art_canvas.h"

using namespace art;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kBlack = 0x000000, kWhite = 0xffffff;

constexpr ShapeKind kCircle = ShapeKind::Circle, kRing = ShapeKind::Ring, kBox = ShapeKind::Box,
                    kOutline = ShapeKind::BoxOutline, kSegment = ShapeKind::Segment, kWave = ShapeKind::Wave,
                    kRosette = ShapeKind::Rosette;

void DrawTitle(Canvas& canvas) {
    const double w = 640, h = 154;
    canvas.Fill(kBox, {0, 0, w, h}, Paint{PaintKind::TitleSky, 0x10233d, 0x1c6480, w, h, 1, 1});
    const double waves[4][3] = {{9, 260, .10}, {14, 340, .07}, {6, 180, .08}, {11, 420, .06}};
    for (int i = 0; i < 4; ++i)
        canvas.Fill(kWave, {0, w, 112.0 + 7 * i, waves[i][0], waves[i][1], i * 1.7, 1.4}, kWhite, waves[i][2]);
    canvas.Draw(MakeShape(kBox, {0, 0, w, 70}), Solid(kWhite), 0.07, 1, 70);
    canvas.Fill(kBox, {0, h - 3, w, h}, AlongX(0xff9d3a, 0x1c6480, 0, w));

    // The maker's mark: a sound wave held in a ring.
    const double cx = 82, cy = 77, r = 56;
    canvas.Fill(kCircle, {cx + 3, cy + 5, r}, kBlack, 0.5, 9);
    canvas.Fill(kCircle, {cx, cy, r}, AlongY(0xfafafa, 0x96a5b4, cy - r, 2 * r));
    canvas.Fill(kCircle, {cx, cy, r - 6}, Away(0xffc260, 0xd8401c, cx - 20, cy - 25, 85));
    const double levels[9] = {0.22, 0.45, 0.75, 0.5, 1.0, 0.5, 0.75, 0.45, 0.22};
    for (int i = 0; i < 9; ++i) {
        double x = cx + (i - 4) * 9.5, half = 5 + 27 * levels[i];
        canvas.Fill(kSegment, {x + 1.5, cy - half + 2, x + 1.5, cy + half + 2, 5.5}, 0x781e00, 0.35);
        canvas.Fill(kSegment, {x, cy - half, x, cy + half, 5.5}, kWhite);
    }
    Shape ring = MakeShape(kCircle, {cx, cy, r - 7});
    Shape gloss = MakeShape(ShapeKind::Ellipse, {cx, cy - 30, 44, 26});
    gloss.clip = &ring;
    canvas.Draw(gloss, Solid(kWhite), 0.16);

    // The product's name.
    const double x = 172;
    canvas.Text("DU_ZID", x + 3, 30, 7, Solid(kBlack), 0.4);
    canvas.Text("DU_ZID", x, 27, 7, AlongY(kWhite, 0xb9d4ea, 27, 49));
    canvas.Text("audio Converter", x + 2, 94, 4, Solid(kBlack), 0.4);
    canvas.Text("audio Converter", x, 92, 4, Solid(0xffc27a));
    canvas.Fill(kSegment, {x, 84, x + TextWidth("audio Converter", 4), 84, 1.5}, AlongX(0xffc27a, 0x1c6480, x, 360),
                0.8);
}

// One certificate sheet centred at (cx, cy), turned by angle.
void DrawCertificate(Canvas& canvas, double cx, double cy, double w, double h, double angle, uint32_t ink) {
    canvas.turn = TurnOf(angle, cx, cy);
    const double x0 = cx - w / 2, y0 = cy - h / 2, x1 = cx + w / 2, y1 = cy + h / 2;
    canvas.Fill(kBox, {x0 + 3, y0 + 4, x1 + 3, y1 + 4, 2}, 0x28283c, 0.45, 5);
    const Paint paper = Away(0xfffbea, 0xf0e3bd, cx, cy, h, 1.6);
    canvas.Fill(kBox, {x0, y0, x1, y1, 1.5}, paper);
    // A guilloche border between two ruled frames, rosettes in the corners.
    canvas.Fill(kOutline, {x0 + 4, y0 + 4, x1 - 4, y1 - 4, 0, 1.2}, ink);
    canvas.Fill(kOutline, {x0 + 11, y0 + 11, x1 - 11, y1 - 11, 0, 0.8}, ink);
    for (double phase : {0.0, kPi}) {
        for (double v : {y0 + 7.5, y1 - 7.5}) canvas.Fill(kWave, {x0 + 8, x1 - 8, v, 2.2, 6, phase, 0.7}, ink, 0.75);
        for (double u : {x0 + 7.5, x1 - 7.5}) {
            Shape wave = MakeShape(kWave, {y0 + 8, y1 - 8, u, 2.2, 6, phase, 0.7});
            wave.vertical = true;
            canvas.Draw(wave, Solid(ink), 0.75);
        }
    }
    for (double px : {x0 + 7.5, x1 - 7.5})
        for (double py : {y0 + 7.5, y1 - 7.5}) {
            canvas.Fill(kRosette, {px, py, 4, 6, 1.2}, ink);
            canvas.Fill(kCircle, {px, py, 1.6}, 0xe8c55a);
        }
    // The heading and lines of text.
    double size = w > 100 ? 2 : 1.5, width = TextWidth("PATENT", size);
    canvas.Text("PATENT", cx - width / 2, y0 + 17, size, Solid(ink));
    canvas.Fill(kSegment, {cx - width / 2 - 4, y0 + 35, cx + width / 2 + 4, y0 + 35, 0.8}, ink);
    canvas.Fill(kSegment, {cx - 22, y0 + 40, cx + 22, y0 + 40, 1.6}, 0x786e5f, 0.7);
    const double lengths[] = {1, 1, 1, .7, 0, 1, 1, .85, 1, .5, 0, 1, 1, .9, .6};
    double y = y0 + 50;
    for (double length : lengths) {
        if (y > y1 - 52) break;
        if (length != 0) canvas.Fill(kSegment, {x0 + 19, y, x0 + 19 + (w - 38) * length, y, 1.0}, 0x5f554b, 0.55);
        y += 6;
    }
    // The seal with its ribbons, and the signature.
    const double sx = x0 + 32, sy = y1 - 34;
    for (double tilt : {0.3, -0.3}) {
        canvas.Draw(Turned(MakeShape(kBox, {sx - 3.5, sy, sx + 3.5, sy + 26}), sx, sy, tilt), Solid(0xb3242c));
        double tx = sx - 26 * std::sin(tilt), ty = sy + 26 * std::cos(tilt);
        canvas.Draw(Turned(MakeShape(kBox, {tx - 2.6, ty - 2.6, tx + 2.6, ty + 2.6}), tx, ty, tilt + kPi / 4), paper);
    }
    canvas.Fill(kRosette, {sx, sy, 14, 18, 1.5}, AlongY(0xffe38a, 0xb8860b, sy - 15, 30));
    canvas.Fill(kRing, {sx, sy, 9.5, 1}, 0x8a6508);
    canvas.Fill(kRosette, {sx, sy, 5, 5, 2}, 0xb3242c);
    canvas.Fill(kSegment, {x1 - 56, y1 - 24, x1 - 18, y1 - 24, 0.8}, 0x5f554b);
    canvas.Fill(kWave, {x1 - 54, x1 - 22, y1 - 30, 3, 9, 0, 1.1}, 0x1d2f6b);
    canvas.turn = TurnOf(0, 0, 0);
}

void DrawPatent(Canvas& canvas) {
    canvas.Fill(kBox, {0, 0, 244, 212}, AlongY(0xeef2f6, 0xc7d0da, 0, 212));
    DrawCertificate(canvas, 78, 100, 112, 158, -0.16, 0x5a2d62);
    DrawCertificate(canvas, 168, 100, 112, 158, 0.13, 0x2a5a3c);
    DrawCertificate(canvas, 122, 110, 124, 176, 0.0, 0x1f4e6e);
}

// Frame `frame` (0..3) of the disc, turned 45 degrees a frame.
void DrawDisc(Canvas& canvas, int frame) {
    const double cx = 50, cy = 50, big = 45, hub = 15, hole = 7;
    canvas.Fill(kCircle, {cx + 2, cy + 3, big}, kBlack, 0.4, 5);
    canvas.Fill(kCircle, {cx, cy, big}, Paint{PaintKind::DiscSurface, 0, 0, 0, 0, 1, frame * kPi / 4});
    canvas.Fill(kRing, {cx, cy, big - 0.6, 1.2}, 0x6e6e78, 0.7);
    canvas.Fill(kRing, {cx, cy, hub + 2.5, 1}, 0x787882, 0.35);
    canvas.Fill(kCircle, {cx, cy, hub}, 0xe4eaf0, 0.9);
    canvas.Fill(kRing, {cx, cy, 11, 1.2}, 0x969ba5, 0.5);
    canvas.Fill(kCircle, {cx, cy, hole}, 0xd8d8d8);
    canvas.Fill(kRing, {cx, cy, hole, 1}, 0x5a5a64, 0.6);
}

// A film frame with a note.
void DrawVideoIcon(Canvas& canvas) {
    canvas.Fill(kBox, {2, 4, 30, 28, 2}, 0x2c2d33);
    for (int i = 0; i < 6; ++i)
        for (double y : {5.5, 24.5}) canvas.Fill(kBox, {4.5 + i * 4.2, y, 6.5 + i * 4.2, y + 2, 0.4}, 0xe6e6e6);
    canvas.Fill(kBox, {4, 9, 28, 23, 1}, AlongY(0x2f6fd0, 0x7fd6f8, 9, 14));
    const uint32_t note = 0xffd640;
    const double heads[2][2] = {{11.5, 20}, {21, 18.5}};
    for (const auto& head : heads) {
        double hx = head[0], hy = head[1];
        canvas.Draw(Turned(MakeShape(ShapeKind::Ellipse, {hx, hy, 3, 2.2}), hx, hy, -0.45), Solid(note));
        canvas.Fill(kSegment, {hx + 2.4, hy - 0.5, hx + 2.4, hy - 8.5, 1.4}, note);
    }
    canvas.Fill(kSegment, {13.9, 11.5, 23.4, 10, 2.4}, note);
    canvas.Fill(kOutline, {2, 4, 30, 28, 2, 1}, kBlack, 0.6);
}

bool Named(const std::wstring& name, const wchar_t* expected) {
    size_t i = 0;
    for (; i < name.size() && expected[i]; ++i)
        if (std::towupper(name[i]) != expected[i]) return false;
    return i == name.size() && !expected[i];
}

}  // namespace

bool PaintArtwork(const std::wstring& name, int32_t width, int32_t height, uint32_t* pixels) {
    if (width <= 0 || height <= 0) return false;
    if (Named(name, L"TITLE")) {
        Canvas canvas(width, height, 640, 154, kBlack);
        DrawTitle(canvas);
        canvas.CopyTo(pixels);
        return true;
    }
    if (Named(name, L"PATENT")) {
        Canvas canvas(width, height, 244, 212, kBlack);
        DrawPatent(canvas);
        canvas.CopyTo(pixels);
        return true;
    }
    if (Named(name, L"VIDEO")) {
        Canvas canvas(width, height, 32, 32, kBlack, 0);
        DrawVideoIcon(canvas);
        canvas.CopyTo(pixels);
        return true;
    }
    for (int frame = 0; frame < 4; ++frame) {
        const wchar_t frameName[] = {L'L', L'O', L'A', L'D', (wchar_t)(L'1' + frame), 0};
        if (!Named(name, frameName)) continue;
        Canvas canvas(width, height, 100, 100, 0xd8d8d8);
        DrawDisc(canvas, frame);
        canvas.CopyTo(pixels);
        return true;
    }
    return false;
}
