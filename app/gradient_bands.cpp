#include "app/gradient_bands.h"

#include <cmath>

namespace buttons {

static int Clamp(int value) { return value < 0 ? 0 : (value > 255 ? 255 : value); }

bool BandColor(COLORREF base, int band, COLORREF* color) {
    int i = band;
    switch (base) {
        case 0xFF0000: *color = RGB(0, Clamp(199 - i), Clamp(255 - i)); return true;              // blue
        case 0x00FF00: *color = RGB(0, Clamp(255 - i), 0); return true;                          // green
        case 0x0000FF: *color = RGB(Clamp(255 - i), Clamp(125 - i), Clamp(125 - i)); return true;  // red
        case 0x808080: *color = RGB(Clamp(255 - i), Clamp(255 - i), Clamp(255 - i)); return true;  // grey
        default: return false;
    }
}

BandRows BandRowsFor(int band, int height) {
    // The step is a 32-bit float, as the faces have always been painted; its
    // products with a band number are exact in double and round half to even.
    float step = 0.005f * (float)height;
    return BandRows{(int)std::nearbyint((double)step * band), (int)std::nearbyint((double)step * (band + 1))};
}

}  // namespace buttons
