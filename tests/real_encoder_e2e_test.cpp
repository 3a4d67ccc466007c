// The encoder built from source, started by the real program: WAV in,
// MP3-coded audio out; once with a ready-made FFmpeg build as a user's own.
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
    CHECK(test::ConvertBatch(program.path(), data.path(), names, out.path(), L"Information") ==
          L"3 files converted into:\r\n" + out.path());
    for (size_t i = 0; i < names.size(); ++i) {
        CAPTURE(i);
        std::wstring converted = out / (L"_mp3_c_" + names[i]);
        CHECK(test::ReadWaveFacts(test::ReadBytes(converted)).formatTag == 0x0055);  // MPEG Layer 3
        CHECK(std::fabs(test::DecodedSeconds(program.path(), converted) - seconds[i]) <= 0.1);
    }
}
