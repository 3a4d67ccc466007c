// The About window: heading, patent picture, build number, and two links
// along the bottom edge, e-mail and web. Modal over the main window; it has no
// button of its own and ends only from its title bar.
#include "app/artwork.h"
#include "app/globals.h"
#include "app/maker_info.h"
#include "app/shell_open.h"
#include "app/version.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"
#include "windows/common_handlers.h"
#include "windows/secondary_windows.h"

#include <string>

namespace {

enum AboutWindowId : int32_t {
    kUnaddressed = -1,  // the picture and the separator line
    kBuildLabel = 101,
    kHeading = 2001,
    kEmailLink = 2002,
    kWebLink = 2004,
};

constexpr const char* kCaption = "About";
constexpr const char* kProductLine = " " MAKER_PRODUCT_NAME;
constexpr const char* kBuildText = "Build v" DUZID_VERSION_TEXT;
constexpr const char* kEmailText = "email: RX Inc.";
constexpr const char* kMailVerb = "Open";
constexpr const char* kMailScheme = "mailto:";
constexpr const wchar_t* kPatentBitmap = L"patent";
constexpr const wchar_t* kIcon = L"VIDEO";

constexpr int32_t kWidth = 210;  // dialog units
constexpr int32_t kHeight = 180;
constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU;
constexpr DWORD kLinkStyle = SS_CENTER | SS_NOTIFY | SS_SUNKEN;

constexpr tk::Color kWindowText = 0x0000FF;        // red
constexpr tk::Color kWindowBackground = 0xC33214;  // deep blue
constexpr tk::Color kHeadingText = 0x5FAAB4;       // khaki
constexpr tk::Color kBuildTextColor = 0x000000;
constexpr tk::Color kLinkText = 0x78D2DC;        // pale yellow
constexpr tk::Color kLinkBackground = 0x7F0000;  // navy

// Product, credit and patent notice, one centred line each.
std::string HeadingText() {
    return std::string(kProductLine) + "\r\n" + kAboutCredit + "\r\n" + kPatentNotice;
}

int32_t OnSetCursor(HWND window, HWND underMouse) {
    return ShowHandOver(window, underMouse, {kEmailLink, kWebLink});
}

// Only plain clicks (STN_CLICKED, notification code 0) count; the window stays open.
int32_t OnCommand(int32_t id, int32_t notification) {
    if (notification != 0) return 0;
    switch (id) {
    case kEmailLink: OpenWithShell(kMailVerb, std::string(kMailScheme) + kSupportEmail); break;
    case kWebLink: OpenWithShell(nullptr, kMakerWebAddress); break;
    }
    return 0;
}

}  // namespace

void RunAboutWindow() {
    HWND window = tk::NewDialog(tk::CoordinateMode::DialogUnits, MAIN_WINDOW, tk::Widen(kCaption),
                                tk::DefaultPosition, tk::DefaultPosition, kWidth, kHeight, kWindowStyle, 0, PaintArtwork);
    tk::AddControl(tk::ControlKind::Label, window, kHeading, tk::Widen(HeadingText()), 35, 5, 140, 30, SS_CENTER, 0);
    tk::SetColors(window, tk::DialogItself, kWindowText, kWindowBackground);
    tk::SetColors(window, kHeading, kHeadingText, kWindowBackground);

    tk::AddControl(tk::ControlKind::Image, window, kUnaddressed, kPatentBitmap, 5, 40, 0, 0, 0, 0);
    tk::AddControl(tk::ControlKind::Frame, window, kUnaddressed, L"", 10, 35, 190, 2, 0, 0);
    tk::AddControl(tk::ControlKind::Label, window, kBuildLabel, tk::Widen(kBuildText), 150, 39, 50, 10, 0, 0);
    tk::SetColors(window, kBuildLabel, kBuildTextColor, tk::ColorTransparent);

    tk::AddControl(tk::ControlKind::Label, window, kWebLink, tk::Widen(kMakerWebAddress), 70, 169, 141, 11,
                   kLinkStyle, 0);
    tk::SetColors(window, kWebLink, kLinkText, kLinkBackground);
    tk::AddControl(tk::ControlKind::Label, window, kEmailLink, tk::Widen(kEmailText), 0, 169, 70, 11, kLinkStyle, 0);
    tk::SetColors(window, kEmailLink, kLinkText, kLinkBackground);

    tk::SetDialogIcon(window, kIcon);
    tk::ShowModal(window, AboutWindowCallback);
}

int32_t AboutWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_SETCURSOR: return OnSetCursor(window, reinterpret_cast<HWND>(wParam));
    case WM_SYSCOMMAND: return FinishOnClose(window, wParam);
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    default: return 0;
    }
}
