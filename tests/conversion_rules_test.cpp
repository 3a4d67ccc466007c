// The rules of a conversion run that need no window: the colour ramp, the time
// read-out, the proposed name, the filters and what the closing message says.
#include <doctest.h>

#include "convert/busy_window.h"
#include "convert/conversion.h"
#include "convert/file_selection.h"

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
}

TEST_CASE("filters written with | reach the platform NUL-separated") {
    std::string filter = FilterForPlatform("A|*.a|B|*.b|");
    CHECK(filter == std::string("A\0*.a\0B\0*.b\0", 12));
}

TEST_CASE("the closing message tells how the encoder ended") {
    ClosingMessage ok = ClosingMessageFor(EncoderOutcome{EncoderEnd::Exited, 0}, "C:\\P\\PLUG-IN\\ffmpeg_III.exe");
    CHECK(ok.text == "Output conversion process finished");
    CHECK(ok.caption == "Information");
    CHECK(ok.flags == 0x40);

    ClosingMessage missing =
        ClosingMessageFor(EncoderOutcome{EncoderEnd::NotStarted, 2}, "C:\\P\\PLUG-IN\\ffmpeg_III.exe");
    CHECK(missing.text == "The encoder could not be started:\r\nC:\\P\\PLUG-IN\\ffmpeg_III.exe");
    CHECK(missing.caption == "Attention");
    CHECK(missing.flags == 0x30);

    ClosingMessage two = ClosingMessageFor(EncoderOutcome{EncoderEnd::Exited, 2}, "x");
    CHECK(two.text == "The conversion failed: the encoder ended with exit code 2.");
    CHECK(two.flags == 0x30);
    CHECK(ClosingMessageFor(EncoderOutcome{EncoderEnd::Exited, 0xBFFFFFFFu}, "x").text ==
          "The conversion failed: the encoder ended with exit code 3221225471.");
    CHECK(ClosingMessageFor(EncoderOutcome{EncoderEnd::Exited, 0xC0000005u}, "x").text ==
          "The conversion failed: the encoder ended with exit code 0xC0000005.");
}

TEST_CASE("the same file is recognised whatever the case and spelling of its path") {
    CHECK(IsSameFile("C:\\Music\\Song.wav", "c:\\music\\SONG.WAV"));
    CHECK(IsSameFile(" C:\\Music\\a.wav ", "C:\\Music\\sub\\..\\a.wav"));
    CHECK_FALSE(IsSameFile("C:\\Music\\a.wav", "C:\\Music\\_mp3_c_a.wav"));
    CHECK(IsSameFile("C:\\Музыка\\Ёж.wav", "c:\\МУЗЫКА\\ёж.WAV"));
}
