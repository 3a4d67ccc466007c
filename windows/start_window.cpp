// The start window: title banner, a line pointing to the maker's web address,
// the address as a link, and "Start". Shown once, before anything else.
#include "app/artwork.h"
#include "app/maker_info.h"
#include "app/shell_open.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"
#include "windows/common_handlers.h"
#include "windows/secondary_windows.h"

namespace {

enum StartWindowId : int32_t {
    kBanner = -1,
    kWebLink = 2000,
    kFreeAppsLine = 2001,
    kStartButton = 2005,
};

constexpr const char* kCaption = "Veltrane Audio Converter for Adobe Flash. ";
constexpr const char* kFreeAppsText = "See a more of free Apps at:";
constexpr const char* kStartText = "Start";
constexpr const wchar_t* kBannerBitmap = L"TITLE";
constexpr const wchar_t* kIcon = L"Video";

constexpr int32_t kWidth = 437;  // dialog units
constexpr int32_t kHeight = 120;
constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU;

constexpr tk::Color kWindowText = 0x0000FF;  // red
constexpr tk::Color kWindowBackground = 0xFFFFFF;
constexpr tk::Color kLinkText = 0xFF0000;  // blue
constexpr tk::Color kLineText = 0x000000;

// Times New Roman 12, bold italic: the line, the link and the button.
int32_t RegisterTextFont() {
    return tk::NewFont(L"Times New Roman", 12, tk::FontBold | tk::FontItalic, 0, 0, 0);
}

int32_t OnSetCursor(HWND window, HWND underMouse) {
    return ShowHandOver(window, underMouse, {kWebLink, kStartButton});
}

// Only plain clicks (BN_CLICKED, STN_CLICKED: notification code 0) count.
int32_t OnCommand(HWND window, int32_t id, int32_t notification) {
    if (notification != 0) return 0;
    switch (id) {
    case kWebLink: OpenWithShell(nullptr, kMakerWebAddress); break;
    case kStartButton: tk::FinishDialog(window, 0); break;
    }
    return 0;
}

}  // namespace

void RunStartWindow() {
    HWND window = tk::NewDialog(tk::CoordinateMode::DialogUnits, nullptr, tk::Widen(kCaption), tk::DefaultPosition,
                                tk::DefaultPosition, kWidth, kHeight, kWindowStyle, 0, PaintArtwork);
    tk::SetDialogIcon(window, kIcon);
    tk::SetColors(window, tk::DialogItself, kWindowText, kWindowBackground);
    int32_t font = RegisterTextFont();

    tk::AddControl(tk::ControlKind::Image, window, kBanner, kBannerBitmap, 5, 5, 0, 0, 0, 0);
    tk::AddControl(tk::ControlKind::Label, window, kFreeAppsLine, tk::Widen(kFreeAppsText), 15, 102, 120, 12, 0, 0);
    tk::AddControl(tk::ControlKind::Label, window, kWebLink, tk::Widen(kMakerWebAddress), 138, 102, 200, 12, SS_NOTIFY,
                   0);
    // The only tab stop: it has the focus when the window opens.
    tk::AddControl(tk::ControlKind::Button, window, kStartButton, tk::Widen(kStartText), 360, 102, 70, 14,
                   BS_FLAT | WS_TABSTOP, 0);

    tk::SetColors(window, kWebLink, kLinkText, tk::ColorTransparent);
    tk::SetColors(window, kFreeAppsLine, kLineText, tk::ColorTransparent);
    for (int32_t id : {kWebLink, kFreeAppsLine, kStartButton}) tk::SetControlFont(window, id, font);

    tk::ShowModal(window, StartWindowCallback);
    tk::FreeFont(font);
}

int32_t StartWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_SETCURSOR: return OnSetCursor(window, reinterpret_cast<HWND>(wParam));
    case WM_SYSCOMMAND: return FinishOnClose(window, wParam);
    case WM_COMMAND: return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
    default: return 0;
    }
}
