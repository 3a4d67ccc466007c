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

TEST_CASE("60 s over an older file: kept until the new one is whole, 100 % at the end; a file that is not audio") {
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
    std::vector<std::wstring> seen = test::WatchPercent(busy);
    CHECK((!seen.empty() && seen.back() == L"100 %"));
    CHECK(run.AnswerMessageBox(L"Information", 120000) == L"Output conversion process finished");
    // Decoded by the same encoder, the new file lasts as long as the input.
    std::wstring decoded = data / L"decoded.wav";
    test::ChildProcess decoder(L"\"" + (program / L"PLUG-IN\\ffmpeg_III.exe") + L"\" -i \"" + out + L"\" -y \"" +
                               decoded + L"\"");
    REQUIRE(decoder.Wait(120000));
    test::WaveFacts facts = test::ReadWaveFacts(test::ReadBytes(decoded));
    CHECK(facts.formatTag == 1);  // PCM
    CHECK(std::fabs(facts.seconds() - 60) <= 0.1);

    REQUIRE(test::WriteBytes(data / L"notes.wav", "RIFF this is no recording at all, only words"));
    REQUIRE(run.LoadFile(main, data.path(), L"notes.wav"));
    REQUIRE(run.ConvertInto(main, data.path(), L"_mp3_c_notes.wav"));
    CHECK(run.AnswerMessageBox(L"Attention", 120000).find(L"notes.wav: Invalid data found when processing input") !=
          std::wstring::npos);
    CHECK_FALSE(test::FileExists(data / L"_mp3_c_notes.wav"));
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}
