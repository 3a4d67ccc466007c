// The windows at the screen's scale, run in prefixes at 100 %, 150 % and 200 %
// (LogPixels 96, 144, 192): the pixel windows the 96-DPI layout times dpi/96,
// the others in dialog units of their scaled font, fonts, gradient, pictures
// drawn at the scale; and windows moved between scales as Windows moves them.
#include <doctest.h>

#include <cstdlib>

#include "app/artwork.h"
#include "app/gradient_bands.h"
#include "app/main_window.h"
#include "convert/busy_window.h"
#include "tests/support/modal_driver.h"
#include "tests/support/window_probe.h"
#include "toolkit/scale_rules.h"
#include "windows/secondary_windows.h"

namespace {

const wchar_t* const kMainCaption = L"Veltrane Audio Converter for Adobe Flash.   https://www.veltrane.example/";
const wchar_t* const kStartCaption = L"Veltrane Audio Converter for Adobe Flash. ";

// The screen's dpi, which must be the prefix's (DUZID_EXPECTED_DPI, when set).
UINT Dpi() {
    UINT dpi = test::ScreenDpi();
    if (const char* expected = std::getenv("DUZID_EXPECTED_DPI")) REQUIRE(dpi == (UINT)std::atoi(expected));
    return dpi;
}

bool SameBox(const tk::Box& a, const RECT& b) {
    return a.x == b.left && a.y == b.top && a.width == b.right - b.left && a.height == b.bottom - b.top;
}

int FontHeightOf(HWND control) { return test::FontOf(control).lfHeight; }

// The scale a dialog-unit window's fonts and pictures follow: the growth of
// its base units from those of its bold MS Sans Serif 8 at 100 % (7 x 13).
UINT ContentDpiOf(HWND dialog, UINT dpi) {
    RECT units = test::DialogUnitRect(dialog, 0, 0, 4, 8);
    return dpi == 96 ? dpi : tk::PictureDpi(tk::BaseUnits{units.right, units.bottom}, tk::BaseUnits{7, 13});
}

// The share of pixels, every 3 pixels, that a picture control shows as the
// artwork `name` drawn at its size (or as pixels, when given).
double ShareShownAs(HWND control, const wchar_t* name, std::vector<uint32_t> pixels = {}) {
    RECT size = {};
    GetClientRect(control, &size);
    if (pixels.empty()) {
        pixels.resize((size_t)size.right * size.bottom);
        REQUIRE(PaintArtwork(name, size.right, size.bottom, pixels.data()));
    }
    int same = 0, samples = 0;
    for (int y = 0; y < size.bottom; y += 3)
        for (int x = 0; x < size.right; x += 3, ++samples) {
            uint32_t p = pixels[(size_t)y * size.right + x];
            same += test::PixelAt(control, x, y) == RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
        }
    return samples ? (double)same / samples : 0;
}

}  // namespace

TEST_CASE("main window: the 96-DPI layout times dpi/96, its fonts and gradient; moved to 200 % and back") {
    const UINT dpi = Dpi();
    IN_DIR = "C:\\Tools";
    auto step = [dpi](HWND w) {
        test::Layout here = test::LayoutOf(w);
        CHECK(FontHeightOf(GetDlgItem(w, 1003)) == tk::Scaled(-60, dpi));  // the title, 45 points
        CHECK(FontHeightOf(GetDlgItem(w, 1015)) == tk::Scaled(-11, dpi));  // the dialog font, 8 points
        // The gradient's 200 bands over the face's scaled height (its static edge is 1 pixel).
        HWND load = GetDlgItem(w, 1005);
        int height = tk::Scaled(25, dpi) - 2;
        test::PaintNow(w);
        for (int band = 0; band < 200; band += 66) {
            buttons::BandRows rows = buttons::BandRowsFor(band, height);
            COLORREF colour = 0;
            REQUIRE(buttons::BandColor(0xFF0000, band, &colour));
            if (rows.bottom > rows.top) CHECK(test::PixelAt(load, 2, rows.top) == colour);
        }
        test::MoveToDpi(w, 96);
        test::Layout base = test::LayoutOf(w);
        CHECK((base.client.cx == 1000 && base.client.cy == 350 && SameBox({5, 150, 120, 25}, base.controls[4])));
        for (UINT scale : {dpi, 192u}) {
            CAPTURE(scale);
            test::Layout scaled = scale == dpi ? here : (test::MoveToDpi(w, scale), test::LayoutOf(w));
            CHECK((scaled.client.cx == tk::Scaled(1000, scale) && scaled.client.cy == tk::Scaled(350, scale)));
            REQUIRE(scaled.controls.size() == base.controls.size());
            for (size_t i = 0; i < base.controls.size(); ++i) {
                const RECT& r = base.controls[i];
                CHECK(SameBox(tk::ScaledBox({r.left, r.top, r.right - r.left, r.bottom - r.top}, scale),
                              scaled.controls[i]));
            }
        }
        test::MoveToDpi(w, dpi);
        CHECK(test::SameLayout(test::LayoutOf(w), here));
    };
    CHECK(test::DriveModal(kMainCaption, [] { RunMainWindow(); }, {step, test::PostClose}).completed());
}

