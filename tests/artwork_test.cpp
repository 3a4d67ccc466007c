// The artwork drawn at run time: every picture at any size, and at 150 % and
// 200 % drawn at that scale, not the 100 % picture enlarged.
#include <doctest.h>

#include <cstdint>
#include <vector>

#include "app/artwork.h"

static std::vector<uint32_t> Draw(const wchar_t* name, int width, int height) {
    std::vector<uint32_t> pixels((size_t)width * height, 0xDEADBEEF);
    REQUIRE(PaintArtwork(name, width, height, pixels.data()));
    return pixels;
}

TEST_CASE("artwork: each picture at any size, its name in any case, opaque but the icon's margin; others refused") {
    for (const wchar_t* name : {L"TITLE", L"patent", L"Load1", L"LOAD2", L"load3", L"LOAD4"})
        for (int size : {1, 13, 77})
            for (uint32_t pixel : Draw(name, size, size + 5)) CHECK((pixel >> 24) == 0xFF);
    for (int size : {16, 24, 48}) {
        std::vector<uint32_t> icon = Draw(L"Video", size, size);
        CHECK((icon[0] == 0 && (icon[(size / 2) * size + size / 2] >> 24) == 0xFF));
    }
    std::vector<uint32_t> pixels(16);
    CHECK_FALSE(PaintArtwork(L"AUTOR", 4, 4, pixels.data()));
    CHECK_FALSE(PaintArtwork(L"LOAD5", 4, 4, pixels.data()));
    CHECK_FALSE(PaintArtwork(L"TITLE", 0, 4, pixels.data()));
}

TEST_CASE("artwork: the banner at 150 % and 200 % has edges one pixel sharp where they fall on whole pixels") {
    // The D of "DU_ZID" starts at x 172 of the banner, its upper bar at y 27
    // for 7 units. At 150 % and 200 % that edge lies between whole pixels:
    // drawn at the scale, the pixel before it is the dark sky and the one
    // after it the white letter; the 100 % picture enlarged would blend them.
    for (int percent : {150, 200}) {
        CAPTURE(percent);
        int width = 640 * percent / 100, edge = 172 * percent / 100, row = 30 * percent / 100;
        std::vector<uint32_t> banner = Draw(L"TITLE", width, 154 * percent / 100);
        CHECK(((banner[(size_t)row * width + edge - 1] >> 16) & 0xFF) < 60);
        CHECK(((banner[(size_t)row * width + edge] >> 16) & 0xFF) > 220);
    }
}
