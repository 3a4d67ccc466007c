// The rules of a conversion run that need no window: the colour ramp, the time
// read-out, the proposed name, the filters, the temporary names and what the
// encoder's log tells.
#include <doctest.h>

#include "convert/busy_rules.h"
#include "convert/encoder_log.h"
#include "convert/file_naming.h"

#include <string>
#include <vector>

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

TEST_CASE("the temporary output: a short name in the chosen folder with the encoder's extension; long paths extended") {
    CHECK(TemporaryOutputPath("C:\\Out\\_mp3_c_song.wav", 1) == "C:\\Out\\DU_ZID-1.converting.wav");
    std::string longName = "C:\\Out\\" + std::string(250, 'n') + ".MP3";
    CHECK(TemporaryOutputPath(longName, 27) == "C:\\Out\\DU_ZID-27.converting.mp3");
    // The extensions the encoder knows no format by, or none at all, write WAV.
    CHECK(TemporaryOutputPath("C:\\Out\\_mp3_c_b.wave", 1) == "C:\\Out\\DU_ZID-1.converting.wav");
    CHECK(TemporaryOutputPath("C:\\a.mp3\\song", 1) == "C:\\a.mp3\\DU_ZID-1.converting.wav");  // a dot in a folder only
    CHECK(TemporaryOutputPath("D:song.mp3", 2) == "D:DU_ZID-2.converting.mp3");
    CHECK(TemporaryOutputPath("\\\\?\\C:\\Out\\x.wav", 3) == "\\\\?\\C:\\Out\\DU_ZID-3.converting.wav");
    CHECK(EncoderLogPath("C:\\Out\\x.converting.wav") == "C:\\Out\\x.converting.wav.log");
    CHECK(FolderOfFile("C:\\Music\\a.wav") == "C:\\Music");
    CHECK(FolderOfFile("D:\\a.wav") == "D:\\");

    // 259 UTF-16 units still fit MAX_PATH; 260 do not. Characters count, not bytes,
    // and one past U+FFFF counts twice.
    std::string fits = "C:\\" + std::string(256, 'a');
    CHECK(ExtendedLengthPath(fits) == fits);
    CHECK(ExtendedLengthPath(fits + "b") == "\\\\?\\" + fits + "b");
    std::string cyrillic = "C:\\";
    for (int i = 0; i < 256; ++i) cyrillic += "\xD0\x96";  // Ж: two bytes, one unit
    CHECK(ExtendedLengthPath(cyrillic) == cyrillic);
    std::string emoji = "C:\\" + std::string(255, 'a') + "\xF0\x9F\x8E\xB5";  // U+1F3B5: two units
    CHECK(ExtendedLengthPath(emoji) == "\\\\?\\" + emoji);
    std::string share = "\\\\server\\share\\" + std::string(250, 's');
    CHECK(ExtendedLengthPath(share) == "\\\\?\\UNC\\server\\share\\" + std::string(250, 's'));
    std::string extended = "\\\\?\\" + fits + "b";
    CHECK(ExtendedLengthPath(extended) == extended);
    std::string relative = std::string(300, 'r');
    CHECK(ExtendedLengthPath(relative) == relative);

    // Found in a folder, a name is taken verbatim whatever its length; shown, without the prefix.
    CHECK(VerbatimPath("Z:\\In\\con.wav") == "\\\\?\\Z:\\In\\con.wav");
    CHECK(VerbatimPath("\\\\server\\s\\a.wav") == "\\\\?\\UNC\\server\\s\\a.wav");
    CHECK(VerbatimPath("\\\\.\\con") == "\\\\.\\con");
    CHECK(PlainPath("\\\\?\\Z:\\In\\con.wav") == "Z:\\In\\con.wav");
    CHECK(PlainPath("\\\\?\\UNC\\server\\s") == "\\\\server\\s");
    CHECK(PlainPath("\\\\?\\GLOBALROOT\\x") == "\\\\?\\GLOBALROOT\\x");
    // Dropped, a full name is taken verbatim too, unless the system would have had to make it full.
    CHECK(HandedOverPath("Z:\\In\\con.wav") == "\\\\?\\Z:\\In\\con.wav");
    CHECK(HandedOverPath("\\\\server\\s\\nul.wave") == "\\\\?\\UNC\\server\\s\\nul.wave");
    for (const char* kept : {"Z:\\In\\..\\con.wav", "Z:\\In\\.\\a.wav", "Z:\\In\\\\a.wav", "Z:/In/a.wav", "Z:\\In\\",
                             "In\\a.wav", "Z:a.wav", "\\\\?\\Z:\\a.wav", "\\\\.\\con"})
        CHECK(HandedOverPath(kept) == kept);
    CHECK(FolderOfFile("\\\\?\\Z:\\con.wav") == "\\\\?\\Z:\\");
    CHECK(JoinPath("C:\\Out\\\\", "a.wav") == "C:\\Out\\a.wav");
    CHECK(NameOf("\\\\?\\Z:\\In\\con.wav") == "con.wav");
}