TEST_CASE("start window: its dialog units; banner, fonts, icon and cursor at its scale, the banner drawn there") {
    const UINT dpi = Dpi();
    REQUIRE(test::LoadHandCursor());
    auto step = [dpi](HWND w) {
        const UINT content = ContentDpiOf(w, dpi);
        RECT client = {}, expected = test::DialogUnitRect(w, 0, 0, 437, 120);
        GetClientRect(w, &client);
        CHECK(EqualRect(&client, &expected));
        HWND banner = GetWindow(w, GW_CHILD);
        RECT picture = test::RectInParent(banner);
        CHECK(SameBox({picture.left, picture.top, tk::Scaled(640, content), tk::Scaled(154, content)}, picture));
        CHECK(FontHeightOf(GetDlgItem(w, 2005)) == tk::ScaledFontHeight(12, content));
        // The D of the name starts at x 172 of the banner: from the dark sky to
        // the white letter in at most one pixel, as drawn at this scale (the
        // 100 % picture enlarged would smear it over two or more).
        test::PaintNow(w);
        int edge = tk::Scaled(172, content), row = tk::Scaled(30, content), blended = 0;
        CHECK(GetRValue(test::PixelAt(banner, edge - 3, row)) < 60);
        CHECK(GetRValue(test::PixelAt(banner, edge + 3, row)) > 220);
        for (int x = edge - 3; x <= edge + 3; ++x) {
            int red = GetRValue(test::PixelAt(banner, x, row));
            blended += red >= 60 && red <= 220;
        }
        CHECK(blended <= 1);
        if (content != 96) CHECK(ShareShownAs(banner, L"TITLE") == 1.0);
        ICONINFO icon = {}, cursor = {};
        REQUIRE(GetIconInfo((HICON)SendMessageW(w, WM_GETICON, ICON_BIG, 0), &icon));
        CHECK(test::BitmapPixels(icon.hbmColor).size() == (size_t)GetSystemMetricsForDpi(SM_CXICON, dpi) *
                                                              GetSystemMetricsForDpi(SM_CYICON, dpi));
        REQUIRE(GetIconInfo(test::CursorAt(w, test::MiddleOf(test::RectInParent(GetDlgItem(w, 2005)))).cursor, &cursor));
        BITMAP mask = {};
        GetObjectW(cursor.hbmMask, sizeof(mask), &mask);
        CHECK(mask.bmWidth == GetSystemMetricsForDpi(SM_CXCURSOR, dpi));
        CHECK(cursor.hbmColor == nullptr);  // one bit a pixel: black, white or clear, never grey
        CHECK(cursor.xHotspot == (DWORD)tk::MulDivRounded(8, mask.bmWidth, 32));
        for (HBITMAP made : {icon.hbmColor, icon.hbmMask, cursor.hbmMask}) DeleteObject(made);
    };
    auto pressStart = [](HWND w) { test::PostClick(GetDlgItem(w, 2005)); };
    CHECK(test::DriveModal(kStartCaption, RunStartWindow, {step, pressStart}).completed());
}

