// The encoder built from source, started by the real program: WAV in,
// MP3-coded audio out; once with a ready-made FFmpeg build as a user's own.
#include <doctest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/wave_file.h"

using test::TempFolder;

namespace {

void ConvertWithRealEncoder(const std::wstring& programSuffix, const std::wstring& dataSuffix,
                            bool (*install)(const std::wstring&)) {
    TempFolder program(programSuffix);
    TempFolder data(dataSuffix);
    REQUIRE(test::InstallProgram(program.path()));
    REQUIRE(install(program.path()));
    test::ConvertWithRealEncoder(program.path(), data.path(), 10);
}

}  // namespace

TEST_CASE("a 10-second stereo WAV becomes MP3-coded audio of the same length, from and into folders named in Cyrillic") {
    ConvertWithRealEncoder(L" Программа", L" Записи Ёж", test::InstallRealEncoder);
}

// The progress and failure reading must not depend on the encoder shipped.
TEST_CASE("the same with a user's own FFmpeg build in PLUG-IN") {
    ConvertWithRealEncoder(L" program", L" data", test::InstallUserEncoder);
}

// Long enough for the built encoder (some 4 s under Wine) to be watched at work
// through a read-out that changes once a second.
TEST_CASE("600 s over an older file: kept until the new one is whole, the percentage rising; a file that is not audio") {
    TempFolder program(L" program");
    TempFolder data(L" data");
    REQUIRE(test::InstallProgram(program.path()));
    REQUIRE(test::InstallRealEncoder(program.path()));
    // Tags that claim 1 s of input and a position of 599 s: read anywhere in the log, they made it 99 % at once.
    std::string tagged = test::WithInfoTags(test::StereoWave(600, 440, 554.37),
                                            {{"ICMT", "Duration: 00:00:01.00"}, {"INAM", "time=00:09:59.00"}});
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
    CHECK(std::fabs(test::DecodedSeconds(program.path(), out) - 600) <= 0.1);

    REQUIRE(test::WriteBytes(data / L"notes.wav", "RIFF this is no recording at all, only words"));
    REQUIRE(run.LoadFile(main, data.path(), L"notes.wav"));
    REQUIRE(run.ConvertInto(main, data.path(), L"_mp3_c_notes.wav"));
    // The encoder's reason without the path it puts before it.
    CHECK(run.AnswerMessageBox(L"Attention", 120000) ==
          L"The conversion failed: the encoder ended with exit code 1.\r\n\r\nInvalid data found when processing input");
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
    CHECK(test::ConvertBatch(program.path(), data.path(), names, out.path(), L"Information") ==
          L"3 files converted into:\r\n" + out.path());
    for (size_t i = 0; i < names.size(); ++i) {
        CAPTURE(i);
        std::wstring converted = out / (L"_mp3_c_" + names[i]);
        CHECK(test::ReadWaveFacts(test::ReadBytes(converted)).formatTag == 0x0055);  // MPEG Layer 3
        CHECK(std::fabs(test::DecodedSeconds(program.path(), converted) - seconds[i]) <= 0.1);
    }
}

namespace {

// The program with the real encoder, started with these files named on its command line.
struct RealBatch {
    TempFolder program{L" program"};
    TempFolder data{L" data"};
    TempFolder out{L" batch out"};
    std::unique_ptr<test::ProgramRun> run;
    HWND main = nullptr;
    void Start(const std::vector<std::wstring>& named) {
        REQUIRE(test::InstallProgram(program.path()));
        REQUIRE(test::InstallRealEncoder(program.path()));
        std::wstring arguments;
        for (const std::wstring& path : named) arguments += L" \"" + path + L"\"";
        run.reset(new test::ProgramRun(program.path(), arguments, program.path()));
        main = run->PassStartWindow();
        REQUIRE(main);
        test::ProgramRun::Click(main, test::kConvertButton);
        REQUIRE(run->ChooseFolder(out.path()));
    }
    ~RealBatch() {
        DWORD exitCode = 1;
        if (main) CHECK(run->ExitProgram(main, &exitCode));
    }
};

}  // namespace

