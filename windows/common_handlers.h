#pragma once
// Handlers the program's windows share: the hand cursor over chosen
// controls, and ending the window from its title bar.
#include <windows.h>

#include <cstdint>
#include <initializer_list>

// WM_SETCURSOR: shows HAND_CURSOR and answers 1 when the window under the
// mouse is one of the dialog's controls with the given ids; answers 0 (the
// class cursor, the arrow) over anything else.
int32_t ShowHandOver(HWND dialog, HWND underMouse, std::initializer_list<int32_t> controlIds);

// WM_SYSCOMMAND: SC_CLOSE (close box, system menu, Alt+F4) ends the window
// with result 0. Answers 0 in every case.
int32_t FinishOnClose(HWND dialog, WPARAM command);
