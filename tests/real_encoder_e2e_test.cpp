// The real Windows encoder of the set-up, started by the real program: WAV in,
// MP3-coded audio out.
#include <doctest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/wave_file.h"

using test::TempFolder;

namespace {

void ConvertWithRealEncoder(const std::wstring& programSuffix, const std::wstring& dataSuffix) {
    TempFolder program(programSuffix);
    TempFolder data(dataSuffix);
    REQUIRE(test::InstallProgram(program.path()));
    REQUIRE(test::InstallRealEncoder(program.path()));
    test::ConvertWithRealEncoder(program.path(), data.path(), 10);
}

}  // namespace

TEST_CASE("a 10-second stereo WAV becomes MP3-coded audio of the same length") {
    ConvertWithRealEncoder(L" program", L" data");
}

TEST_CASE("the same from and into folders named in Cyrillic") {
    ConvertWithRealEncoder(L" Программа", L" Записи Ёж");
}

TEST_CASE("60 s over an older file: kept until the new one is whole, the percentage rising; a file that is not audio") {
    TempFolder program(L" program");
    TempFolder data(L" data");
    REQUIRE(test::InstallProgram(program.path()));
    REQUIRE(test::InstallRealEncoder(program.path()));
    // Tags that claim 1 s of input and a position of 59 s: read anywhere in the log, they made it 99 % at once.
    std::string tagged = test::WithInfoTags(test::StereoWave(60, 440, 554.37),
                                            {{"ICMT", "Duration: 00:00:01.00"}, {"INAM", "time=00:00:59.00"}});
    REQUIRE(test::WriteBytes(data / L"input.wav", tagged));
    std::wstring out = data / L"_mp3_c_input.wav";
    REQUIRE(test::WriteBytes(out, "the older file"));

    test::ProgramRun run(program.path(), L"", program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFile(main, data.path(), L"input.wav"));
    REQUIRE(run.ConvertInto(main, data.path(), L"_mp3_c_input.wav"));
    HWND busy = run.WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    int first = -1;
    auto percent = [&] { return test::PercentOf(test::ProgramRun::ControlText(busy, test::kPercentLabel)); };
    CHECK(test::WaitFor([&] { return (first = percent()) >= 0; }, 60000));
    CHECK(first < 90);
    CHECK(test::WaitFor([&] { return percent() >= 20; }, 60000));
    CHECK(test::ReadBytes(out) == "the older file");
    // Rising to the end, and never down; the window closes as soon as the output is in place.
    std::vector<std::wstring> seen = test::WatchPercent(busy);
    for (size_t i = 1; i < seen.size(); ++i) CHECK(test::PercentOf(seen[i]) > test::PercentOf(seen[i - 1]));
    CHECK(run.AnswerMessageBox(L"Information", 120000) == L"Output conversion process finished");
    // Decoded by the same encoder, the new file lasts as long as the input.
    CHECK(std::fabs(test::DecodedSeconds(program.path(), out) - 60) <= 0.1);

    REQUIRE(test::WriteBytes(data / L"notes.wav", "RIFF this is no recording at all, only words"));
    REQUIRE(run.LoadFile(main, data.path(), L"notes.wav"));
    REQUIRE(run.ConvertInto(main, data.path(), L"_mp3_c_notes.wav"));
    CHECK(run.AnswerMessageBox(L"Attention", 120000).find(L"notes.wav: Invalid data found when processing input") !=
          std::wstring::npos);
    CHECK_FALSE(test::FileExists(data / L"_mp3_c_notes.wav"));
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE("three WAVs converted in one batch: each output lasts as long as its input") {
    TempFolder program(L" program");
    TempFolder data(L" data");
    TempFolder out(L" batch out");
    REQUIRE(test::InstallProgram(program.path()));
    REQUIRE(test::InstallRealEncoder(program.path()));
    const int seconds[] = {3, 5, 7};
    std::vector<std::wstring> names;
    for (int s : seconds) {
        names.push_back(L"tone " + std::to_wstring(s) + L".wav");
        REQUIRE(test::WriteBytes(data / names.back(), test::StereoWave(s, 110.0 * s, 440)));
    }
    test::ProgramRun run(program.path(), L"", program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFiles(main, data.path(), names));
    test::ProgramRun::Click(main, test::kConvertButton);
    REQUIRE(run.ChooseFolder(out.path()));
    CHECK(run.AnswerMessageBox(L"Information", 120000) == L"3 files converted into:\r\n" + out.path());
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    for (size_t i = 0; i < names.size(); ++i) {
        CAPTURE(i);
        std::wstring converted = out / (L"_mp3_c_" + names[i]);
        CHECK(test::ReadWaveFacts(test::ReadBytes(converted)).formatTag == 0x0055);  // MPEG Layer 3
        CHECK(std::fabs(test::DecodedSeconds(program.path(), converted) - seconds[i]) <= 0.1);
    }
}

namespace {

// A started program with the real encoder and a data folder.
struct RealEncoderRun {
    TempFolder program{L" program"};
    TempFolder data{L" data"};
    bool installed = test::InstallProgram(program.path()) && test::InstallRealEncoder(program.path());
    test::ProgramRun run{program.path(), L"", program.path()};
    HWND main = run.PassStartWindow();

    // Convert the loaded file into data\name, the lists set to these entries.
    void ConvertInto(const std::wstring& name, const std::wstring& type, const std::wstring& quality) {
        test::ProgramRun::Click(main, test::kConvertButton);
        REQUIRE(run.ChooseInList(L"Convert Audio", type));
        REQUIRE(run.ChooseInList(L"Convert Audio", quality));
        REQUIRE(run.ChooseFile(L"Convert Audio", data.path(), name));
        // Whichever message comes, its text is what a failure shows.
        HWND box = nullptr;
        test::WaitFor([&] { return (box = run.FindWindowByCaption(L"Information")) || (box = run.FindWindowByCaption(L"Attention")); },
                      120000);
        REQUIRE(box);
        REQUIRE(test::Utf8(run.AnswerMessageBox(test::WindowText(box))) == "Output conversion process finished");
    }
    void Load(const std::wstring& name, const std::string& bytes) {
        REQUIRE(test::WriteBytes(data / name, bytes));
        REQUIRE(run.LoadFile(main, data.path(), name));
    }
    ~RealEncoderRun() {
        DWORD exitCode = 1;
        CHECK(run.ExitProgram(main, &exitCode));
    }
};

const std::wstring kMp3Type = L"MP3 Audio (*.mp3)";
const std::wstring kWavType = L"Wav Audio (*.wav)";
const std::wstring kQualities[] = {L"128 kbit/s (standard)", L"192 kbit/s", L"256 kbit/s", L"320 kbit/s (best)",
                                   L"Variable, high (about 190 kbit/s)", L"Variable, best (about 245 kbit/s)"};

}  // namespace

TEST_CASE("each quality: a plain .mp3 of the input's length, every frame at the rate chosen or a variable rate in its range") {
    RealEncoderRun real;
    REQUIRE(real.installed);
    REQUIRE(real.main);
    real.Load(L"music.wav", test::MusicLikeWave(8));
    const uint32_t constant[] = {128, 192, 256, 320};
    const double lowest[] = {140, 190}, highest[] = {240, 300};  // V2 and V0 on this signal: some 160 and 225
    double variableMeans[2] = {};
    for (int i = 0; i < 6; ++i) {
        CAPTURE(i);
        std::wstring name = L"quality " + std::to_wstring(i) + L".mp3";
        real.ConvertInto(name, kMp3Type, kQualities[i]);
        std::string bytes = test::ReadBytes(real.data / name);
        test::Mp3Facts facts = test::ReadMp3Facts(bytes);
        CHECK(bytes.compare(0, 4, "RIFF") != 0);
        CHECK((facts.id3AtStart || facts.frameAtStart));
        CHECK(facts.frameAtStart);
        CHECK(facts.frames > 250);
        if (i < 4) {
            CHECK(facts.lowestKbps == constant[i]);
            CHECK(facts.highestKbps == constant[i]);
        } else {
            CHECK(facts.xingOrInfo);
            CHECK(facts.lowestKbps < facts.highestKbps);
            CHECK(facts.meanKbps >= lowest[i - 4]);
            CHECK(facts.meanKbps <= highest[i - 4]);
            variableMeans[i - 4] = facts.meanKbps;
        }
        CHECK(std::fabs(test::DecodedSeconds(real.program.path(), real.data / name) - 8) <= 0.05);
    }
    CHECK(variableMeans[1] > variableMeans[0] + 20);
}

TEST_CASE("inside .wav the header states the rate used: capped at 8 kHz, the mean of a variable rate") {
    RealEncoderRun real;
    REQUIRE(real.installed);
    REQUIRE(real.main);
    real.Load(L"phone.wav", test::MusicLikeWave(6, 8000));
    real.ConvertInto(L"capped.wav", kWavType, kQualities[0]);
    std::string capped = test::ReadBytes(real.data / L"capped.wav");
    test::Mp3Facts frames = test::ReadMp3Facts(capped);
    test::WaveFacts facts = test::ReadWaveFacts(capped);
    CHECK(facts.formatTag == 0x0055);
    CHECK(frames.highestKbps < 128);  // the encoder lowered the rate
    CHECK(facts.bytesPerSecond == frames.highestKbps * 125);
    // As long as its frames: the input and the encoder's delay and padding (some three frames of 72 ms).
    CHECK(std::fabs(facts.seconds() - frames.frames * 576 / 8000.0) <= 0.01);
    CHECK(std::fabs(facts.seconds() - 6) <= 0.25);

    real.Load(L"music.wav", test::MusicLikeWave(6));
    real.ConvertInto(L"variable.wav", kWavType, kQualities[4]);
    facts = test::ReadWaveFacts(test::ReadBytes(real.data / L"variable.wav"));
    REQUIRE(facts.bytesPerSecond > 0);  // the encoder's writer states none
    CHECK(std::fabs(facts.seconds() - 6) <= 0.1);
}

TEST_CASE("tags: LIST/INFO and an id3 chunk come back from .mp3 and .wav outputs, the cover unchanged; none invented") {
    RealEncoderRun real;
    REQUIRE(real.installed);
    REQUIRE(real.main);
    // A picture of one pixel, whole: the encoder must find its size to copy it.
    const char kPixel[] = "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x06\x00\x00\x00\x1f\x15\xc4\x89\x00\x00"
                          "\x00\x0d\x49\x44\x41\x54\x78\xda\x63\xf8\xcf\xc0\xf0\x1f\x00\x05\x00\x02\x01\xa5\xc2\xa0\xa5\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";
    std::string png(kPixel, sizeof(kPixel) - 1);
    std::string apic = std::string("\0image/png\0\x03" "Cover\0", 18) + png;
    real.Load(L"info.wav", test::WithInfoTags(test::MusicLikeWave(2), {{"INAM", "Blue Train"}, {"IART", "Ёж Quartet"},
                                                                      {"IPRD", "Sessions"}, {"ICRD", "1957"}, {"ITRK", "3"},
                                                                      {"IGNR", "Jazz"}, {"ICMT", "take two"}}));
    real.ConvertInto(L"info.mp3", kMp3Type, kQualities[0]);
    real.ConvertInto(L"info out.wav", kWavType, kQualities[0]);
    std::string mp3 = test::ReadBytes(real.data / L"info.mp3");
    // A text frame's text: after its encoding byte, up to its NUL.
    auto text = [&mp3](const char* id) {
        std::string body = test::Id3Frame(mp3, id);
        return body.empty() ? body : body.substr(1, body.find('\0', 1) - 1);
    };
    CHECK(text("TIT2") == "Blue Train");
    CHECK(text("TPE1") == "Ёж Quartet");
    CHECK(text("TALB") == "Sessions");
    CHECK(text("TDRC") == "1957");
    CHECK(text("TRCK") == "3");
    CHECK(text("TCON") == "Jazz");
    CHECK(test::Id3Frame(mp3, "TXXX").find("take two") != std::string::npos);  // the encoder's frame for a comment
    std::string wav = test::ReadBytes(real.data / L"info out.wav");
    for (const char* id : {"INAM", "IART", "IPRD", "ICRD", "IGNR", "ICMT"})
        CHECK(test::InfoTag(wav, id) == test::InfoTag(test::ReadBytes(real.data / L"info.wav"), id));
    CHECK(test::InfoTag(wav, "IPRT") == "3");

    real.Load(L"id3.wav", test::WithId3Chunk(test::MusicLikeWave(2),
                                             test::Id3v2Tag({{"TIT2", std::string("\0Night", 6)}, {"APIC", apic}})));
    real.ConvertInto(L"id3.mp3", kMp3Type, kQualities[4]);
    real.ConvertInto(L"id3 out.wav", kWavType, kQualities[0]);
    mp3 = test::ReadBytes(real.data / L"id3.mp3");
    CHECK(text("TIT2") == "Night");
    std::string cover = test::Id3Frame(mp3, "APIC");
    CHECK(cover.size() >= png.size());
    CHECK(cover.compare(cover.size() - png.size(), png.size(), png) == 0);
    CHECK(test::InfoTag(test::ReadBytes(real.data / L"id3 out.wav"), "INAM") == "Night");

    real.Load(L"plain.wav", test::MusicLikeWave(2));
    real.ConvertInto(L"plain.mp3", kMp3Type, kQualities[0]);
    mp3 = test::ReadBytes(real.data / L"plain.mp3");
    for (const char* id : {"TIT2", "TPE1", "TALB", "TXXX", "APIC"}) CHECK(test::Id3Frame(mp3, id).empty());
}
