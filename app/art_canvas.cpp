#include "app/art_canvas.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// 0..255, rounded half to even.
int ToByte(double value) { return (int)std::max(0L, std::min(255L, std::lrint(value))); }

// value to a whole power by multiplication: the library's pow costs more code
// than the artwork's four powers.
double Power(double value, int exponent) {
    double result = 1;
    for (; exponent > 0; exponent >>= 1, value *= value)
        if (exponent & 1) result *= value;
    return result;
}

// The length of (x, y): the library's hypot guards against overflow the
// artwork's numbers never come near, at several times the cost.
double Length(double x, double y) { return std::sqrt(x * x + y * y); }

int Floor(double value) {
    int whole = (int)value;
    return whole - (value < whole);
}

// The 5 x 7 dots of each letter the artwork writes, a row to a byte, the
// leftmost dot in bit 4.
struct Glyph {
    char letter;
    uint8_t rows[7];
};
constexpr Glyph kFont[] = {
    {' ', {0, 0, 0, 0, 0, 0, 0}},          {'_', {0, 0, 0, 0, 0, 0, 31}},
    {'A', {14, 17, 17, 31, 17, 17, 17}},   {'C', {14, 17, 16, 16, 16, 17, 14}},
    {'D', {30, 17, 17, 17, 17, 17, 30}},   {'E', {31, 16, 16, 30, 16, 16, 31}},
    {'I', {14, 4, 4, 4, 4, 4, 14}},        {'N', {17, 25, 21, 19, 17, 17, 17}},
    {'P', {30, 17, 17, 30, 16, 16, 16}},   {'T', {31, 4, 4, 4, 4, 4, 4}},
    {'U', {17, 17, 17, 17, 17, 17, 14}},   {'Z', {31, 1, 2, 4, 8, 16, 31}},
    {'a', {0, 0, 14, 1, 15, 17, 15}},      {'d', {1, 1, 13, 19, 17, 17, 15}},
    {'e', {0, 0, 14, 17, 31, 16, 14}},     {'i', {4, 0, 12, 4, 4, 4, 14}},
    {'n', {0, 0, 22, 25, 17, 17, 17}},     {'o', {0, 0, 14, 17, 17, 17, 14}},
    {'r', {0, 0, 22, 25, 16, 16, 16}},     {'t', {8, 8, 28, 8, 8, 9, 6}},
    {'u', {0, 0, 17, 17, 17, 19, 13}},     {'v', {0, 0, 17, 17, 17, 10, 4}},
};

const Glyph* GlyphOf(char letter) {
    for (const Glyph& glyph : kFont)
        if (glyph.letter == letter) return &glyph;
    return &kFont[0];
}

// A point of the canvas moved by the turn, as the turned shape sees it.
void Unturn(const Turn& turn, double& x, double& y) {
    double dx = x - turn.cx, dy = y - turn.cy;
    x = turn.cx + dx * turn.cosine + dy * turn.sine;
    y = turn.cy - dx * turn.sine + dy * turn.cosine;
}

double BaseDistance(const Shape& shape, double x, double y) {
    const double* p = shape.p;
    switch (shape.kind) {
    case ShapeKind::Circle: return Length(x - p[0], y - p[1]) - p[2];
    case ShapeKind::Ellipse:
        return (Length((x - p[0]) / p[2], (y - p[1]) / p[3]) - 1) * std::min(p[2], p[3]);
    case ShapeKind::Ring: return std::fabs(Length(x - p[0], y - p[1]) - p[2]) - p[3] / 2;
    case ShapeKind::Box:
    case ShapeKind::BoxOutline: {
        double radius = p[4];
        double qx = std::fabs(x - (p[0] + p[2]) / 2) - ((p[2] - p[0]) / 2 - radius);
        double qy = std::fabs(y - (p[1] + p[3]) / 2) - ((p[3] - p[1]) / 2 - radius);
        // Off the corners the distance is along one axis: no square root.
        double outside = qx > 0 && qy > 0 ? Length(qx, qy) : std::max(std::max(qx, qy), 0.0);
        double d = outside + std::min(std::max(qx, qy), 0.0) - radius;
        return shape.kind == ShapeKind::Box ? d : std::fabs(d) - p[5] / 2;
    }
    case ShapeKind::Segment: {
        double dx = p[2] - p[0], dy = p[3] - p[1];
        double length2 = dx * dx + dy * dy;
        if (length2 == 0) length2 = 1e-9;
        double t = std::max(0.0, std::min(1.0, ((x - p[0]) * dx + (y - p[1]) * dy) / length2));
        return Length(x - p[0] - t * dx, y - p[1] - t * dy) - p[4] / 2;
    }
    case ShapeKind::Wave: {
        double u = shape.vertical ? y : x, v = shape.vertical ? x : y;
        double k = 2 * kPi / p[4], s = k * u + p[5];
        double d = std::fabs(v - p[2] - p[3] * std::sin(s)) / Length(1.0, p[3] * k * std::cos(s));
        return std::max(std::max(d - p[6] / 2, p[0] - u), u - p[1]);
    }
    case ShapeKind::Rosette: {
        double a = std::atan2(y - p[1], x - p[0]);
        return Length(x - p[0], y - p[1]) - (p[2] + p[4] * std::cos(p[3] * a));
    }
    }
    return 1;
}

