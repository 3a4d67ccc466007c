#include "app/main_buttons.h"

#include "app/main_window_ids.h"
#include "toolkit/scale_rules.h"
#include "toolkit/toolkit.h"

namespace buttons {

void GradientFill(HDC dc, COLORREF base) {
    RECT client = {};
    GetClientRect(WindowFromDC(dc), &client);
    for (int band = 0; band < kBandCount; ++band) {
        BandRows rows = BandRowsFor(band, client.bottom);
        RECT bandRect;
        SetRect(&bandRect, 0, rows.top, client.right + 1, rows.bottom);
        COLORREF color;
        HBRUSH brush = BandColor(base, band, &color) ? CreateSolidBrush(color) : nullptr;
        FillRect(dc, &bandRect, brush);
        DeleteObject(brush);
    }
}

// Where the focus rectangle runs: this far inside the face at 100 %.
constexpr int kFocusInset = 3;

struct Face {
    int id;
    const char* label;
    COLORREF base;
    COLORREF text;
};

static const Face kFaces[] = {
    {kLoadButton, "Load Wav Audio", 0xFF0000, 0xFFFFFF},
    {kConvertButton, "Convert", 0x00FF00, 0xFFFFFF},
    {kExitButton, "Exit", 0x0000FF, 0xFFFFFF},
    {kAboutButton, "About", 0x808080, 0x000000},
    {kHelpButton, "Help", 0x808080, 0x000000},
};

static const Face* FaceOf(int id) {
    for (const Face& face : kFaces)
        if (face.id == id) return &face;
    return nullptr;
}

// The dotted rectangle inside the face of the button with the focus, once the
// user has pressed a key in the window (until then it is hidden, as Windows
// hides it from mouse users).
static void DrawFocusCue(const DRAWITEMSTRUCT* item) {
    if (!(item->itemState & ODS_FOCUS) || (item->itemState & ODS_NOFOCUSRECT)) return;
    if (!tk::FocusCuesShown(GetParent(item->hwndItem))) return;
    UINT dpi = tk::DialogDpi(item->hwndItem);
    RECT cue = item->rcItem;
    InflateRect(&cue, -tk::Scaled(kFocusInset, dpi), -tk::Scaled(kFocusInset, dpi));
    // A line as wide as the scale makes one pixel: nested dotted rectangles.
    for (int line = 0; line < tk::Scaled(1, dpi); ++line) {
        DrawFocusRect(item->hDC, &cue);
        InflateRect(&cue, -1, -1);
    }
}

void DrawMainButton(const DRAWITEMSTRUCT* item) {
    const Face* face = FaceOf((int)item->CtlID);
    if (!face) return;
    RECT textRect = item->rcItem;
    textRect.left = 0;
    const UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item->itemState & ODS_SELECTED) {
        // Held down: no ramp, only the sunken edge and "Process".
        GradientFill(item->hDC, 0);
        RECT edge = item->rcItem;
        DrawEdge(item->hDC, &edge, EDGE_SUNKEN, BF_RECT);
        SetBkMode(item->hDC, TRANSPARENT);
        SetTextColor(item->hDC, 0xFF0000);
        DrawTextA(item->hDC, "Process", -1, &textRect, kCentred);
    } else {
        SetBkMode(item->hDC, TRANSPARENT);
        GradientFill(item->hDC, face->base);
        SetTextColor(item->hDC, face->text);
        DrawTextA(item->hDC, face->label, -1, &textRect, kCentred);
    }
    DrawFocusCue(item);
}

}  // namespace buttons
