// The rules of converting many files at once that need no window: the Open
// dialog's answer, the input field, output names, the batch's percentage, its
// summary, the WAV header's length and the command line's names.
#include <doctest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "convert/batch_rules.h"
#include "convert/wave_header.h"

using Names = std::vector<std::string>;

static bool AsciiNameBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper((unsigned char)x) < std::toupper((unsigned char)y);
    });
}

TEST_CASE("the Open dialog's answer: one path, or the folder and then the names") {
    CHECK(ChosenFiles(std::string("C:\\In\\a.wav\0", 12)) == Names{"C:\\In\\a.wav"});
    CHECK(ChosenFiles(std::string("C:\\In\0a.wav\0b c.wav\0", 20)) == Names{"C:\\In\\a.wav", "C:\\In\\b c.wav"});
    CHECK(ChosenFiles(std::string("D:\\\0a.wav\0b.wav\0\0junk\0", 23)) == Names{"D:\\a.wav", "D:\\b.wav"});
    CHECK(ChosenFiles(std::string()).empty());

    CHECK(LoadedFilesText({"C:\\In\\a.wav"}) == "C:\\In\\a.wav");
    CHECK(LoadedFilesText({"C:\\In\\a.wav", "C:\\In\\b.wav"}) == "2 files in C:\\In");
    CHECK(LoadedFilesText({"\\\\?\\C:\\In\\con.wav", "C:\\In\\b.wav"}) == "2 files in C:\\In");
    CHECK(LoadedFilesText({"\\\\?\\C:\\In\\con.wav"}) == "C:\\In\\con.wav");
    CHECK(LoadedFilesText({"C:\\In\\a.wav", "C:\\In\\sub\\b.wav", "C:\\In\\c.wav"}) == "3 files");
    CHECK(IsWaveName("Take.WAV"));
    CHECK(IsWaveName("x.Wave"));
    CHECK_FALSE(IsWaveName("x.wav.txt"));
    CHECK_FALSE(IsWaveName("wav"));
}

TEST_CASE("output names: the single file's proposal, later namesakes numbered before the extension") {
    Names inputs = {"C:\\A\\song.wav", "C:\\B\\SONG.wav", "C:\\C\\song (2).wav", "C:\\D\\song.wav", "C:\\E\\notes"};
    // Every output takes the chosen type's extension, which the encoder takes its container from.
    CHECK(BatchOutputNames(inputs, AsciiNameBefore) ==
          Names{"_mp3_c_song.wav", "_mp3_c_SONG (2).wav", "_mp3_c_song (2) (2).wav", "_mp3_c_song (3).wav",
                "_mp3_c_notes.wav"});
    // However deep the input, its own name.
    std::string deep = "C:\\" + std::string(300, 'd') + "\\deep.wav";
    CHECK(BatchOutputNames({deep, "\\\\?\\C:\\In\\deep.WAV"}, AsciiNameBefore) ==
          Names{"_mp3_c_deep.wav", "_mp3_c_deep (2).wav"});
    // Numbered by the final names: song.wav and song.wave both become song.mp3.
    CHECK(BatchOutputNames({"C:\\A\\song.wav", "C:\\B\\song.WAVE", "C:\\C\\song.mp3.wav"}, AsciiNameBefore,
                           OutputType::Mp3) == Names{"_mp3_c_song.mp3", "_mp3_c_song (2).mp3", "_mp3_c_song.mp3.mp3"});
}

TEST_CASE("the batch's percentage weighs each file by its length; unknown lengths weigh the mean") {
    CHECK(BatchPercent({{30, 100}, {90, 0}}) == 25);
    CHECK(BatchPercent({{30, 100}, {-1, 50}, {90, -1}}) == 33);  // the unknown weighs 60: 6000 / 180
    CHECK(BatchPercent({{-1, 100}, {-1, 0}}) == 50);
    CHECK(BatchPercent({{0, 100}, {0, 40}}) == 70);  // no length at all: alike
    CHECK(BatchPercent({{10, 100}, {1e9, 99}}) == 99);
    CHECK(BatchPercent({{10, 100}, {10, 100}}) == 100);
    CHECK(BatchPercent({}) == -1);
    CHECK(FilesDoneText(3, 12) == "3 of 12 files done");
}

