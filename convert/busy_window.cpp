#include "convert/busy_window.h"

#include "app/artwork.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

using tk::ControlKind;

namespace {

enum BusyWindowId : int {
    kFirstBlock = 201,  // 201..205
    kTimeLabel = 320,
    kPleaseWait = 207,
    kAnimation = 101,
    kPercent = 321,
    kFilesDone = 322,
    kStopButton = 208,
};

constexpr tk::Color kWhite = 0xFFFFFF;
constexpr tk::Color kGrey = 0x777777;
constexpr tk::Color kBlack = 0x000000;

// The window grows by a row under the read-out for the Stop button.
constexpr int kHeight = 70;

// Set on the window while the stop question is open.
const wchar_t* const kAskingProperty = L"DU_ZID.asking";

// Asks before stopping; Yes sets the stop event the window was shown with.
// Once the stop is under way, or while the question is open, nothing is asked again.
void AskToStop(HWND window) {
    HANDLE stopEvent = (HANDLE)GetWindowLongPtrW(window, GWLP_USERDATA);
    if (!stopEvent || WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0 || StopQuestionOpen(window)) return;
    SetPropW(window, kAskingProperty, (HANDLE)1);
    int answer = MessageBoxW(window, L"Stop the conversion?", L"Question", MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) SetEvent(stopEvent);
    RemovePropW(window, kAskingProperty);
}

int32_t OnCommand(HWND window, int id) {
    if (id != kStopButton && id != IDCANCEL) return 0;  // IDCANCEL: Escape
    AskToStop(window);
    return 1;
}

int32_t OnSysCommand(HWND window, WPARAM command) {
    if ((command & 0xFFF0) != SC_CLOSE) return 0;  // SC_CLOSE: Alt+F4
    AskToStop(window);
    return 1;
}

int32_t BusyWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_COMMAND: return OnCommand(window, LOWORD(wParam));
        case WM_SYSCOMMAND: return OnSysCommand(window, wParam);
        default: return 0;
    }
}

}  // namespace

int32_t NewBusyWindowFont() { return tk::NewFont(L"Times New Roman", 20, 0, 0, 0, 0); }

HWND NewBusyWindow(HWND owner, int32_t font, bool filesDone) {
    HWND window = tk::NewDialog(tk::CoordinateMode::DialogUnits, owner, L"", tk::DefaultPosition,
                                tk::DefaultPosition, 250, kHeight, WS_CAPTION, 0, PaintArtwork);
    tk::SetColors(window, tk::DialogItself, kWhite, kGrey);
    for (int i = 0; i < kBlockCount; ++i)
        tk::AddControl(ControlKind::Label, window, kFirstBlock + i, L"", 5 + 12 * i, 40, 8, 7, SS_SUNKEN, 0);
    tk::AddControl(ControlKind::Label, window, kTimeLabel, L"", 160, 40, 90, 10, 0, 0);
    tk::SetColors(window, kTimeLabel, kBlack, kGrey);
    tk::AddControl(ControlKind::Label, window, kPleaseWait, L"Please wait...", 65, 5, 150, 30, SS_CENTER, 0);
    tk::SetColors(window, kPleaseWait, kWhite, tk::ColorTransparent);
    tk::SetControlFont(window, kPleaseWait, font);
    tk::AddControl(ControlKind::Frame, window, -1, L"", 1, 34, 248, 1, 0, 0);
    for (int i = 0; i < kBlockCount; ++i) tk::SetColors(window, kFirstBlock + i, kBlack, BlockColor(BuiltColorRamp(), i));
    tk::AddControl(ControlKind::StretchedImage, window, kAnimation, L"load1", 5, 5, 26, 25, 0, 0);
    tk::AddControl(ControlKind::Label, window, kPercent, L"", 70, 40, 80, 10, 0, 0);
    tk::SetColors(window, kPercent, kBlack, kGrey);
    tk::AddControl(ControlKind::Button, window, kStopButton, L"Stop", 195, 52, 50, 14, 0, 0);
    if (filesDone) {
        tk::AddControl(ControlKind::Label, window, kFilesDone, L"", 70, 54, 120, 10, 0, 0);
        tk::SetColors(window, kFilesDone, kBlack, kGrey);
    }
    return window;
}

void ShowBusyWindow(HWND window, HANDLE stopEvent) {
    SetWindowLongPtrW(window, GWLP_USERDATA, (LONG_PTR)stopEvent);
    tk::ShowModeless(window, BusyWindowCallback);
}

bool StopQuestionOpen(HWND window) { return GetPropW(window, kAskingProperty) != nullptr; }

void ShowAnimationFrame(HWND window, int frame) {
    tk::SetImage(window, kAnimation, tk::Widen(AnimationFrameName(frame)), ControlKind::StretchedImage);
    tk::Redraw(GetDlgItem(window, kAnimation));
}

void ShowProcessingTime(HWND window, float elapsedSeconds) {
    tk::SetText(GetDlgItem(window, kTimeLabel), tk::Widen(ProcessingTimeText(elapsedSeconds)));
}

void ShowColorRamp(HWND window, const ColorRamp& ramp, const ColorRamp& before) {
    for (int i = 0; i < kBlockCount; ++i) {
        if (ramp.level[i] == before.level[i]) continue;
        tk::SetColors(window, kFirstBlock + i, kBlack, BlockColor(ramp, i));
        tk::Redraw(GetDlgItem(window, kFirstBlock + i));
    }
}

void ShowPercent(HWND window, int percent) {
    HWND label = GetDlgItem(window, kPercent);
    tk::SetText(label, percent < 0 ? std::wstring() : tk::Widen(std::to_string(percent) + " %"));
    tk::Redraw(label);
}

void ShowFilesDone(HWND window, const std::string& text) {
    HWND label = GetDlgItem(window, kFilesDone);
    tk::SetText(label, tk::Widen(text));
    tk::Redraw(label);
}
