#include "convert/busy_window.h"

#include "toolkit/text.h"
#include "toolkit/toolkit.h"

using tk::ControlKind;

namespace {

enum BusyWindowId : int {
    kFirstBlock = 201,  // 201..205
    kTimeLabel = 320,
    kPleaseWait = 207,
    kAnimation = 101,
};

constexpr tk::Color kWhite = 0xFFFFFF;
constexpr tk::Color kGrey = 0x777777;
constexpr tk::Color kBlack = 0x000000;
constexpr tk::Color kBlockStart = 0xC33214;  // red 20, green 50, blue 195

}  // namespace

int32_t NewBusyWindowFont() { return tk::NewFont(L"Times New Roman", 20, 0, 0, 0, 0); }

HWND NewBusyWindow(HWND owner, int32_t font) {
    HWND window = tk::NewDialog(tk::CoordinateMode::DialogUnits, owner, L"", tk::DefaultPosition,
                                tk::DefaultPosition, 250, 52, WS_CAPTION, 0);
    tk::SetColors(window, tk::DialogItself, kWhite, kGrey);
    for (int i = 0; i < kBlockCount; ++i)
        tk::AddControl(ControlKind::Label, window, kFirstBlock + i, L"", 5 + 12 * i, 40, 8, 7, SS_SUNKEN, 0);
    tk::AddControl(ControlKind::Label, window, kTimeLabel, L"", 160, 40, 90, 10, 0, 0);
    tk::SetColors(window, kTimeLabel, kBlack, kGrey);
    tk::AddControl(ControlKind::Label, window, kPleaseWait, L"Please wait...", 65, 5, 150, 30, SS_CENTER, 0);
    tk::SetColors(window, kPleaseWait, kWhite, tk::ColorTransparent);
    tk::SetControlFont(window, kPleaseWait, font);
    tk::AddControl(ControlKind::Frame, window, -1, L"", 1, 34, 248, 1, 0, 0);
    for (int i = 0; i < kBlockCount; ++i) tk::SetColors(window, kFirstBlock + i, kBlack, kBlockStart);
    tk::AddControl(ControlKind::StretchedImage, window, kAnimation, L"load1", 5, 5, 26, 25, 0, 0);
    return window;
}

void ShowAnimationFrame(HWND window, int frame) {
    tk::SetImage(window, kAnimation, tk::Widen(AnimationFrameName(frame)), ControlKind::StretchedImage);
    tk::Redraw(GetDlgItem(window, kAnimation));
}

void ShowProcessingTime(HWND window, float elapsedSeconds) {
    tk::SetText(GetDlgItem(window, kTimeLabel), tk::Widen(ProcessingTimeText(elapsedSeconds)));
}

void ShowColorRamp(HWND window, const ColorRamp& ramp) {
    for (int i = 0; i < kBlockCount; ++i) tk::SetColors(window, kFirstBlock + i, kBlack, BlockColor(ramp, i));
    for (int i = 0; i < kBlockCount; ++i) tk::Redraw(GetDlgItem(window, kFirstBlock + i));
}
