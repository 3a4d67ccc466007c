// What the end of a conversion run tells the user, and how it recognises that
// input and output are the same file (the platform compares the paths).
#include <doctest.h>

#include "convert/conversion.h"
#include "convert/paths.h"

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

    // The reason follows after a blank line; a stop is no failure.
    CHECK(ClosingMessageFor(EncoderOutcome{EncoderEnd::Exited, 1}, "x", "a.wav: Invalid data").text ==
          "The conversion failed: the encoder ended with exit code 1.\r\n\r\na.wav: Invalid data");
    CHECK(ClosingMessageFor(EncoderOutcome{EncoderEnd::NotStarted, 2}, "C:\\e.exe", "File not found.").text ==
          "The encoder could not be started:\r\nC:\\e.exe\r\n\r\nFile not found.");
    ClosingMessage nothing = ClosingMessageFor(EncoderOutcome{EncoderEnd::WroteNothing, 0}, "x", "No output");
    CHECK(nothing.text == "The conversion failed: the encoder wrote no output.\r\n\r\nNo output");
    CHECK(nothing.caption == "Attention");
    CHECK(nothing.flags == 0x30);
    ClosingMessage stopped = ClosingMessageFor(EncoderOutcome{EncoderEnd::Stopped, 1}, "x", "ignored");
    CHECK(stopped.text == "The conversion was stopped.");
    CHECK(stopped.caption == "Information");
    CHECK(stopped.flags == 0x40);
}

TEST_CASE("the same file is recognised whatever the case and spelling of its path") {
    CHECK(IsSameFile("C:\\Music\\Song.wav", "c:\\music\\SONG.WAV"));
    CHECK(IsSameFile(" C:\\Music\\a.wav ", "C:\\Music\\sub\\..\\a.wav"));
    CHECK_FALSE(IsSameFile("C:\\Music\\a.wav", "C:\\Music\\_mp3_c_a.wav"));
    CHECK(IsSameFile("C:\\Музыка\\Ёж.wav", "c:\\МУЗЫКА\\ёж.WAV"));
}
