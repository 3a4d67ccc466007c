#pragma once
// The faces of the main window's five owner-drawn buttons.
#include <windows.h>

#include "app/gradient_bands.h"

namespace buttons {

// Fills the client area of the device context's window with 200 bands of the
// ramp for base, one brush per band made and deleted; an unknown base paints nothing.
void GradientFill(HDC dc, COLORREF base);

// Paints one button face: the gradient and its label, or the sunken "Process"
// face while the button is held down.
void DrawMainButton(const DRAWITEMSTRUCT* item);

}  // namespace buttons
