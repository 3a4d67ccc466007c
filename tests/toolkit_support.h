#pragma once
// Helpers of the toolkit's GUI tests: pumping, a sample dialog, modeless dialogs.
#include <windows.h>

#include "tests/support/test_support.h"
#include "toolkit/toolkit.h"

namespace tktest {

// Dispatches queued messages for about milliseconds.
void PumpFor(DWORD milliseconds);

// A dialog callback that finishes its dialog at the first WM_TIMER.
int32_t FinishOnTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A window of the program's kind: two registered fonts, coloured and
// transparent labels, a frame, bitmap, stretched and icon pictures, a dialog
// icon and a default button. The caller frees fonts after the window is gone.
struct SampleDialog {
    HWND window;
    int32_t fonts[2];
};
SampleDialog BuildSampleDialog(tk::CoordinateMode mode);

// A modeless toolkit dialog in pixels, finished when the object goes away.
class ModelessDialog {
public:
    ModelessDialog(int width, int height);
    ~ModelessDialog();
    ModelessDialog(const ModelessDialog&) = delete;
    ModelessDialog& operator=(const ModelessDialog&) = delete;
    HWND window() const { return window_; }
    void Show(tk::DialogCallback callback = nullptr);

private:
    HWND window_;
};

}  // namespace tktest