TEST_CASE("the batch's closing message: all converted, some failed or skipped, stopped") {
    BatchTally all = {3, 3, 0, {}, false};
    CHECK(BatchSummary(all, "C:\\Out").text == "3 files converted into:\r\nC:\\Out");
    CHECK_FALSE(BatchSummary(all, "C:\\Out").warning);

    BatchTally some = {14, 1, 2, {}, false};
    for (int i = 1; i <= 11; ++i) some.failed.push_back({"f" + std::to_string(i) + ".wav", "bad"});
    SummaryText text = BatchSummary(some, "C:\\Out");
    std::string failed;
    for (int i = 1; i <= 10; ++i) failed += "\r\nf" + std::to_string(i) + ".wav: bad";
    CHECK(text.text == "1 of 14 files converted into:\r\nC:\\Out\r\n\r\nFailed:" + failed +
                           "\r\nand 1 more\r\nSkipped, already there: 2");
    CHECK(text.warning);
    CHECK(BatchSummary({3, 1, 2, {}, false}, "D:\\").text ==
          "1 of 3 files converted into:\r\nD:\\\r\n\r\nSkipped, already there: 2");

    SummaryText stopped = BatchSummary({5, 2, 1, {{"x.wav", "bad"}}, true}, "C:\\Out");
    CHECK(stopped.text == "The conversion was stopped.\r\n2 of 5 files were converted.\r\n\r\nFailed:\r\nx.wav: bad"
                          "\r\nSkipped, already there: 1");
    CHECK(stopped.warning);
    SummaryText clean = BatchSummary({5, 2, 0, {}, true}, "C:\\Out");
    CHECK(clean.text == "The conversion was stopped.\r\n2 of 5 files were converted.");
    CHECK_FALSE(clean.warning);

    Names missing;
    for (int i = 0; i < 12; ++i) missing.push_back("C:\\m" + std::to_string(i));
    CHECK(NotFoundText({"C:\\a b.wav"}) == "These files were not found:\r\nC:\\a b.wav");
    std::string ending = "\r\nC:\\m9\r\nand 2 more";
    CHECK(NotFoundText(missing).substr(NotFoundText(missing).size() - ending.size()) == ending);
}

// A RIFF WAVE head: fmt with this byte rate, then data of this declared size.
static std::string Wave(uint32_t byteRate, uint32_t dataSize, const std::string& before = std::string()) {
    auto le = [](uint32_t v) { return std::string{(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)}; };
    std::string fmt = std::string("\x01\x00\x02\x00", 4) + le(44100) + le(byteRate) + std::string("\x04\x00\x10\x00", 4);
    return "RIFF" + le(0) + "WAVE" + before + "fmt " + le(16) + fmt + "data" + le(dataSize);
}

TEST_CASE("a WAV file's length from its header: data over byte rate, a cut-off file to its end") {
    std::string head = Wave(176400, 176400 * 3);
    CHECK(WaveSeconds(head, head.size() + 176400 * 3) == doctest::Approx(3.0));
    CHECK(WaveSeconds(head, head.size() + 176400) == doctest::Approx(1.0));  // cut off: what is there
    CHECK(WaveSeconds(Wave(176400, 0xFFFFFFFF), 44 + 176400 * 2) == doctest::Approx(2.0));
    std::string odd = "LIST" + std::string("\x03\x00\x00\x00", 4) + "abc" + std::string(1, '\0');  // padded
    std::string listed = Wave(16000, 32000, odd);
    CHECK(WaveSeconds(listed, listed.size() + 32000) == doctest::Approx(2.0));
    CHECK(WaveSeconds(Wave(0, 100), 1000) == -1);           // no byte rate
    CHECK(WaveSeconds("RIFF fake input", 15) == -1);
    CHECK(WaveSeconds(head.substr(0, 30), 1000) == -1);      // no data chunk in the head
    CHECK(WaveSeconds(head, 10) == -1);                      // a file shorter than its head
}

TEST_CASE("names on the command line, split as Windows programs split them") {
    CHECK(CommandLineArguments("\"C:\\Program Files\\DU_ZID.exe\" \"C:\\My Music\\a.wav\" b.wav") ==
          Names{"C:\\My Music\\a.wav", "b.wav"});
    CHECK(CommandLineArguments("DU_ZID.exe").empty());
    CHECK(CommandLineArguments("DU_ZID.exe  \t ").empty());
    CHECK(CommandLineArguments("x \"C:\\Music\\\\\" next") == Names{"C:\\Music\\", "next"});
    CHECK(CommandLineArguments("x a\\\\\\\"b c\\d") == Names{"a\\\"b", "c\\d"});
    CHECK(CommandLineArguments("x \"say \"\"hi\"\"\" \"\"") == Names{"say \"hi\"", ""});
    CHECK(CommandLineArguments("x \"unclosed name") == Names{"unclosed name"});
}
