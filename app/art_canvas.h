#pragma once
// The canvas the program's artwork is drawn on at run time, at any scale:
// shapes given by their signed distance, filled with anti-aliased edges one
// pixel wide at the scale drawn (at 100 % the resources' own pictures).
// Coordinates are the artwork's own (its pixels at 100 %).
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace art {

struct Rgb {
    double r, g, b;
};

// Colour from 6 hexadecimal digits, 0xRRGGBB.
Rgb Hex(uint32_t rrggbb);
// a towards b by t, t held to 0..1.
Rgb Mix(const Rgb& a, const Rgb& b, double t);

enum class ShapeKind : uint8_t { Circle, Ellipse, Ring, Box, BoxOutline, Segment, Wave, Rosette };

struct Turn {
    double angle, cx, cy;  // clockwise on screen, about (cx, cy); angle 0: none
    double cosine, sine;   // of angle, worked out once
};
Turn TurnOf(double angle, double cx, double cy);

// A shape. Parameters by kind: Circle cx cy r; Ellipse cx cy rx ry; Ring cx
// cy r width; Box x0 y0 x1 y1 radius; BoxOutline the same and the line's
// width; Segment x0 y0 x1 y1 width; Wave from to at amplitude period phase
// width (along x, or along y when vertical); Rosette cx cy r lobes depth.
struct Shape {
    ShapeKind kind;
    bool vertical;
    double p[7];
    Turn turns[2];      // applied to the shape in this order
    const Shape* clip;  // drawn only inside this one too
};

// A shape of this kind with these parameters.
Shape MakeShape(ShapeKind kind, std::initializer_list<double> parameters);
// The shape turned by angle radians about (cx, cy), after any turn it has.
Shape Turned(Shape shape, double cx, double cy, double angle);

// How a shape is coloured at a point: from `from` to `to` (0xRRGGBB) along x,
// along y or away from a centre, over `length` units; two kinds are the
// artwork's own.
enum class PaintKind : uint8_t { Solid, AlongX, AlongY, Away, TitleSky, DiscSurface };
struct Paint {
    PaintKind kind;
    uint32_t from, to;
    double ox, oy, length;
    double extra;  // Away: a factor on the distance; DiscSurface: the disc's turn
};
inline Paint Solid(uint32_t colour) { return Paint{PaintKind::Solid, colour, colour, 0, 0, 1, 1}; }
inline Paint AlongX(uint32_t from, uint32_t to, double x, double length) {
    return Paint{PaintKind::AlongX, from, to, x, 0, length, 1};
}
inline Paint AlongY(uint32_t from, uint32_t to, double y, double length) {
    return Paint{PaintKind::AlongY, from, to, 0, y, length, 1};
}
inline Paint Away(uint32_t from, uint32_t to, double cx, double cy, double length, double factor = 1) {
    return Paint{PaintKind::Away, from, to, cx, cy, length, factor};
}

struct Canvas {
    int width, height;  // pixels
    double scaleX, scaleY;  // pixels per unit of the artwork
    std::vector<double> pixels;  // r, g, b (0..255) and alpha (0..1) of each pixel, rows from the top

    // A canvas of width x height pixels for artwork artWidth x artHeight, filled with background.
    Canvas(int width, int height, double artWidth, double artHeight, uint32_t background, double alpha = 1);

    Turn turn = {0, 0, 0, 1, 0};  // turns everything drawn (after a shape's own turns) while it has an angle

    // Fills a shape; soft > 1 blurs its edge over that many units (shadows),
    // fadeDown > 0 lets alpha fall to nothing over that many units from the top.
    void Draw(const Shape& shape, const Paint& paint, double alpha = 1, double soft = 1, double fadeDown = 0);
    // The same for a shape made of kind and parameters, in one colour or paint.
    void Fill(ShapeKind kind, std::initializer_list<double> parameters, uint32_t colour, double alpha = 1,
              double soft = 1);
    void Fill(ShapeKind kind, std::initializer_list<double> parameters, const Paint& paint, double alpha = 1);
    // Block letters of the 5 x 7 font, `size` units a dot, supersampled 4 x 4.
    void Text(const char* text, double x, double y, double size, const Paint& paint, double alpha = 1);

    // 0xAARRGGBB, rows from the top; colour 0 where alpha rounds to 0.
    void CopyTo(uint32_t* out) const;
};

// Width of text in units at this size of dot.
double TextWidth(const char* text, double size);

}  // namespace art
