// The gradient of the main window's buttons, as computation: band colours and
// which band paints which row.
#include <doctest.h>

#include <initializer_list>

#include "app/gradient_bands.h"

using buttons::BandColor;
using buttons::BandRowsFor;

// The band that paints row of a face height rows high (-1 when none does).
static int BandOfRow(int row, int height) {
    int found = -1;
    for (int band = 0; band < buttons::kBandCount; ++band) {
        buttons::BandRows rows = BandRowsFor(band, height);
        if (row >= rows.top && row < rows.bottom) {
            CHECK(found == -1);  // bands never overlap
            found = band;
        }
    }
    return found;
}

static COLORREF ColorOf(COLORREF base, int band) {
    COLORREF color = 0xDEADBEEF;
    REQUIRE(BandColor(base, band, &color));
    return color;
}

TEST_CASE("the four ramps from top band to bottom band") {
    CHECK(ColorOf(0xFF0000, 0) == RGB(0, 199, 255));
    CHECK(ColorOf(0xFF0000, 199) == RGB(0, 0, 56));
    CHECK(ColorOf(0x00FF00, 0) == RGB(0, 255, 0));
    CHECK(ColorOf(0x00FF00, 199) == RGB(0, 56, 0));
    CHECK(ColorOf(0x0000FF, 0) == RGB(255, 125, 125));
    CHECK(ColorOf(0x0000FF, 125) == RGB(130, 0, 0));
    CHECK(ColorOf(0x0000FF, 199) == RGB(56, 0, 0));
    CHECK(ColorOf(0x808080, 0) == RGB(255, 255, 255));
    CHECK(ColorOf(0x808080, 199) == RGB(56, 56, 56));
}

TEST_CASE("a base colour without a ramp gives no colour") {
    COLORREF color = 0;
    CHECK_FALSE(BandColor(0, 0, &color));
    CHECK_FALSE(BandColor(0x0000FE, 10, &color));
    CHECK_FALSE(BandColor(0xFFFFFF, 10, &color));
}

TEST_CASE("rows map to bands with a 32-bit float step, ties to even") {
    // 25 rows: step 0.125 exactly.
    CHECK(BandOfRow(0, 25) == 4);
    CHECK(BandOfRow(24, 25) == 196);
    CHECK(ColorOf(0xFF0000, BandOfRow(0, 25)) == RGB(0, 195, 251));
    CHECK(ColorOf(0xFF0000, BandOfRow(24, 25)) == RGB(0, 3, 59));
    // 23 rows: step 0.11499999463558197.
    CHECK(BandOfRow(0, 23) == 4);
    CHECK(BandOfRow(1, 23) == 13);
    CHECK(BandOfRow(22, 23) == 195);
    CHECK(ColorOf(0x0000FF, BandOfRow(0, 23)) == RGB(251, 121, 121));
    CHECK(ColorOf(0x0000FF, BandOfRow(22, 23)) == RGB(60, 0, 0));
    // 1 row: band 100 alone.
    CHECK(BandOfRow(0, 1) == 100);
    // 400 rows: every band two rows.
    for (int band = 0; band < 200; ++band) {
        CHECK(BandRowsFor(band, 400).top == 2 * band);
        CHECK(BandRowsFor(band, 400).bottom == 2 * band + 2);
    }
}

TEST_CASE("the bands tile every row exactly once; height 0 paints nothing") {
    for (int height : {0, 1, 23, 25, 137, 400}) {
        CAPTURE(height);
        int covered = 0;
        int previousBottom = 0;
        for (int band = 0; band < 200; ++band) {
            buttons::BandRows rows = BandRowsFor(band, height);
            CHECK(rows.top == previousBottom);
            CHECK(rows.bottom >= rows.top);
            covered += rows.bottom - rows.top;
            previousBottom = rows.bottom;
        }
        CHECK(covered == height);
    }
}
