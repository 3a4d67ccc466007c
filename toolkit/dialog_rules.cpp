#include "toolkit/dialog_rules.h"

#include <cmath>
#include <cstring>
#include <cwchar>

namespace tk {

namespace {

// WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_NOFAILCREATE | DS_SETFONT | DS_3DLOOK
constexpr DWORD kDefaultDialogStyle = 0x80C000D4;
// DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK: every template carries the toolkit's font.
constexpr DWORD kTemplateBits = DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;

struct KindRule {
    const wchar_t* windowClass;
    DWORD defaultStyle;
    DWORD forced;
    DWORD removed;
};

KindRule RuleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button: return {L"BUTTON", 0x50010000, 0x50000000, 0};
    case ControlKind::Label: return {L"STATIC", 0x50000000, 0x50000000, 0};
    case ControlKind::Frame: return {L"STATIC", 0x50000012, 0x50000000, 0};
    case ControlKind::Image:
    case ControlKind::StretchedImage: return {L"STATIC", 0x5000000E, 0x5000000E, 0};
    }
    return {L"STATIC", 0x50000000, 0x50000000, 0};
}

}  // namespace

DWORD DialogStyle(DWORD requested, bool centred, bool hasOwner) {
    DWORD style = requested ? requested : kDefaultDialogStyle;
    style |= kTemplateBits;
    style &= ~(DWORD)(WS_VISIBLE | DS_SYSMODAL);
    if (centred) style |= DS_CENTER;
    if (style & WS_CHILD) {
        style &= ~(DWORD)(WS_POPUP | DS_ABSALIGN);
        if (!hasOwner) style = (style & ~(DWORD)WS_CHILD) | WS_POPUP;
    }
    return style;
}

int ShowCommandFor(DWORD style) {
    if (style & WS_MAXIMIZE) return SW_SHOWMAXIMIZED;
    if (style & WS_MINIMIZE) return SW_MINIMIZE;
    return SW_SHOW;
}

WPARAM SizeTypeFor(int showCommand) {
    if (showCommand == SW_SHOWMAXIMIZED) return SIZE_MAXIMIZED;
    if (showCommand == SW_MINIMIZE) return SIZE_MINIMIZED;
    return SIZE_RESTORED;
}

bool PaintsWhenShown(int showCommand) {
    return showCommand != SW_HIDE && showCommand != SW_SHOWMINIMIZED && showCommand != SW_MINIMIZE;
}

int32_t CenteredOrigin(int32_t low, int32_t high, int32_t size) {
    int32_t difference = low + high - size;
    return difference < 0 ? 0 : difference / 2;
}

DWORD ControlStyle(ControlKind kind, DWORD requested) {
    KindRule rule = RuleOf(kind);
    DWORD style = requested ? requested : rule.defaultStyle;
    return (style | rule.forced) & ~rule.removed;
}

DWORD IconControlStyle(DWORD style) { return (style & ~(DWORD)0x0E) | SS_ICON; }

bool IsImageKind(ControlKind kind) { return kind == ControlKind::Image || kind == ControlKind::StretchedImage; }

bool IsDefaultButtonStyle(DWORD style) { return (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }

const wchar_t* ControlClass(ControlKind kind) { return RuleOf(kind).windowClass; }

Color NormalForeground(Color color) { return color < 0 ? ColorDefault : (Color)(color & 0x00FFFFFF); }

Color NormalBackground(Color color) {
    if (color == ColorTransparent) return ColorTransparent;
    return color < 0 ? ColorDefault : (Color)(color & 0x00FFFFFF);
}

int TextColorIndex(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX: return COLOR_MENUTEXT;
    case WM_CTLCOLORBTN: return COLOR_BTNTEXT;
    default: return COLOR_WINDOWTEXT;
    }
}

int BackgroundColorIndex(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX: return COLOR_MENU;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return COLOR_WINDOW;
    case WM_CTLCOLORSCROLLBAR: return COLOR_SCROLLBAR;
    default: return COLOR_BTNFACE;
    }
}

FontDescription DescribeFont(const std::wstring& face, float points, int32_t style, int32_t charSet,
                             int32_t pitchAndFamily, int32_t escapement) {
    FontDescription font = {};
    wcsncpy(font.logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    if (points == 0) points = 8;
    font.points = (style & FontCellHeight) ? -points : points;
    font.logFont.lfEscapement = escapement;
    font.logFont.lfOrientation = escapement;
    font.logFont.lfWeight = (style & FontBold) ? FW_BOLD : FW_NORMAL;
    font.logFont.lfItalic = (style & FontItalic) ? 1 : 0;
    font.logFont.lfUnderline = (style & FontUnderline) ? 1 : 0;
    font.logFont.lfStrikeOut = (style & FontStrikeOut) ? 1 : 0;
    font.logFont.lfCharSet = (BYTE)charSet;
    font.logFont.lfPitchAndFamily = (BYTE)pitchAndFamily;
    return font;
}

bool SameFont(const FontDescription& a, const FontDescription& b) {
    const LOGFONTW& x = a.logFont;
    const LOGFONTW& y = b.logFont;
    return a.points == b.points && x.lfEscapement == y.lfEscapement && x.lfOrientation == y.lfOrientation &&
           x.lfWeight == y.lfWeight && x.lfItalic == y.lfItalic && x.lfUnderline == y.lfUnderline &&
           x.lfStrikeOut == y.lfStrikeOut && x.lfCharSet == y.lfCharSet && x.lfOutPrecision == y.lfOutPrecision &&
           x.lfClipPrecision == y.lfClipPrecision && x.lfQuality == y.lfQuality &&
           x.lfPitchAndFamily == y.lfPitchAndFamily && wcsncmp(x.lfFaceName, y.lfFaceName, LF_FACESIZE) == 0;
}

int32_t FontHeight(int logPixelsY, float points) {
    // nearbyint rounds ties to even in the default rounding mode.
    return (int32_t)-std::nearbyint((double)logPixelsY * (double)points / 72.0);
}

WORD TemplateFontWeight(LONG weight) { return weight != 0 ? FW_BOLD : FW_NORMAL; }

const wchar_t* ResourceName(const std::wstring& name) {
    if (name.size() < 2 || name[0] != L'#' || name.size() > 6) return name.c_str();
    unsigned number = 0;
    for (size_t i = 1; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9') return name.c_str();
        number = number * 10 + (name[i] - L'0');
    }
    return number >= 1 && number <= 0xFFFF ? MAKEINTRESOURCEW(number) : name.c_str();
}

}  // namespace tk
