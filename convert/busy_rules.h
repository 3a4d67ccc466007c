#pragma once
// What the busy window shows, as values: the colour ramp of its five blocks,
// the time read-out and the animation's frame names.
#include <string>

#include "toolkit/win32_types.h"

// Five colour levels of the blocks under the line, each 20 to 255.
constexpr int kBlockCount = 5;
struct ColorRamp {
    int level[kBlockCount];
};
constexpr int kRampStart = 20;
ColorRamp NewColorRamp();
// The blocks as the busy window is built, before the first pass: level 50.
ColorRamp BuiltColorRamp();
// One pass: the first block brightens by 5 until 255, then the next, and when
// the last would pass 255 all five start again at 20.
void AdvanceColorRamp(ColorRamp& ramp);
// Background of block i (0..4): red 20, green from the ramp, blue 195.
COLORREF BlockColor(const ColorRamp& ramp, int i);

// "Processing time: HH:MM:SS" for elapsed seconds, each number at least two digits.
std::string ProcessingTimeText(float elapsedSeconds);

// "load1" to "load4".
std::string AnimationFrameName(int frame);