// Standard error of the real encoder for 20 s of audio, as it came under Wine.
const char* const kRealLog =
    "Input #0, wav, from 'Z:\\tmp\\tone.wav':\r\n"
    "  Duration: 00:00:20.00, bitrate: 1411 kb/s\r\n"
    "    Stream #0:0: Audio: pcm_s16le ([1][0][0][0] / 0x0001), 44100 Hz, stereo, s16, 1411 kb/s\r\n"
    "Output #0, wav, to 'Z:\\tmp\\out.wav':\r\n"
    "size=       0kB time=00:00:09.30 bitrate=   0.1kbits/s speed=18.3x    \r"
    "size=     256kB time=00:00:19.07 bitrate= 110.0kbits/s speed=18.9x    \r";

TEST_CASE("the percentage comes from the last position in the input's duration") {
    std::string log = kRealLog;
    CHECK(ProgressPercent(log) == 95);
    CHECK(ProgressPercent(log.substr(0, log.find("size="))) == 0);  // a duration, no position yet
    CHECK(ProgressPercent(log.substr(0, log.find("  Duration"))) == -1);
    CHECK(ProgressPercent(log.substr(0, log.find("time=00:00:19") + 9)) == 46);  // a position cut short
    // The last report may pass the duration: 100 waits for the encoder's exit code.
    CHECK(ProgressPercent(log + "size=  313kB time=00:00:20.01 bitrate= 128.2kbits/s\r") == 99);
    CHECK(ProgressPercent("  Duration: N/A, bitrate: N/A\r\nsize= 1kB time=00:00:01.00\r") == -1);
    CHECK(ProgressPercent("Input #0\n  Duration: 01:00:00.00, start\nsize= 1kB time=00:36:00.00 bitrate\r") == 60);
    // Only a finished report, first on its line, that ends the log; frame= starts one with video.
    std::string head = log.substr(0, log.find("size="));
    CHECK(ProgressPercent(head + "frame=  250 fps=0.0 q=-1.0 size=  1kB time=00:00:10.00 bitrate=1\r") == 50);
    CHECK(ProgressPercent(head + "size=  1kB time=00:00:10.00 bitrate=1\r\n") == 50);  // the final one
    CHECK(ProgressPercent(head + "size=  1kB time=00:00:10.00 bitrate=1") == 0);
    CHECK(ProgressPercent("Input #0\r\n  Duration: 120:00:00.00\r\nsize=1kB time=60:00:00.00\r") == 50);
}

// The real encoder's description of a WAV with tags, before its own duration
// line. Values stand after "key : "; a name (of an ID3 frame, say) is printed
// as it is, line breaks and all, and followed by ": " and its value.
std::string WithTags(const std::string& tags) {
    std::string log = kRealLog;
    return log.insert(log.find("  Duration"), "  Metadata:\r\n" + tags);
}

TEST_CASE("tags cannot set the percentage: a duration line of a tag's name makes two, its report is no last line") {
    std::string values = WithTags("    comment         : Duration: 00:00:01.00\r\n"
                                  "    title           : time=00:00:59.00 \r\n"
                                  "                    : size=  1kB time=00:00:59.00\r\n");
    CHECK(ProgressPercent(values) == 95);
    CHECK(ProgressPercent(values.substr(0, values.find("size=     "))) == 0);
    std::string name = WithTags("    x\r\n  Duration: 00:00:01.00, bitrate: 1 kb/s\r\n"
                                "size= 1kB time=00:00:59.00\r: v\r\n");
    CHECK(ProgressPercent(name) == -1);
    // While the name is printed, before the encoder's own duration line.
    std::string printing = name.substr(0, name.find(": v"));
    CHECK(ProgressPercent(printing + ": ") == 0);
    // A name that ends in a report: the line goes on with ": " and the value.
    CHECK(ProgressPercent("Input #0\r\n    \r\n  Duration: 00:01:00.00\r\nsize= 1kB time=00:00:59.00: v\r\n") == 0);
    CHECK(ProgressPercent(WithTags("Stream mapping:\r\n")) == -1);  // the duration line out of the input's section
}

