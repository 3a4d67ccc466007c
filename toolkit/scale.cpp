// Dialogs at the scale of their monitor: the platform's dots per inch, each
// dialog's font, dialog units and picture scale at its dpi, and the new
// layout when Windows moves a dialog to a monitor of another scale.
#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

// Calls that Windows 10 has only from version 1607 (1703 for the dialog
// manager's), looked up where they are needed.
template <typename Function>
Function UserCall(const char* name) {
    return (Function)(void*)GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
}

// Keeps the dialog manager of Windows from scaling the dialog and its
// controls by itself when the dpi changes: the toolkit lays them out.
void KeepDialogManagerOut(HWND dialog) {
    using SetBehavior = BOOL(WINAPI*)(HWND, int, int);
    const int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (auto set = UserCall<SetBehavior>("SetDialogDpiChangeBehavior")) set(dialog, kDisableAll, kDisableAll);
}

// What a dialog's layout depends on.
struct Layout {
    CoordinateMode mode;
    UINT dpi;
    BaseUnits units;
    Box given;
    HFONT managerFont;  // the dialog manager's, made for the dpi the dialog was created at
    DWORD style, exStyle;
};

bool LayoutOf(HWND dialog, Layout* layout) {
    return WithRecord(dialog, [&](WindowRecord& record) {
        *layout = {record.mode, record.dpi, record.units, record.given, record.dialogFont, record.style, record.exStyle};
    });
}

Box PixelBox(const Layout& layout, const Box& given) {
    return layout.mode == CoordinateMode::DialogUnits ? DialogUnitBox(given, layout.units)
                                                      : ScaledBox(given, layout.dpi);
}

SIZE ClientSizeOf(const Layout& layout) {
    Box client = PixelBox(layout, Box{0, 0, layout.given.width, layout.given.height});
    return SIZE{client.width, client.height};
}

BaseUnits MeasureBaseUnits(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ before = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SIZE alphabet = {};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    SelectObject(dc, before);
    ReleaseDC(nullptr, dc);
    return BaseUnitsOf(metrics.tmHeight, alphabet.cx);
}

// The dialog font at dpi: nullptr where the dialog manager's is of the height
// wanted, else one made like it. A dialog-unit window's font follows the
// dialog manager's rule, as its dialog units do; a pixel window's font is its
// size at 96 DPI scaled, as everything else in it.
HFONT MakeDialogFont(const Layout& layout, UINT dpi) {
    LOGFONTW font = {};
    FontDescription registered = {};
    if (!GetObjectW(layout.managerFont, sizeof(font), &font) || !RegisteredFont(1, &registered)) return nullptr;
    int32_t wanted = layout.mode == CoordinateMode::DialogUnits ? TemplateFontHeight((int32_t)registered.points, dpi)
                                                                : ScaledFontHeight(registered.points, dpi);
    if (font.lfHeight == wanted) return nullptr;
    font.lfHeight = wanted;
    return CreateFontIndirectW(&font);
}

// The base units of a dialog-unit window whose font is ownFont (none: the dialog manager's).
BaseUnits UnitsWith(HWND dialog, HFONT ownFont) {
    if (ownFont) return MeasureBaseUnits(ownFont);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    return BaseUnits{units.right, units.bottom};
}

// The base units the dialog manager gives the toolkit's dialog font (MS Sans
// Serif 8, bold) at 100 %. Measured at another scale they would come out
// otherwise: a raster font is chosen by the screen's dots per inch.
constexpr BaseUnits kDialogUnitsAt96 = {7, 13};

RECT WindowRectFor(const Layout& layout, SIZE client, UINT dpi) {
    RECT outer = {0, 0, client.cx, client.cy};
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    if (auto adjust = UserCall<Adjust>("AdjustWindowRectExForDpi")) adjust(&outer, layout.style, FALSE, layout.exStyle, dpi);
    else AdjustWindowRectEx(&outer, layout.style, FALSE, layout.exStyle);
    return outer;
}

// Takes the suggested rectangle; where the platform's frame at the new scale
// differs from what it suggested for, the size is mended so that the client
// area is the layout's.
void PlaceWindow(HWND dialog, const Layout& layout, const RECT* suggested) {
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (IsIconic(dialog)) return;  // a minimised window has no client area to measure; it keeps its size
    if (suggested)
        SetWindowPos(dialog, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, kFlags);
    SIZE wanted = ClientSizeOf(layout);
    RECT client = {}, outer = {};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &outer);
    int dx = wanted.cx - client.right, dy = wanted.cy - client.bottom;
    if (dx != 0 || dy != 0)
        SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                     kFlags | SWP_NOMOVE);
}

