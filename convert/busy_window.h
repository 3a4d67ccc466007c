#pragma once
// The small modeless window that shows a conversion is under way.
#include <windows.h>

#include <cstdint>
#include <string>

#include "convert/busy_rules.h"

// Builds the busy window (hidden) with its nine controls; font is its
// "Please wait..." font.
HWND NewBusyWindow(HWND owner, int32_t font);
int32_t NewBusyWindowFont();

// One pass's changes to the window; a window that is gone ignores them.
void ShowAnimationFrame(HWND window, int frame);
void ShowProcessingTime(HWND window, float elapsedSeconds);
void ShowColorRamp(HWND window, const ColorRamp& ramp);