TEST_CASE("the busy window learns the length from a whole log that a report ends, never from a cut one") {
    std::string log = kRealLog, head = log.substr(0, log.find("size="));
    LogProgress none = NextProgress({}, head);
    CHECK((none.inputLength == -1 && none.percent == -1));
    LogProgress learnt = NextProgress(none, log);
    CHECK((learnt.inputLength == 2000 && learnt.percent == 95));
    // A large log whose head ends in a tag name's duration line; the encoder's own lies between head and tail.
    std::string forged = WithTags("    x\n  Duration: 00:00:01.00\n");
    std::string cut =
        LogHeadAndTail(forged.substr(0, forged.find("  Duration: 00:00:20")), log.substr(log.find("size=")));
    CHECK(NextProgress({}, cut).inputLength == -1);
    CHECK(NextProgress(learnt, cut).percent == 95);
    // The tail's first line is a half line: here a tag's value from "size=" on.
    CHECK(NextProgress(learnt, LogHeadAndTail(head, "size= 1kB time=00:00:19.90 bitrate=1\r")).percent == -1);
}

TEST_CASE("the encoder's reason is its last line that is no progress report") {
    std::string log = std::string(kRealLog) + "Z:\\tmp\\bad.wav: Invalid data found when processing input\r\n";
    CHECK(LastErrorLine(log) == "Z:\\tmp\\bad.wav: Invalid data found when processing input");
    CHECK(LastErrorLine("Error while opening encoder\r\nConversion failed!\r\n") == "Error while opening encoder");
    CHECK(LastErrorLine(kRealLog) == "Output #0, wav, to 'Z:\\tmp\\out.wav':");
    CHECK(LastErrorLine("  bell\a and\ttab \r\n\r\n") == "bell andtab");
    std::string longLine = std::string(299, 'x') + "\xD0\x81" + std::string(50, 'y');  // Ё across byte 300
    CHECK(LastErrorLine(longLine) == std::string(299, 'x'));
    CHECK(LastErrorLine(std::string(400, 'z')).size() == 300);
    CHECK(LastErrorLine(std::string(298, 'x') + "\xE9") == std::string(298, 'x'));  // U+FFFD would pass 300
    // C1 and bidirectional controls from a file name; bytes of no character show as U+FFFD, and the
    // pieces of broken ones never join into a control.
    CHECK(LastErrorLine("Z:\\\xE2\x80\xAEvaw.exe\xC2\x85\xE2\x81\xA6x\xE2\x81\xA9: Invalid data\r\n") ==
          "Z:\\vaw.exex: Invalid data");
    CHECK(LastErrorLine("caf\xE9 \xE2\x80\xC2\x85\xAE!") == "caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD!");
    CHECK(LastErrorLine(LogHeadAndTail(kRealLog, "ut\r\nZ:\\a.wav: Invalid data\r\n")) == "Z:\\a.wav: Invalid data");
}

TEST_CASE("the reason leaves out the encoder's own path before it, in any form it printed, also past 300 bytes") {
    std::vector<std::string> paths = {"Z:\\In\\notes.wav", "\\\\?\\Z:\\Out\\DU_ZID-1.converting.wav"};
    CHECK(LastErrorLine("Z:\\In\\notes.wav: Invalid data found when processing input\r\n", paths) ==
          "Invalid data found when processing input");
    CHECK(WithoutEncoderPaths("\\\\?\\z:\\in\\NOTES.wav: Invalid data", paths) == "Invalid data");
    CHECK(WithoutEncoderPaths("Z:\\Out\\DU_ZID-1.converting.wav: Invalid argument", paths) == "Invalid argument");
    // Another file's path, or the path without its ": ", stays.
    CHECK(WithoutEncoderPaths("Z:\\In\\other.wav: Invalid data", paths) == "Z:\\In\\other.wav: Invalid data");
    CHECK(WithoutEncoderPaths("Z:\\In\\notes.wav", paths) == "Z:\\In\\notes.wav");
    std::string deep = "\\\\?\\Z:\\" + std::string(400, 'd') + "\\deep.wav";
    CHECK(LastErrorLine(deep + ": Invalid data found when processing input\r\n", {deep}) ==
          "Invalid data found when processing input");
    CHECK(ExitCodeText(1) == "1");
    CHECK(ExitCodeText(0xC0000005u) == "0xC0000005");
}
