#include "toolkit_support.h"

namespace tktest {

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

int32_t FinishOnTimer(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_TIMER) tk::FinishDialog(window, 0);
    return 0;
}

SampleDialog BuildSampleDialog(tk::CoordinateMode mode) {
    using tk::ControlKind;
    enum { kBanner = 10, kHeading, kLink, kPlain, kBlockRed, kBlockRed2, kBlockGreen, kFrame, kAnimation, kIcon, kStart };
    SampleDialog sample = {};
    sample.fonts[0] = tk::NewFont(L"Times New Roman", 20, tk::FontBold | tk::FontItalic, 0, 0, 0);
    sample.fonts[1] = tk::NewFont(L"Times New Roman", 12, tk::FontUnderline, 0, 0, 0);
    HWND dialog = tk::NewDialog(mode, nullptr, L"Toolkit sample", tk::DefaultPosition, tk::DefaultPosition, 660, 330,
                                0x80CA0000, 0);
    sample.window = dialog;
    tk::SetColors(dialog, tk::DialogItself, 0xFFFFFF, 0x554433);
    tk::AddControl(ControlKind::Image, dialog, kBanner, L"TITLE", 10, 10, 0, 0, 0, 0);
    tk::AddControl(ControlKind::Label, dialog, kHeading, L"Heading, transparent", 10, 175, 320, 34, 0, 0);
    tk::AddControl(ControlKind::Label, dialog, kLink, L"www.example.com", 10, 215, 200, 20, SS_NOTIFY, 0);
    tk::AddControl(ControlKind::Label, dialog, kPlain, L"Label with platform colours", 10, 245, 200, 18, 0, 0);
    tk::AddControl(ControlKind::Label, dialog, kBlockRed, L"", 350, 180, 20, 20, 0, 0);
    tk::AddControl(ControlKind::Label, dialog, kBlockRed2, L"", 375, 180, 20, 20, 0, 0);
    tk::AddControl(ControlKind::Label, dialog, kBlockGreen, L"", 400, 180, 20, 20, 0, 0);
    tk::AddControl(ControlKind::Frame, dialog, kFrame, L"", 10, 270, 640, 2, 0, 0);
    tk::AddControl(ControlKind::StretchedImage, dialog, kAnimation, L"load1", 430, 175, 40, 40, 0, 0);
    tk::AddControl(ControlKind::Image, dialog, kIcon, L"VIDEO", 490, 175, 0, 0, 0, 0);
    tk::AddControl(ControlKind::Button, dialog, kStart, L"Start", 560, 290, 90, 28, BS_DEFPUSHBUTTON, 0);
    tk::SetControlFont(dialog, kHeading, sample.fonts[0]);
    tk::SetControlFont(dialog, kLink, sample.fonts[1]);
    tk::SetControlFont(dialog, kStart, sample.fonts[1]);
    tk::SetColors(dialog, kHeading, 0x00FFFF, tk::ColorTransparent);
    tk::SetColors(dialog, kLink, 0xFFCC66, tk::ColorTransparent);
    tk::SetColors(dialog, kBlockRed, 0, 0x0000FF);
    tk::SetColors(dialog, kBlockRed2, 0, 0x0000FF);
    tk::SetColors(dialog, kBlockGreen, 0, 0x00FF00);
    tk::SetImage(dialog, kAnimation, L"load2", ControlKind::StretchedImage);
    tk::SetDialogIcon(dialog, L"Video");
    return sample;
}

ModelessDialog::ModelessDialog(int width, int height)
    : window_(tk::NewDialog(tk::CoordinateMode::Pixels, nullptr, L"Toolkit test", tk::DefaultPosition,
                            tk::DefaultPosition, width, height, 0, 0)) {}

ModelessDialog::~ModelessDialog() {
    if (IsWindow(window_)) tk::FinishDialog(window_, 0);
}

void ModelessDialog::Show(tk::DialogCallback callback) { tk::ShowModeless(window_, callback); }

}  // namespace tktest
