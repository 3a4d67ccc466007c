// The windows at the screen's scale, run in prefixes at 100 %, 150 % and 200 %
// (LogPixels 96, 144, 192): every size the 96-DPI layout times dpi/96 in the
// pixel windows, dialog units of the scaled font in the others, fonts, the
// gradient, pictures drawn at the scale; and the same windows moved between
// scales as Windows moves them, nothing held for an old scale left behind.
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
constexpr tk::BaseUnits kUnitsAt100 = {7, 13};  // the bold MS Sans Serif 8 of the dialogs at 96 DPI

// The dpi of the screen, which must be the prefix's (DUZID_EXPECTED_DPI, when set).
UINT Dpi() {
    UINT dpi = test::ScreenDpi();
    if (const char* expected = std::getenv("DUZID_EXPECTED_DPI")) REQUIRE(dpi == (UINT)std::atoi(expected));
    return dpi;
}

tk::Box BoxOf(const RECT& r) { return tk::Box{r.left, r.top, r.right - r.left, r.bottom - r.top}; }

bool SameBox(const tk::Box& a, const RECT& b) {
    tk::Box seen = BoxOf(b);
    return a.x == seen.x && a.y == seen.y && a.width == seen.width && a.height == seen.height;
}

int FontHeightOf(HWND control) { return test::FontOf(control).lfHeight; }

// The scale a dialog-unit window's fonts and pictures follow: its base units' growth.
UINT ContentDpiOf(HWND dialog, UINT dpi) {
    RECT units = test::DialogUnitRect(dialog, 0, 0, 4, 8);
    return dpi == tk::kBaseDpi ? dpi : tk::PictureDpi(tk::BaseUnits{units.right, units.bottom}, kUnitsAt100);
}

// Across the vertical edge at column x of row y, from a dark colour (red below
// 60) to a light one (above 220): how many pixels are neither; -1 when the two
// sides are not dark and light.
int BlendedAcross(HWND window, int x, int y) {
    if (GetRValue(test::PixelAt(window, x - 3, y)) >= 60 || GetRValue(test::PixelAt(window, x + 3, y)) <= 220)
        return -1;
    int blended = 0;
    for (int column = x - 3; column <= x + 3; ++column) {
        int red = GetRValue(test::PixelAt(window, column, y));
        blended += red >= 60 && red <= 220;
    }
    return blended;
}

// The share of pixels, on a grid every 3 pixels, that a picture control shows
// as in pixels (0xAARRGGBB, rows from the top, the control's client size).
double ShareShownAs(HWND control, const std::vector<uint32_t>& pixels) {
    RECT size = {};
    GetClientRect(control, &size);
    REQUIRE(pixels.size() == (size_t)size.right * size.bottom);
    int same = 0, samples = 0;
    for (int y = 0; y < size.bottom; y += 3)
        for (int x = 0; x < size.right; x += 3, ++samples) {
            uint32_t pixel = pixels[(size_t)y * size.right + x];
            same += test::PixelAt(control, x, y) == RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
        }
    return samples ? (double)same / samples : 0;
}

std::vector<uint32_t> Drawn(const wchar_t* name, HWND control) {
    RECT size = {};
    GetClientRect(control, &size);
    std::vector<uint32_t> pixels((size_t)size.right * size.bottom);
    REQUIRE(PaintArtwork(name, size.right, size.bottom, pixels.data()));
    return pixels;
}

COLORREF FaceBandAt(COLORREF base, int row, int height) {
    for (int band = 0; band < buttons::kBandCount; ++band) {
        buttons::BandRows rows = buttons::BandRowsFor(band, height);
        COLORREF colour = 0;
        if (row >= rows.top && row < rows.bottom && buttons::BandColor(base, band, &colour)) return colour;
    }
    return CLR_INVALID;
}

}  // namespace

