#pragma once
// The start, About and instruction windows. Each is built afresh, shown
// modally and gone again before its Run function returns.
#include <windows.h>

#include <cstdint>

// The first window of the run, before the main window exists. Needs HAND_CURSOR.
void RunStartWindow();
int32_t StartWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Modal over MAIN_WINDOW, which stays disabled until it closes. Needs HAND_CURSOR.
void RunAboutWindow();
int32_t AboutWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The "Help" window: modal over MAIN_WINDOW, no callback of its own.
void RunInstructionWindow();
