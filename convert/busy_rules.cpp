#include "convert/busy_rules.h"


ColorRamp NewColorRamp() { return ColorRamp{{kRampStart, kRampStart, kRampStart, kRampStart, kRampStart}}; }

ColorRamp BuiltColorRamp() { return ColorRamp{{50, 50, 50, 50, 50}}; }

void AdvanceColorRamp(ColorRamp& ramp) {
    int* L = ramp.level;
    L[0] += 5;
    for (int i = 0; i < kBlockCount - 1; ++i) {
        if (L[i] > 255) {
            L[i] = 255;
            L[i + 1] += 5;
        }
    }
    if (L[4] > 255) ramp = NewColorRamp();
}

COLORREF BlockColor(const ColorRamp& ramp, int i) { return RGB(20, ramp.level[i], 195); }

// As the number format "00" writes it: 5 is 05, 123 stays 123. (The printf
// family would bring its whole formatter into the program for this.)
static std::string AtLeastTwoDigits(long n) {
    std::string digits = std::to_string(n);
    return digits.size() < 2 ? "0" + digits : digits;
}

std::string ProcessingTimeText(float elapsedSeconds) {
    float e = elapsedSeconds < 0 ? 0 : elapsedSeconds;
    long hours = (long)(e / 3600);
    long minutes = (long)((e - 3600.0f * hours) / 60);
    long seconds = (long)(e - 3600.0f * hours - 60.0f * minutes);
    return "Processing time: " + AtLeastTwoDigits(hours) + ":" + AtLeastTwoDigits(minutes) + ":" +
           AtLeastTwoDigits(seconds);
}

std::string AnimationFrameName(int frame) { return "load" + std::to_string(frame); }
