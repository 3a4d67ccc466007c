#pragma once
// The gradient of the main window's button faces, as numbers: which colour each
// of the 200 bands has and which rows it paints.
#include "toolkit/win32_types.h"

namespace buttons {

constexpr int kBandCount = 200;

// The colour of band (0 = top) of the ramp for base; false for a base colour
// that has no ramp.
bool BandColor(COLORREF base, int band, COLORREF* color);

// Rows top..bottom (bottom excluded) of band for a client area of height rows.
struct BandRows {
    int top;
    int bottom;
};
BandRows BandRowsFor(int band, int height);

}  // namespace buttons