TEST_CASE("a .wave, a con.wav found in a folder and an input past 260 characters convert in one batch") {
    RealBatch batch;
    REQUIRE(test::WriteBytes(batch.data / L"b.wave", test::StereoWave(2, 330, 440)));
    // A device's name elsewhere: only its extended form reaches the file.
    REQUIRE(test::WriteBytes(L"\\\\?\\" + (batch.data / L"con.wav"), test::StereoWave(3, 220, 440)));
    std::wstring deep = batch.data.path();
    for (wchar_t part : {L'x', L'y'}) {
        deep += L"\\" + std::wstring(140, part);
        REQUIRE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    }
    deep += L"\\deep.wav";
    REQUIRE(deep.size() > 300);
    REQUIRE(test::WriteBytes(L"\\\\?\\" + deep, test::StereoWave(4, 440, 554.37)));
    batch.Start({batch.data.path(), deep});
    CHECK(batch.run->AnswerMessageBox(L"Information", 120000) == L"3 files converted into:\r\n" + batch.out.path());
    const std::pair<const wchar_t*, int> outputs[] = {{L"_mp3_c_b.wav", 2}, {L"_mp3_c_con.wav", 3}, {L"_mp3_c_deep.wav", 4}};
    for (const auto& output : outputs) {
        CAPTURE(test::Utf8(output.first));
        CHECK(std::fabs(test::DecodedSeconds(batch.program.path(), batch.out / output.first) - output.second) <= 0.1);
    }
}

TEST_CASE("the Stop question held open while encoders finish: their files are kept, none starts, the summary lists a failure") {
    RealBatch batch;
    int slots = std::min<int>(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS), 8);
    std::vector<std::wstring> named = {batch.data / L"bad.wav"};
    REQUIRE(test::WriteBytes(named[0], "RIFF this is no recording at all, only words"));
    for (int i = 1; i <= slots + 3; ++i) {
        named.push_back(batch.data / (L"tone" + std::to_wstring(i) + L".wav"));
        REQUIRE(test::WriteBytes(named.back(), test::StereoWave(30, 110.0 * i, 440)));
    }
    batch.Start(named);
    HWND busy = batch.run->WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    test::ProgramRun::Click(busy, test::kStopButton);
    HWND question = batch.run->WaitForWindow(L"Question", 10000);
    REQUIRE(question);
    // Those running when it opened end and are put in place while it stays open; no other starts.
    auto names = [&] { return test::NamesIn(batch.out.path()); };
    auto temporary = [](const std::wstring& name) { return name.rfind(L"DU_ZID-", 0) == 0; };
    CHECK(test::WaitFor([&] {
        std::vector<std::wstring> now = names();
        return !now.empty() && std::none_of(now.begin(), now.end(), temporary);
    }, 120000));
    Sleep(1000);
    std::vector<std::wstring> kept = names();
    CHECK(std::none_of(kept.begin(), kept.end(), temporary));
    CHECK(kept.size() < named.size() - 1);
    CHECK(batch.run->AnswerMessageBox(L"Question", 10000, IDYES) == L"Stop the conversion?");
    CHECK(batch.run->AnswerMessageBox(L"Attention", 60000) ==
          L"The conversion was stopped.\r\n" + std::to_wstring(kept.size()) + L" of " + std::to_wstring(named.size()) +
              L" files were converted.\r\n\r\nFailed:\r\nbad.wav: Invalid data found when processing input");
    CHECK(names() == kept);
    for (const std::wstring& name : kept)
        CHECK(std::fabs(test::DecodedSeconds(batch.program.path(), batch.out / name) - 30) <= 0.1);
}

