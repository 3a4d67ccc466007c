// The instruction window, captioned "Help": a white heading band and four
// lines of text on grey. Modal over the main window, read and closed from its
// title bar; the toolkit's defaults handle every message.
#include "app/artwork.h"
#include "app/globals.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"
#include "windows/secondary_windows.h"

namespace {

enum InstructionWindowId : int32_t {
    kHeading = 100,
    kBody = 101,
};

constexpr const char* kCaption = "Help";
constexpr const char* kHeadingText = "  Instruction:";
constexpr const char* kBodyText =
    "Run the DU_ZID audio converter as Administrator !\r\n"
    "\r\n"
    "1.Select input audio wav file.\r\n"
    "2.Publish output audio, and wait.";
constexpr const wchar_t* kIcon = L"video";

// Pixels; the size is the client area. The heading band is wider than the
// window on purpose: its white runs to the right edge and is cut off there.
constexpr int32_t kWidth = 400;
constexpr int32_t kHeight = 120;
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

constexpr tk::Color kText = 0x000000;
constexpr tk::Color kWindowBackground = 0xA7A7A7;  // grey
constexpr tk::Color kHeadingBackground = 0xFFFFFF;

}  // namespace

void RunInstructionWindow() {
    int32_t headingFont = tk::NewFont(L"Times New Roman", 20, tk::FontBold | tk::FontItalic, 0, 0, 0);
    HWND window = tk::NewDialog(tk::CoordinateMode::Pixels, MAIN_WINDOW, tk::Widen(kCaption), tk::DefaultPosition,
                                tk::DefaultPosition, kWidth, kHeight, kWindowStyle, 0, PaintArtwork);
    tk::SetColors(window, tk::DialogItself, kText, kWindowBackground);
    tk::SetDialogIcon(window, kIcon);

    tk::AddControl(tk::ControlKind::Label, window, kHeading, tk::Widen(kHeadingText), 0, 0, 710, 38, 0, 0);
    tk::SetControlFont(window, kHeading, headingFont);
    tk::SetColors(window, kHeading, kText, kHeadingBackground);

    tk::AddControl(tk::ControlKind::Label, window, kBody, tk::Widen(kBodyText), 10, 45, 400, 90, 0, 0);
    tk::SetColors(window, kBody, kText, tk::ColorTransparent);

    tk::ShowModal(window, nullptr);
    tk::FreeFont(headingFont);
}
