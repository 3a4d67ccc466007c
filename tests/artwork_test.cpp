// The artwork drawn at run time: every picture at any size, and at 150 % and
// 200 % drawn at that scale, not the 100 % picture enlarged.
#include <doctest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/artwork.h"

namespace {

std::vector<uint32_t> Draw(const wchar_t* name, int width, int height) {
    std::vector<uint32_t> pixels((size_t)width * height, 0xDEADBEEF);
    REQUIRE(PaintArtwork(name, width, height, pixels.data()));
    return pixels;
}

int Red(uint32_t pixel) { return (pixel >> 16) & 0xFF; }

}  // namespace

TEST_CASE("artwork: each picture at any size and in any case of its name; other names refused") {
    const wchar_t* const opaque[] = {L"TITLE", L"patent", L"Load1", L"LOAD2", L"load3", L"LOAD4"};
    for (const wchar_t* name : opaque)
        for (int size : {1, 13, 77}) {
            CAPTURE(size);
            for (uint32_t pixel : Draw(name, size, size + 5)) CHECK((pixel >> 24) == 0xFF);
        }
    // The icon keeps a clear margin around its shape at every size.
    for (int size : {16, 24, 48, 64}) {
        std::vector<uint32_t> icon = Draw(L"Video", size, size);
        CHECK(icon[0] == 0);
        CHECK((icon[(size / 2) * size + size / 2] >> 24) == 0xFF);
    }
    std::vector<uint32_t> pixels(16, 0);
    CHECK_FALSE(PaintArtwork(L"AUTOR", 4, 4, pixels.data()));
    CHECK_FALSE(PaintArtwork(L"LOAD5", 4, 4, pixels.data()));
    CHECK_FALSE(PaintArtwork(L"TITLE", 0, 4, pixels.data()));
}

TEST_CASE("artwork: the banner at 150 % and 200 % has edges one pixel sharp where they fall on whole pixels") {
    // The D of "DU_ZID" starts at x 172 of the banner; its upper bar runs from
    // y 27 for 7 units. At 150 % and 200 % that edge falls between two whole
    // pixels: drawn at the scale, the pixel before it is the dark sky and the
    // one after it the white letter. The 100 % picture enlarged would blend them.
    struct Scale {
        int percent, width, height;
    };
    for (Scale scale : {Scale{150, 960, 231}, Scale{200, 1280, 308}}) {
        CAPTURE(scale.percent);
        std::vector<uint32_t> banner = Draw(L"TITLE", scale.width, scale.height);
        int edge = 172 * scale.percent / 100, row = 30 * scale.percent / 100;
        uint32_t sky = banner[(size_t)row * scale.width + edge - 1], letter = banner[(size_t)row * scale.width + edge];
        CHECK(Red(sky) < 60);
        CHECK(Red(letter) > 220);
    }
}
