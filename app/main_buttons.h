#pragma once
// The faces of the main window's five owner-drawn buttons.
#include <windows.h>

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

// Fills the client area of the device context's window with 200 bands of the
// ramp for base, one brush per band made and deleted; an unknown base paints nothing.
void GradientFill(HDC dc, COLORREF base);

// Paints one button face: the gradient and its label, or the sunken "Process"
// face while the button is held down.
void DrawMainButton(const DRAWITEMSTRUCT* item);

}  // namespace buttons