// Signed distance from the shape's edge, negative inside, in artwork units.
double Distance(const Shape& shape, double x, double y) {
    for (int i = 1; i >= 0; --i)
        if (shape.turns[i].angle != 0) Unturn(shape.turns[i], x, y);
    double d = BaseDistance(shape, x, y);
    return shape.clip ? std::max(d, Distance(*shape.clip, x, y)) : d;
}

Rgb Hsv(double h, double s, double v) {
    int i = (int)(h * 6.0);
    double f = h * 6.0 - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i % 6) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}

// A compact disc's face: a sheen turning with the disc, a rainbow in one
// quarter and a glint.
Rgb DiscSurface(double x, double y, double turn) {
    const double cx = 50, cy = 50, big = 45;
    double r = Length(x - cx, y - cy) / big;
    double a = std::atan2(y - cy, x - cx) - turn;
    double sheen = 0.5 + 0.5 * std::cos(2 * a);
    double base = 158 + 70 * Power(sheen, 3) - 18 * r;
    Rgb colour = {base - 4, base, base + 8};
    double bow = Power(std::max(0.0, std::cos(2 * (a - 0.45))), 6);
    Rgb rainbow = Hsv(std::fmod(0.1 + 1.3 * r, 1.0), 0.7, 1.0);
    colour = Mix(colour, Rgb{255 * rainbow.r, 255 * rainbow.g, 255 * rainbow.b}, 0.75 * bow);
    return Mix(colour, Rgb{255, 255, 255}, 0.85 * Power(std::max(0.0, std::cos(2 * (a + 0.2))), 60));
}

Rgb ColourAt(const Paint& paint, double x, double y) {
    Rgb from = Hex(paint.from), to = Hex(paint.to);
    switch (paint.kind) {
    case PaintKind::Solid: return from;
    case PaintKind::AlongX: return Mix(from, to, (x - paint.ox) / paint.length);
    case PaintKind::AlongY: return Mix(from, to, (y - paint.oy) / paint.length);
    case PaintKind::Away: return Mix(from, to, Length(x - paint.ox, y - paint.oy) / paint.length * paint.extra);
    case PaintKind::TitleSky: return Mix(Mix(from, to, x / paint.ox), Hex(0x08131f), Power(y / paint.oy, 2) * 0.7);
    case PaintKind::DiscSurface: return DiscSurface(x, y, paint.extra);
    }
    return from;
}

// The box (x0, y0)-(x1, y1) that holds the shape.
struct Bounds {
    double x0, y0, x1, y1;
};

Bounds UnturnedBounds(const Shape& shape) {
    const double* p = shape.p;
    switch (shape.kind) {
    case ShapeKind::Circle: return {p[0] - p[2], p[1] - p[2], p[0] + p[2], p[1] + p[2]};
    case ShapeKind::Ellipse: return {p[0] - p[2], p[1] - p[3], p[0] + p[2], p[1] + p[3]};
    case ShapeKind::Ring: {
        double outer = p[2] + p[3];
        return {p[0] - outer, p[1] - outer, p[0] + outer, p[1] + outer};
    }
    case ShapeKind::Box: return {p[0], p[1], p[2], p[3]};
    case ShapeKind::BoxOutline: return {p[0] - p[5], p[1] - p[5], p[2] + p[5], p[3] + p[5]};
    case ShapeKind::Segment:
        return {std::min(p[0], p[2]) - p[4], std::min(p[1], p[3]) - p[4], std::max(p[0], p[2]) + p[4],
                std::max(p[1], p[3]) + p[4]};
    case ShapeKind::Wave: {
        double m = p[3] + p[6];
        if (shape.vertical) return {p[2] - m, p[0], p[2] + m, p[1]};
        return {p[0], p[2] - m, p[1], p[2] + m};
    }
    case ShapeKind::Rosette: {
        double outer = p[2] + p[4];
        return {p[0] - outer, p[1] - outer, p[0] + outer, p[1] + outer};
    }
    }
    return {0, 0, 0, 0};
}

