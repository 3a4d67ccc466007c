#include "convert/busy_rules.h"

#include <cstdio>

ColorRamp NewColorRamp() { return ColorRamp{{kRampStart, kRampStart, kRampStart, kRampStart, kRampStart}}; }

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

std::string ProcessingTimeText(float elapsedSeconds) {
    float e = elapsedSeconds < 0 ? 0 : elapsedSeconds;
    long hours = (long)(e / 3600);
    long minutes = (long)((e - 3600.0f * hours) / 60);
    long seconds = (long)(e - 3600.0f * hours - 60.0f * minutes);
    char text[64];
    std::snprintf(text, sizeof(text), "Processing time: %02ld:%02ld:%02ld", hours, minutes, seconds);
    return text;
}

std::string AnimationFrameName(int frame) { return "load" + std::to_string(frame); }