TEST_CASE("About and Help at the screen's scale; the busy window's frame drawn at the frame's own size") {
    const UINT dpi = Dpi();
    test::StandInMainWindow main;
    auto about = [dpi](HWND w) {
        RECT picture = test::RectInParent(GetWindow(GetWindow(w, GW_CHILD), GW_HWNDNEXT));
        CHECK(SameBox({picture.left, picture.top, tk::Scaled(244, ContentDpiOf(w, dpi)),
                       tk::Scaled(212, ContentDpiOf(w, dpi))}, picture));
    };
    CHECK(test::DriveModal(L"About", RunAboutWindow, {about, test::PostClose}).completed());
    auto help = [dpi](HWND w) {
        test::Layout layout = test::LayoutOf(w);
        CHECK((layout.client.cx == tk::Scaled(400, dpi) && layout.client.cy == tk::Scaled(120, dpi)));
        CHECK(SameBox(tk::ScaledBox({10, 45, 400, 90}, dpi), layout.controls[1]));
        CHECK(FontHeightOf(GetWindow(w, GW_CHILD)) == tk::ScaledFontHeight(20, dpi));
    };
    CHECK(test::DriveModal(L"Help", RunInstructionWindow, {help, test::PostClose}).completed());

    int32_t font = NewBusyWindowFont();
    HWND busy = NewBusyWindow(main.handle(), font);
    ShowBusyWindow(busy, nullptr);
    test::PaintNow(busy);
    HWND frame = GetDlgItem(busy, 101);
    RECT size = {};
    GetClientRect(frame, &size);
    HBITMAP stretched = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), L"load1", IMAGE_BITMAP, size.right,
                                            size.bottom, 0);
    double likeStretched = ShareShownAs(frame, nullptr, test::BitmapPixels(stretched));
    DeleteObject(stretched);
    if (dpi == 96) CHECK(likeStretched == 1.0);  // at 100 % the resource, as it always was
    if (dpi != 96) CHECK((ShareShownAs(frame, L"load1") == 1.0 && likeStretched < 0.75));
    CHECK(test::ClassOf(GetDlgItem(busy, 321)) == L"Static");  // the percentage: plain text for a screen reader
    // Moved to 200 % while it turns: the next frame is drawn for the frame's new size.
    test::MoveToDpi(busy, 192);
    ShowAnimationFrame(busy, 2);
    CHECK(ShareShownAs(frame, L"load2") == 1.0);
    tk::FinishDialog(busy, 0);
    tk::FreeFont(font);
}

TEST_CASE("windows moved between scales 20 times keep nothing of a scale they left, and nothing once closed") {
    const UINT dpi = Dpi();
    REQUIRE(test::LoadHandCursor());
    struct Window {
        const wchar_t* caption;
        void (*run)();
        int handControl;  // where the hand cursor, drawn for each scale, shows
    };
    for (const Window& window : {Window{kStartCaption, RunStartWindow, 2005},
                                 Window{kMainCaption, [] { RunMainWindow(); }, 1005}}) {
        CAPTURE(test::Utf8(window.caption));
        auto moveAround = [&](HWND w, int moves) {
            const UINT scales[] = {144, 192, 120, 168, 96};
            for (int i = 0; i < moves; ++i) {
                test::MoveToDpi(w, scales[i % 5]);
                test::CursorAt(w, test::MiddleOf(test::RectInParent(GetDlgItem(w, window.handControl))));
            }
            test::MoveToDpi(w, dpi);
        };
        // Once first: the platform makes caches of its own at a window's first showing.
        CHECK(test::DriveModal(window.caption, window.run, {test::PostClose}).completed());
        const int gdiBefore = test::GdiObjectCount();
        const tk::Counts countsBefore = tk::GetCounts();
        int gdiAfterFirstRound = -1;
        tk::Counts countsAfterFirstRound = {};
        test::Layout before = {};
        auto firstRound = [&](HWND w) {
            before = test::LayoutOf(w);
            moveAround(w, 5);
            gdiAfterFirstRound = test::GdiObjectCount();
            countsAfterFirstRound = tk::GetCounts();
        };
        auto twentyMoves = [&](HWND w) {
            moveAround(w, 20);
            CHECK(test::GdiObjectCount() == gdiAfterFirstRound);
            CHECK(test::SameToolkitCounts(tk::GetCounts(), countsAfterFirstRound));
            CHECK(test::SameLayout(test::LayoutOf(w), before));
        };
        CHECK(test::DriveModal(window.caption, window.run, {firstRound, twentyMoves, test::PostClose}).completed());
        CHECK(test::GdiObjectCount() == gdiBefore);
        CHECK(test::SameToolkitCounts(tk::GetCounts(), countsBefore));
    }
}