// The box turned: the box of its four corners turned.
Bounds TurnedBounds(const Bounds& box, const Turn& turn) {
    double c = turn.cosine, s = turn.sine;
    Bounds turned = {1e300, 1e300, -1e300, -1e300};
    for (int i = 0; i < 4; ++i) {
        double px = i < 2 ? box.x0 : box.x1, py = i % 2 ? box.y1 : box.y0;
        double x = turn.cx + (px - turn.cx) * c - (py - turn.cy) * s;
        double y = turn.cy + (px - turn.cx) * s + (py - turn.cy) * c;
        turned = {std::min(turned.x0, x), std::min(turned.y0, y), std::max(turned.x1, x), std::max(turned.y1, y)};
    }
    return turned;
}

Bounds BoundsOf(const Shape& shape) {
    Bounds box = UnturnedBounds(shape);
    for (const Turn& turn : shape.turns)
        if (turn.angle != 0) box = TurnedBounds(box, turn);
    return box;
}

}  // namespace

Rgb Hex(uint32_t rrggbb) {
    return Rgb{(double)((rrggbb >> 16) & 0xFF), (double)((rrggbb >> 8) & 0xFF), (double)(rrggbb & 0xFF)};
}

Rgb Mix(const Rgb& a, const Rgb& b, double t) {
    t = std::min(std::max(t, 0.0), 1.0);
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Turn TurnOf(double angle, double cx, double cy) { return Turn{angle, cx, cy, std::cos(angle), std::sin(angle)}; }

Shape MakeShape(ShapeKind kind, std::initializer_list<double> parameters) {
    Shape shape = {};
    shape.kind = kind;
    std::copy(parameters.begin(), parameters.end(), shape.p);
    return shape;
}

Shape Turned(Shape shape, double cx, double cy, double angle) {
    shape.turns[shape.turns[0].angle != 0 ? 1 : 0] = TurnOf(angle, cx, cy);
    return shape;
}

Canvas::Canvas(int width, int height, double artWidth, double artHeight, uint32_t background, double alpha)
    : width(width), height(height), scaleX(width / artWidth), scaleY(height / artHeight) {
    Rgb colour = Hex(background);
    pixels.resize((size_t)width * height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
        pixels[i + 3] = alpha;
    }
}

// Lays colour over a pixel with the coverage a.
static void Blend(double* pixel, const Rgb& colour, double a) {
    double under = pixel[3] * (1 - a), total = a + under;
    if (total > 0) {
        pixel[0] = (colour.r * a + pixel[0] * under) / total;
        pixel[1] = (colour.g * a + pixel[1] * under) / total;
        pixel[2] = (colour.b * a + pixel[2] * under) / total;
    }
    pixel[3] = total;
}

// Calls cover(pixel, x, y) for each pixel whose centre lies in the artwork's
// box x0..x1, y0..y1 give or take a pixel, (x, y) being that centre in artwork units.
template <typename Cover>
static void ForPixelsIn(Canvas& canvas, double x0, double y0, double x1, double y1, Cover cover) {
    int top = std::max(0, (int)(y0 * canvas.scaleY)), bottom = std::min(canvas.height, (int)(y1 * canvas.scaleY) + 1);
    int left = std::max(0, (int)(x0 * canvas.scaleX)), right = std::min(canvas.width, (int)(x1 * canvas.scaleX) + 1);
    for (int py = top; py < bottom; ++py)
        for (int px = left; px < right; ++px)
            cover(&canvas.pixels[((size_t)py * canvas.width + px) * 4], px + 0.5, py + 0.5);
}

void Canvas::Draw(const Shape& given, const Paint& paint, double alpha, double soft, double fadeDown) {
    Shape shape = turn.angle != 0 ? Turned(given, turn.cx, turn.cy, turn.angle) : given;
    // An edge is one pixel wide at any scale; a soft one (a shadow) grows with the artwork.
    double scale = std::min(scaleX, scaleY), edge = soft > 1 ? soft * scale : 1;
    double pad = soft + 1;
    Bounds box = BoundsOf(shape);
    // An upright wave along x is the same in each row: its sine and cosine are
    // worked out once a column (a wave's box is mostly empty rows).
    bool waveByColumn = shape.kind == ShapeKind::Wave && !shape.vertical && shape.turns[0].angle == 0 &&
                        shape.turns[1].angle == 0 && !shape.clip;
    std::vector<double> rise, steepness;
    if (waveByColumn) rise.assign(width, 0), steepness.assign(width, 0);
    ForPixelsIn(*this, box.x0 - pad, box.y0 - pad, box.x1 + pad, box.y1 + pad,
                [&](double* pixel, double px, double py) {
                    double x = px / scaleX, y = py / scaleY, distance;
                    if (waveByColumn) {
                        const double* p = shape.p;
                        int column = (int)px;
                        if (steepness[column] == 0) {
                            double k = 2 * kPi / p[4], s = k * x + p[5];
                            rise[column] = p[3] * std::sin(s);
                            steepness[column] = Length(1.0, p[3] * k * std::cos(s));
                        }
                        double d = std::fabs(y - p[2] - rise[column]) / steepness[column];
                        distance = std::max(std::max(d - p[6] / 2, p[0] - x), x - p[1]);
                    } else {
                        distance = Distance(shape, x, y);
                    }
                    double coverage = 0.5 - distance * scale / edge;
                    if (coverage <= 0) return;
                    double fade = fadeDown > 0 ? alpha * (1 - y / fadeDown) : alpha;
                    Blend(pixel, ColourAt(paint, x, y), std::min(coverage, 1.0) * fade);
                });
}

void Canvas::Fill(ShapeKind kind, std::initializer_list<double> parameters, uint32_t colour, double alpha,
                  double soft) {
    Draw(MakeShape(kind, parameters), Solid(colour), alpha, soft);
}

void Canvas::Fill(ShapeKind kind, std::initializer_list<double> parameters, const Paint& paint, double alpha) {
    Draw(MakeShape(kind, parameters), paint, alpha);
}

void Canvas::Text(const char* text, double x, double y, double size, const Paint& paint, double alpha) {
    for (int n = 0; text[n]; ++n) {
        const Glyph* glyph = GlyphOf(text[n]);
        double gx = x + 6 * size * n;
        auto inside = [&](double px, double py) {
            if (turn.angle != 0) Unturn(turn, px, py);  // the canvas's turn
            int column = Floor((px - gx) / size), row = Floor((py - y) / size);
            return row >= 0 && row < 7 && column >= 0 && column < 5 && (glyph->rows[row] >> (4 - column) & 1);
        };
        Bounds box = {gx, y, gx + 5 * size, y + 7 * size};
        if (turn.angle != 0) box = TurnedBounds(box, turn);
        ForPixelsIn(*this, box.x0, box.y0, box.x1, box.y1, [&](double* pixel, double px, double py) {
            int hits = 0;
            if (turn.angle != 0) {
                for (int i = 0; i < 4; ++i)
                    for (int j = 0; j < 4; ++j)
                        hits += inside((px + (i + 0.5) / 4 - 0.5) / scaleX, (py + (j + 0.5) / 4 - 0.5) / scaleY);
            } else {
                // Upright, the 4 x 4 samples fall in 4 columns and 4 rows of dots.
                int columns[4], rows[4];
                for (int i = 0; i < 4; ++i) {
                    columns[i] = Floor(((px + (i + 0.5) / 4 - 0.5) / scaleX - gx) / size);
                    rows[i] = Floor(((py + (i + 0.5) / 4 - 0.5) / scaleY - y) / size);
                }
                for (int row : rows)
                    for (int column : columns)
                        hits += row >= 0 && row < 7 && column >= 0 && column < 5 && (glyph->rows[row] >> (4 - column) & 1);
            }
            if (hits > 0) Blend(pixel, ColourAt(paint, px / scaleX, py / scaleY), hits / 16.0 * alpha);
        });
    }
}

void Canvas::CopyTo(uint32_t* out) const {
    for (size_t i = 0; i < (size_t)width * height; ++i) {
        const double* pixel = &pixels[i * 4];
        uint32_t a = (uint32_t)ToByte(pixel[3] * 255);
        out[i] = a == 0 ? 0
                        : a << 24 | (uint32_t)ToByte(pixel[0]) << 16 | (uint32_t)ToByte(pixel[1]) << 8 |
                              (uint32_t)ToByte(pixel[2]);
    }
}

double TextWidth(const char* text, double size) {
    int letters = 0;
    while (text[letters]) ++letters;
    return (6 * letters - 1) * size;
}

}  // namespace art