// One control laid out at the dialog's new scale: its box, its font at the
// new content scale (the use at the old one given up), its picture.
void RescaleControl(HWND dialog, HWND control, UINT dpi) {
    Box given = {};
    int32_t fontId = 0;
    UINT fontDpi = 0;
    ControlKind kind = ControlKind::Label;
    bool isIcon = false;
    PictureName picture = {};
    if (!WithRecord(control, [&](WindowRecord& record) {
            given = record.given;
            fontId = record.fontId;
            fontDpi = record.fontDpi;
            kind = record.kind;
            isIcon = record.pictureIsIcon;
            picture = record.pictureName;
        }))
        return;
    Box box = ControlBox(dialog, given);
    SetWindowPos(control, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = fontId ? UseFont(fontId, dpi) : DialogFontOf(dialog);
    if (font && fontId) {
        DropFontUse(fontId, fontDpi);
        WithRecord(control, [&](WindowRecord& record) { record.fontDpi = dpi; });
    }
    if (font) SendMessageW(control, WM_SETFONT, (WPARAM)font, FALSE);
    // A picture whose name was too long to keep is let go rather than shown at the wrong scale.
    if (IsImageKind(kind)) ShowPicture(control, kind, picture.text, isIcon);
}

// The pictures and cursor a dialog holds for its scale, taken from it to be
// released once it shows those of another.
struct HeldForScale {
    DrawnPicture* drawn;
    HCURSOR cursor;
};

HeldForScale TakeHeldForScale(HWND dialog) {
    HeldForScale held = {};
    WithRecord(dialog, [&](WindowRecord& record) {
        held = {record.drawn, record.cursor};
        record.drawn = nullptr;
        record.cursor = nullptr;
        record.cursorName = PictureName{};
    });
    return held;
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    auto get = UserCall<GetDpi>("GetDpiForWindow");
    if (UINT dpi = get ? get(window) : 0) return dpi;
    HDC dc = GetDC(window);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? (UINT)dpi : kBaseDpi;
}

int SystemMetricAt(int index, UINT dpi) {
    using GetMetric = int(WINAPI*)(int, UINT);
    if (auto get = UserCall<GetMetric>("GetSystemMetricsForDpi")) return get(index, dpi);
    return Scaled(GetSystemMetrics(index), dpi);
}

UINT DialogDpi(HWND window) {
    UINT dpi = 0;
    WithRecord(window, [&](WindowRecord& record) { dpi = record.isDialog ? record.dpi : 0; });
    if (!dpi) WithRecord(GetParent(window), [&](WindowRecord& record) { dpi = record.dpi; });
    return dpi ? dpi : WindowDpi(window);
}

HFONT TakeScale(HWND dialog, UINT dpi) {
    Layout layout = {};
    if (!LayoutOf(dialog, &layout)) return nullptr;
    KeepDialogManagerOut(dialog);
    HFONT ownFont = MakeDialogFont(layout, dpi);
    BaseUnits units = layout.mode == CoordinateMode::DialogUnits ? UnitsWith(dialog, ownFont) : BaseUnits{0, 0};
    UINT contentDpi = layout.mode != CoordinateMode::DialogUnits ? dpi
                      : dpi == kBaseDpi                            ? kBaseDpi
                                                                   : PictureDpi(units, kDialogUnitsAt96);
    HFONT previous = nullptr;
    WithRecord(dialog, [&](WindowRecord& record) {
        previous = record.ownDialogFont;
        record.ownDialogFont = ownFont;
        record.dpi = dpi;
        record.units = units;
        record.contentDpi = contentDpi;
    });
    return previous;
}

int OwnDialogFonts() {
    int count = 0;
    AnyRecord([&](WindowRecord& record) {
        count += record.ownDialogFont != nullptr;
        return false;
    });
    return count;
}

UINT ContentDpi(HWND dialog) {
    UINT dpi = kBaseDpi;
    WithRecord(dialog, [&](WindowRecord& record) { dpi = record.contentDpi ? record.contentDpi : record.dpi; });
    return dpi;
}

HFONT DialogFontOf(HWND dialog) {
    HFONT font = nullptr;
    WithRecord(dialog, [&](WindowRecord& record) { font = record.ownDialogFont ? record.ownDialogFont : record.dialogFont; });
    return font;
}

Box ControlBox(HWND dialog, const Box& given) {
    Layout layout = {};
    return LayoutOf(dialog, &layout) ? PixelBox(layout, given) : given;
}

bool AnswerScaledSize(HWND dialog, UINT dpi, SIZE* size) {
    Layout layout = {};
    dpi = UsableDpi(dpi);
    if (!size || !dpi || !LayoutOf(dialog, &layout)) return false;
    layout.dpi = dpi;
    if (layout.mode == CoordinateMode::DialogUnits) {
        HFONT ownFont = MakeDialogFont(layout, dpi);
        layout.units = ownFont ? MeasureBaseUnits(ownFont) : UnitsWith(dialog, nullptr);
        if (ownFont) DeleteObject(ownFont);
    }
    RECT outer = WindowRectFor(layout, ClientSizeOf(layout), dpi);
    *size = SIZE{outer.right - outer.left, outer.bottom - outer.top};
    return true;
}

void Rescale(HWND dialog, UINT dpi, const RECT* suggested) {
    dpi = UsableDpi(dpi);
    if (!dpi || !IsDialogRecord(dialog)) return;
    UINT oldContentDpi = ContentDpi(dialog);
    HeldForScale old = TakeHeldForScale(dialog);
    HFONT oldDialogFont = TakeScale(dialog, dpi);

    Layout layout = {};
    LayoutOf(dialog, &layout);
    PlaceWindow(dialog, layout, suggested);
    UINT contentDpi = ContentDpi(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        RescaleControl(dialog, child, contentDpi);
    ShowDialogIconsAgain(dialog);

    if (oldDialogFont) DeleteObject(oldDialogFont);
    if (oldContentDpi != contentDpi) ReleaseUnusedFonts(oldContentDpi);
    ReleaseDrawnPictures(old.drawn);
    ReleaseCursor(old.cursor);
    Redraw(dialog);
}

}  // namespace tk
