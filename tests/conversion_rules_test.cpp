// The rules of a conversion run that need no window: the colour ramp, the time
// read-out, the proposed name and the filters.
#include <doctest.h>

#include "convert/busy_rules.h"
#include "convert/file_naming.h"

TEST_CASE("the colour ramp brightens block after block and restarts on pass 236") {
    ColorRamp ramp = NewColorRamp();
    for (int pass = 1; pass <= 47; ++pass) AdvanceColorRamp(ramp);
    CHECK(ramp.level[0] == 255);
    CHECK(ramp.level[1] == 20);
    AdvanceColorRamp(ramp);  // pass 48 would pass 255 and moves on to the next block
    CHECK(ramp.level[0] == 255);
    CHECK(ramp.level[1] == 25);
    for (int pass = 49; pass <= 235; ++pass) AdvanceColorRamp(ramp);
    CHECK(ramp.level[0] == 255);
    CHECK(ramp.level[3] == 255);
    CHECK(ramp.level[4] == 255);
    AdvanceColorRamp(ramp);  // pass 236
    for (int i = 0; i < 5; ++i) CHECK(ramp.level[i] == 20);
    CHECK(BlockColor(ramp, 2) == RGB(20, 20, 195));
}

TEST_CASE("the processing time read-out") {
    CHECK(ProcessingTimeText(0.0f) == "Processing time: 00:00:00");
    CHECK(ProcessingTimeText(59.9f) == "Processing time: 00:00:59");
    CHECK(ProcessingTimeText(60.0f) == "Processing time: 00:01:00");
    CHECK(ProcessingTimeText(3600.0f) == "Processing time: 01:00:00");
    CHECK(ProcessingTimeText(3723.0f) == "Processing time: 01:02:03");
    CHECK(ProcessingTimeText(123.0f * 3600.0f) == "Processing time: 123:00:00");
    CHECK(AnimationFrameName(1) == "load1");
    CHECK(AnimationFrameName(4) == "load4");
}

TEST_CASE("the proposed output name keeps the input's name and extension") {
    CHECK(ProposedOutputName("C:\\Music\\song.wav") == "_mp3_c_song.wav");
    CHECK(ProposedOutputName("C:song.wav") == "_mp3_c_song.wav");
    CHECK(ProposedOutputName("song.wav") == "_mp3_c_song.wav");
    CHECK(ProposedOutputName("C:\\Music") == "_mp3_c_Music");  // a multi-selection's folder
    std::string long_path = "C:\\" + std::string(255, 'a') + "\\b.wav";
    CHECK(long_path.size() > 260);
    CHECK(ProposedOutputName(long_path) == "_mp3_c_");
    CHECK(ProposedOutputName(long_path.substr(long_path.size() - 260)) == "_mp3_c_b.wav");
    // Characters count, not bytes: 260 Chinese characters are 780 bytes of UTF-8.
    std::string wide_path = "C:\\";
    while (wide_path.size() < 3 + 3 * 250) wide_path += "\xE9\x9F\xB3";  // 音
    wide_path += "\\b.wav";
    CHECK(ProposedOutputName(wide_path) == "_mp3_c_b.wav");  // 259 characters
    CHECK(ProposedOutputName(wide_path + "\xE9\x9F\xB3") == "_mp3_c_b.wav\xE9\x9F\xB3");  // 260
    CHECK(ProposedOutputName(wide_path + "\xE9\x9F\xB3x") == "_mp3_c_");  // 261
}

TEST_CASE("filters written with | reach the platform NUL-separated") {
    std::string filter = FilterForPlatform("A|*.a|B|*.b|");
    CHECK(filter == std::string("A\0*.a\0B\0*.b\0", 12));
}
