#pragma once
// The program's main window: title, input-path field, instructions and the five buttons.
#include <windows.h>

#include <cstdint>

// Builds the main window, runs it until the user leaves it and releases its
// fonts. Returns the window's end value (0 either way it ends).
int32_t RunMainWindow();

int32_t MainWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
