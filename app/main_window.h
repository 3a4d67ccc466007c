#pragma once
// The program's main window: title, input-path field, instructions and the five buttons.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "convert/output_choice.h"

// Builds the main window, runs it until the user leaves it and releases its
// fonts. The files and folders named (full paths) are loaded once the window
// is up; output is what the dialogs offer first and receives what the user
// chose in them. Returns the window's end value (0 either way it ends).
int32_t RunMainWindow(OutputChoice& output, const std::vector<std::string>& named = std::vector<std::string>());
// The same with the default output, forgotten at the end.
int32_t RunMainWindow(const std::vector<std::string>& named = std::vector<std::string>());

int32_t MainWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