TEST_CASE("main window: the 96-DPI layout times dpi/96, its fonts and gradient; moved to 200 % and back") {
    const UINT dpi = Dpi();
    IN_DIR = "C:\\Tools";
    std::vector<test::WindowStep> steps = {
        [dpi](HWND w) {
            test::Layout here = test::LayoutOf(w);
            CHECK(FontHeightOf(GetDlgItem(w, 1003)) == tk::Scaled(-60, dpi));  // the title, 45 points
            CHECK(FontHeightOf(GetDlgItem(w, 1023)) == tk::Scaled(-27, dpi));  // the subtitle, 20 points
            CHECK(FontHeightOf(GetDlgItem(w, 1015)) == tk::Scaled(-11, dpi));  // the dialog font, 8 points
            // The face's gradient: 200 bands over the face's scaled height.
            HWND load = GetDlgItem(w, 1005);
            RECT face = {};
            GetClientRect(load, &face);
            CHECK(face.bottom == tk::Scaled(25, dpi) - 2);
            test::PaintNow(w);
            for (int row : {0, (int)face.bottom / 2, (int)face.bottom - 1})
                CHECK(test::PixelAt(load, 2, row) == FaceBandAt(0xFF0000, row, face.bottom));

            test::MoveToDpi(w, 96);
            test::Layout base = test::LayoutOf(w);
            CHECK((base.client.cx == 1000 && base.client.cy == 350));
            CHECK(SameBox(tk::Box{5, 150, 120, 25}, base.controls[4]));  // Load Wav Audio
            CHECK(FontHeightOf(GetDlgItem(w, 1003)) == -60);
            CHECK(here.client.cx == tk::Scaled(1000, dpi));
            CHECK(here.client.cy == tk::Scaled(350, dpi));
            REQUIRE(here.controls.size() == base.controls.size());
            for (size_t i = 0; i < here.controls.size(); ++i)
                CHECK(SameBox(tk::ScaledBox(BoxOf(base.controls[i]), dpi), here.controls[i]));

            test::MoveToDpi(w, 192);
            test::Layout doubled = test::LayoutOf(w);
            CHECK((doubled.client.cx == 2000 && doubled.client.cy == 700));
            for (size_t i = 0; i < doubled.controls.size(); ++i)
                CHECK(SameBox(tk::ScaledBox(BoxOf(base.controls[i]), 192), doubled.controls[i]));
            test::MoveToDpi(w, dpi);
            CHECK(test::SameLayout(test::LayoutOf(w), here));
            CHECK(FontHeightOf(GetDlgItem(w, 1003)) == tk::Scaled(-60, dpi));
        },
        test::PostClose,
    };
    CHECK(test::DriveModal(kMainCaption, [] { RunMainWindow(); }, steps).completed());
}

TEST_CASE("start window: dialog units of its font; banner and fonts at the scale its units grew to, drawn there") {
    const UINT dpi = Dpi();
    REQUIRE(test::LoadHandCursor());
    std::vector<test::WindowStep> steps = {
        [dpi](HWND w) {
            const UINT content = ContentDpiOf(w, dpi);
            RECT client = {}, expected = test::DialogUnitRect(w, 0, 0, 437, 120);
            GetClientRect(w, &client);
            CHECK(EqualRect(&client, &expected));
            HWND banner = GetWindow(w, GW_CHILD);
            RECT picture = test::RectInParent(banner);
            CHECK(SameBox(tk::Box{picture.left, picture.top, tk::Scaled(640, content), tk::Scaled(154, content)},
                          picture));
            CHECK(FontHeightOf(GetDlgItem(w, 2005)) == tk::ScaledFontHeight(12, content));
            // The D of the name starts at x 172 of the banner: from the dark sky
            // to the white letter in at most one pixel, as drawn at this scale
            // (the 100 % picture enlarged would smear it over two or more).
            test::PaintNow(w);
            int edge = tk::Scaled(172, content), row = tk::Scaled(30, content);
            int blended = BlendedAcross(banner, edge, row);
            CHECK((blended >= 0 && blended <= 1));
            if (content != tk::kBaseDpi) CHECK(ShareShownAs(banner, Drawn(L"TITLE", banner)) == 1.0);
            // Icon and cursor at the sizes of this scale.
            ICONINFO icon = {};
            REQUIRE(GetIconInfo((HICON)SendMessageW(w, WM_GETICON, ICON_BIG, 0), &icon));
            CHECK(test::BitmapPixels(icon.hbmColor).size() == (size_t)(GetSystemMetricsForDpi(SM_CXICON, dpi) *
                                                                      GetSystemMetricsForDpi(SM_CYICON, dpi)));
            DeleteObject(icon.hbmColor);
            DeleteObject(icon.hbmMask);
            HCURSOR hand = test::CursorAt(w, test::MiddleOf(test::RectInParent(GetDlgItem(w, 2005)))).cursor;
            ICONINFO cursor = {};
            REQUIRE(GetIconInfo(hand, &cursor));
            BITMAP mask = {};
            GetObjectW(cursor.hbmMask, sizeof(mask), &mask);
            CHECK(mask.bmWidth == GetSystemMetricsForDpi(SM_CXCURSOR, dpi));
            CHECK(cursor.hbmColor == nullptr);  // one bit a pixel: black, white or clear, never grey
            CHECK(cursor.xHotspot == (DWORD)tk::MulDivRounded(8, mask.bmWidth, 32));
            DeleteObject(cursor.hbmMask);
        },
        [](HWND w) { test::PostClick(GetDlgItem(w, 2005)); },
    };
    CHECK(test::DriveModal(kStartCaption, RunStartWindow, steps).completed());
}

