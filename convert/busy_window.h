#pragma once
// The small modeless window that shows a conversion is under way.
#include <windows.h>

#include <cstdint>
#include <string>

#include "convert/busy_rules.h"

// Builds the busy window (hidden) with its controls; font is its
// "Please wait..." font. A batch's window has a line for the files done.
HWND NewBusyWindow(HWND owner, int32_t font, bool filesDone = false);
int32_t NewBusyWindowFont();

// Shows the busy window. Its Stop button, Escape and its close command ask the
// user first and, on Yes, set stopEvent (borrowed: it must outlive the window).
void ShowBusyWindow(HWND window, HANDLE stopEvent);
// "Stop the conversion?" is open over the window.
bool StopQuestionOpen(HWND window);

// One pass's changes to the window; a window that is gone ignores them.
void ShowAnimationFrame(HWND window, int frame);
void ShowProcessingTime(HWND window, float elapsedSeconds);
// Repaints the blocks whose level differs from the one shown before.
void ShowColorRamp(HWND window, const ColorRamp& ramp, const ColorRamp& before);
// "37 %"; nothing for a negative percent.
void ShowPercent(HWND window, int percent);
// "3 of 12 files done", under the percentage.
void ShowFilesDone(HWND window, const std::string& text);