namespace {

// A started program with the real encoder and a data folder.
struct RealEncoderRun {
    TempFolder program{L" program"}, data{L" data"};
    bool installed = test::InstallProgram(program.path()) && test::InstallRealEncoder(program.path());
    test::ProgramRun run{program.path(), L"", program.path()};
    HWND main = run.PassStartWindow();
    std::wstring loaded;

    // Loads name holding bytes and converts it into data\output, the lists set to these entries.
    // A file is loaded once: loaded again, its path would show at once and
    // tell nothing of whether the Load has ended.
    std::string Convert(const std::wstring& name, const std::string& bytes, const std::wstring& output,
                        const std::wstring& type, const std::wstring& quality) {
        REQUIRE((installed && main));
        if (name != loaded) {
            REQUIRE(test::WriteBytes(data / name, bytes));
            REQUIRE(run.LoadFile(main, data.path(), name));
            loaded = name;
        }
        test::ProgramRun::Click(main, test::kConvertButton);
        REQUIRE((run.ChooseInList(L"Convert Audio", type) && run.ChooseInList(L"Convert Audio", quality)));
        REQUIRE(run.ChooseFile(L"Convert Audio", data.path(), output));
        // Whichever message comes, its text is what a failure shows.
        HWND box = nullptr;
        test::WaitFor([&] { return (box = run.FindWindowByCaption(L"Information")) || (box = run.FindWindowByCaption(L"Attention")); },
                      120000);
        REQUIRE(box);
        REQUIRE(test::Utf8(run.AnswerMessageBox(test::WindowText(box))) == "Output conversion process finished");
        return test::ReadBytes(data / output);
    }
    ~RealEncoderRun() {
        DWORD exitCode = 1;
        CHECK(run.ExitProgram(main, &exitCode));
    }
};

const std::wstring kMp3 = L"MP3 Audio (*.mp3)", kWav = L"Wav Audio (*.wav)";
const std::wstring kQualities[] = {L"128 kbit/s (standard)", L"192 kbit/s", L"256 kbit/s", L"320 kbit/s (best)",
                                   L"Variable, high (about 190 kbit/s)", L"Variable, best (about 245 kbit/s)"};

}  // namespace

TEST_CASE("each quality: a plain .mp3 of the input's length, every frame at the rate chosen or a variable rate in its range") {
    RealEncoderRun real;
    const uint32_t constant[] = {128, 192, 256, 320};
    const double lowest[] = {140, 190}, highest[] = {240, 300};  // V2 and V0 on this signal: some 160 and 225
    for (int i = 0; i < 6; ++i) {
        CAPTURE(i);
        std::wstring name = L"quality " + std::to_wstring(i) + L".mp3";
        std::string bytes = real.Convert(L"music.wav", test::MusicLikeWave(8), name, kMp3, kQualities[i]);
        test::Mp3Facts facts = test::ReadMp3Facts(bytes);
        CHECK((bytes.compare(0, 4, "RIFF") != 0 && facts.frameAtStart));  // an ID3v2 tag, then a frame header
        CHECK(facts.frames > 250);
        if (i < 4) CHECK(facts.constantKbps == constant[i]);
        else CHECK((facts.xingOrInfo && facts.constantKbps == 0 && facts.meanKbps >= lowest[i - 4] && facts.meanKbps <= highest[i - 4]));
        CHECK(std::fabs(test::DecodedSeconds(real.program.path(), real.data / name) - 8) <= 0.05);
    }
}