TEST_CASE("About and Help at the screen's scale; the busy window's frame drawn at the frame's own size") {
    const UINT dpi = Dpi();
    test::StandInMainWindow main;
    std::vector<test::WindowStep> about = {
        [dpi](HWND w) {
            const UINT content = ContentDpiOf(w, dpi);
            RECT picture = test::RectInParent(GetWindow(GetWindow(w, GW_CHILD), GW_HWNDNEXT));
            CHECK(picture.right - picture.left == tk::Scaled(244, content));
            CHECK(picture.bottom - picture.top == tk::Scaled(212, content));
        },
        test::PostClose,
    };
    CHECK(test::DriveModal(L"About", RunAboutWindow, about).completed());
    std::vector<test::WindowStep> help = {
        [dpi](HWND w) {
            test::Layout layout = test::LayoutOf(w);
            CHECK((layout.client.cx == tk::Scaled(400, dpi) && layout.client.cy == tk::Scaled(120, dpi)));
            CHECK(SameBox(tk::ScaledBox(tk::Box{10, 45, 400, 90}, dpi), layout.controls[1]));
            CHECK(FontHeightOf(GetWindow(w, GW_CHILD)) == tk::ScaledFontHeight(20, dpi));
        },
        test::PostClose,
    };
    CHECK(test::DriveModal(L"Help", RunInstructionWindow, help).completed());

    int32_t font = NewBusyWindowFont();
    HWND busy = NewBusyWindow(main.handle(), font);
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ShowBusyWindow(busy, stop);
    test::PaintNow(busy);
    HWND frame = GetDlgItem(busy, 101);
    RECT size = {};
    GetClientRect(frame, &size);
    HBITMAP stretched = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), L"load1", IMAGE_BITMAP, size.right,
                                            size.bottom, 0);
    double likeEnlarged = ShareShownAs(frame, test::BitmapPixels(stretched));
    DeleteObject(stretched);
    if (dpi == tk::kBaseDpi) {
        CHECK(likeEnlarged == 1.0);  // at 100 % the resource, as it always was
    } else {
        CHECK(ShareShownAs(frame, Drawn(L"load1", frame)) == 1.0);
        CHECK(likeEnlarged < 0.75);
    }
    CHECK(test::ClassOf(GetDlgItem(busy, 321)) == L"Static");  // the percentage: plain text for a screen reader
    tk::FinishDialog(busy, 0);
    tk::FreeFont(font);
    CloseHandle(stop);
}

TEST_CASE("windows moved between scales 20 times keep nothing of a scale they left, and nothing once closed") {
    const UINT dpi = Dpi();
    REQUIRE(test::LoadHandCursor());
    const UINT scales[] = {144, 192, 120, 168, 96};
    struct Window {
        const wchar_t* caption;
        void (*run)();
        int handControl;  // where the hand cursor shows
    };
    const Window windows[] = {{kStartCaption, RunStartWindow, 2005}, {kMainCaption, [] { RunMainWindow(); }, 1005}};
    for (const Window& window : windows) {
        CAPTURE(test::Utf8(window.caption));
        auto moveAround = [&](HWND w, int moves) {
            for (int i = 0; i < moves; ++i) {
                test::MoveToDpi(w, scales[i % 5]);
                // The cursor of the scale is made when the mouse first comes over a hand control.
                test::CursorAt(w, test::MiddleOf(test::RectInParent(GetDlgItem(w, window.handControl))));
            }
            test::MoveToDpi(w, dpi);
        };
        // Once first: the platform makes caches of its own on a window's first showing.
        CHECK(test::DriveModal(window.caption, window.run, {test::PostClose}).completed());
        const int gdiBefore = test::GdiObjectCount();
        const tk::Counts countsBefore = tk::GetCounts();
        int gdiAfterFirstRound = -1, gdiAtEnd = -2;
        tk::Counts countsAfterFirstRound = {}, countsAtEnd = {};
        test::Layout before = {}, after = {};
        std::vector<test::WindowStep> steps = {
            [&](HWND w) {
                before = test::LayoutOf(w);
                moveAround(w, 5);
                gdiAfterFirstRound = test::GdiObjectCount();
                countsAfterFirstRound = tk::GetCounts();
            },
            [&](HWND w) {
                moveAround(w, 20);
                gdiAtEnd = test::GdiObjectCount();
                countsAtEnd = tk::GetCounts();
                after = test::LayoutOf(w);
            },
            test::PostClose,
        };
        CHECK(test::DriveModal(window.caption, window.run, steps).completed());
        CHECK(gdiAtEnd == gdiAfterFirstRound);
        CHECK(test::SameToolkitCounts(countsAtEnd, countsAfterFirstRound));
        CHECK(test::SameLayout(before, after));
        // And once the window is gone, all it held is gone with it, at any scale.
        CHECK(test::GdiObjectCount() == gdiBefore);
        CHECK(test::SameToolkitCounts(tk::GetCounts(), countsBefore));
    }
}
