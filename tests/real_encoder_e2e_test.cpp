// The real Windows encoder of the set-up, started by the real program: WAV in,
// MP3-coded audio out.
#include <doctest.h>

#include <cmath>
#include <cstdint>

#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/wave_file.h"

using test::ProgramRun;
using test::TempFolder;

namespace {

constexpr int kSeconds = 10;

void ConvertWithRealEncoder(const std::wstring& programSuffix, const std::wstring& dataSuffix) {
    std::wstring encoder = test::EnvPath(L"DUZID_REAL_ENCODER");
    REQUIRE(test::FileExists(encoder));
    TempFolder program(programSuffix);
    TempFolder data(dataSuffix);
    REQUIRE(test::InstallProgram(program.path()));
    CreateDirectoryW((program / L"PLUG-IN").c_str(), nullptr);
    REQUIRE(CopyFileW(encoder.c_str(), (program / L"PLUG-IN\\ffmpeg_III.exe").c_str(), FALSE));
    REQUIRE(test::WriteBytes(data / L"input.wav", test::StereoWave(kSeconds, 440, 554.37)));

    ProgramRun run(program.path(), L"", program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFile(main, data.path(), L"input.wav"));
    ProgramRun::Click(main, test::kConvertButton);
    REQUIRE(run.ChooseFile(L"Convert Audio", data.path(), L"_mp3_c_input.wav"));
    CHECK(run.AnswerMessageBox(L"Information", 120000) == L"Output conversion process finished");
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(exitCode == 0);

    test::WaveFacts facts = test::ReadWaveFacts(test::ReadBytes(data / L"_mp3_c_input.wav"));
    CHECK(facts.riffWave);
    CHECK(facts.formatTag == 0x0055);  // MPEG Layer 3
    CHECK(facts.bytesPerSecond == 16000);  // 128 kbit/s
    REQUIRE(facts.bytesPerSecond > 0);
    CHECK(std::fabs(facts.seconds() - kSeconds) <= 0.1);
}

}  // namespace

TEST_CASE("a 10-second stereo WAV becomes MP3-coded audio of the same length") {
    ConvertWithRealEncoder(L" program", L" data");
}

TEST_CASE("the same from and into folders named in Cyrillic") {
    ConvertWithRealEncoder(L" Программа", L" Записи Ёж");
}
