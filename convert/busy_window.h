#pragma once
// The small modeless window that shows a conversion is under way.
#include <windows.h>

#include <cstdint>
#include <string>

// Five colour levels of the blocks under the line, each 20 to 255.
struct ColorRamp {
    int level[5];
};
constexpr int kRampStart = 20;
ColorRamp NewColorRamp();
// One pass: the first block brightens by 5 until 255, then the next, and when
// the last would pass 255 all five start again at 20.
void AdvanceColorRamp(ColorRamp& ramp);
// Background of block i (0..4): red 20, green from the ramp, blue 195.
COLORREF BlockColor(const ColorRamp& ramp, int i);

// "Processing time: HH:MM:SS" for elapsed seconds, each number at least two digits.
std::string ProcessingTimeText(float elapsedSeconds);

// "load1" to "load4".
std::string AnimationFrameName(int frame);

// Builds the busy window (hidden) with its nine controls; font is its
// "Please wait..." font.
HWND NewBusyWindow(HWND owner, int32_t font);
int32_t NewBusyWindowFont();

// One pass's changes to the window; a window that is gone ignores them.
void ShowAnimationFrame(HWND window, int frame);
void ShowProcessingTime(HWND window, float elapsedSeconds);
void ShowColorRamp(HWND window, const ColorRamp& ramp);
