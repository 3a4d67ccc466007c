#pragma once
// The toolkit's arithmetic of display scales: every window is laid out in
// 96-DPI pixels or in dialog units, and shown at its monitor's dots per inch.
// Pure values, so tests call them directly and they build without <windows.h>.
#include <cstdint>

#include "toolkit/win32_types.h"

namespace tk {

// 100 %: the scale the program's layouts and resource pictures are made for.
constexpr UINT kBaseDpi = 96;

// Windows' MulDiv: a * b / c rounded to the nearest integer, halves away from
// zero; -1 when c is 0 or the result does not fit 32 bits.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);

// A length of the 96-DPI layout at dpi.
inline int32_t Scaled(int32_t length, UINT dpi) { return MulDivRounded(length, (int32_t)dpi, (int32_t)kBaseDpi); }

// A dpi that WM_DPICHANGED may bring, clamped to the scales Windows offers
// (50 % to 500 %); 0, which no monitor has, stays 0.
UINT UsableDpi(UINT dpi);

// Position and size of a window, in whatever unit the context says.
struct Box {
    int32_t x, y, width, height;
};

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct BaseUnits {
    int32_t x, y;
};

// A box of the 96-DPI layout at dpi: position and size each scaled, so that
// boxes of one size stay of one size.
Box ScaledBox(const Box& given, UINT dpi);
// A box of dialog units in pixels, each edge converted on its own, as MapDialogRect does.
Box DialogUnitBox(const Box& given, BaseUnits units);

// What the dialog manager takes for base units from its font: the height of a
// line and the mean width of the 52 letters A-Z and a-z, rounded up at the half.
BaseUnits BaseUnitsOf(int32_t textHeight, int32_t alphabetWidth);

// The height a registered font of this many points is made with at dpi: its
// height at 96 DPI (FontHeight), scaled.
int32_t ScaledFontHeight(float points, UINT dpi);
// The height the dialog manager makes a dialog template's font with at dpi:
// -MulDiv(points, dpi, 72).
int32_t TemplateFontHeight(int32_t points, UINT dpi);

// The scale, as dots per inch, that a dialog-unit window's fonts and pictures
// are made at: as much above 96 as its dialog units have grown from what they
// are at 100 %, the smaller of the two ways, so that text and pictures fit
// where they fit at 100 %.
UINT PictureDpi(BaseUnits units, BaseUnits unitsAt96);

}  // namespace tk