TEST_CASE("inside .wav the header states the rate used: capped at 8 kHz, the mean of a variable rate") {
    RealEncoderRun real;
    std::string capped = real.Convert(L"phone.wav", test::MusicLikeWave(6, 8000), L"capped.wav", kWav, kQualities[0]);
    test::Mp3Facts frames = test::ReadMp3Facts(capped);
    test::WaveFacts facts = test::ReadWaveFacts(capped);
    CHECK(facts.formatTag == 0x0055);
    CHECK((frames.constantKbps > 0 && frames.constantKbps < 128));  // the encoder lowered the rate
    CHECK(facts.bytesPerSecond == frames.constantKbps * 125);
    // As long as its frames: the input and the encoder's delay and padding (some three frames of 72 ms).
    CHECK(std::fabs(facts.seconds() - frames.frames * 576 / 8000.0) <= 0.01);
    facts = test::ReadWaveFacts(real.Convert(L"music.wav", test::MusicLikeWave(6), L"variable.wav", kWav, kQualities[4]));
    REQUIRE(facts.bytesPerSecond > 0);  // the encoder's writer states none
    CHECK(std::fabs(facts.seconds() - 6) <= 0.1);
}

TEST_CASE("tags: LIST/INFO and an id3 chunk come back from .mp3 and .wav outputs, the cover unchanged; none invented") {
    RealEncoderRun real;
    std::string mp3;
    // A text frame's text: after its encoding byte, up to its NUL.
    auto text = [&mp3](const char* id) {
        std::string body = test::Id3Frame(mp3, id);
        return body.empty() ? body : body.substr(1, body.find('\0', 1) - 1);
    };
    std::string info = test::WithInfoTags(test::MusicLikeWave(2), {{"INAM", "Blue Train"}, {"IART", "Ёж Quartet"},
                                          {"IPRD", "Sessions"}, {"ICRD", "1957"}, {"ITRK", "3"}, {"IGNR", "Jazz"}, {"ICMT", "take two"}});
    mp3 = real.Convert(L"info.wav", info, L"info.mp3", kMp3, kQualities[0]);
    CHECK((text("TIT2") == "Blue Train" && text("TPE1") == "Ёж Quartet" && text("TALB") == "Sessions"));
    CHECK((text("TDRC") == "1957" && text("TRCK") == "3" && text("TCON") == "Jazz"));
    // The encoder writes a comment as a TXXX frame named "comment", or as COMM.
    CHECK((test::Id3Frame(mp3, "TXXX") + test::Id3Frame(mp3, "COMM")).find("take two") != std::string::npos);
    std::string wav = real.Convert(L"info.wav", info, L"info out.wav", kWav, kQualities[0]);
    for (const char* id : {"INAM", "IART", "IPRD", "ICRD", "IGNR", "ICMT"}) CHECK(test::InfoTag(wav, id) == test::InfoTag(info, id));
    CHECK(test::InfoTag(wav, "IPRT") == "3");

    // A picture of one pixel, whole: the encoder must find its size to copy it.
    const char kPixel[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1f\x15\xc4\x89\0\0\0\x0dIDATx\xda"
                          "c\xf8\xcf\xc0\xf0\x1f\0\x05\0\x02\x01\xa5\xc2\xa0\xa5\0\0\0\0IEND\xae" "B`\x82";
    std::string png(kPixel, sizeof(kPixel) - 1);
    std::string id3 = test::WithId3Chunk(test::MusicLikeWave(2), test::Id3v2Tag({{"TIT2", std::string("\0Night", 6)},
                                         {"APIC", std::string("\0image/png\0\x03" "Cover\0", 18) + png}}));
    mp3 = real.Convert(L"id3.wav", id3, L"id3.mp3", kMp3, kQualities[4]);
    std::string cover = test::Id3Frame(mp3, "APIC");
    CHECK((text("TIT2") == "Night" && cover.size() >= png.size()));
    CHECK(cover.compare(cover.size() - std::min(cover.size(), png.size()), png.size(), png) == 0);
    CHECK(test::InfoTag(real.Convert(L"id3.wav", id3, L"id3 out.wav", kWav, kQualities[0]), "INAM") == "Night");

    mp3 = real.Convert(L"plain.wav", test::MusicLikeWave(2), L"plain.mp3", kMp3, kQualities[0]);
    for (const char* id : {"TIT2", "TPE1", "TALB", "TXXX", "COMM", "APIC"}) CHECK(test::Id3Frame(mp3, id).empty());
}
