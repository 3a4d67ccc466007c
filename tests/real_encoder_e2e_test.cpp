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
    const std::pair<const wchar_t*, int> outputs[] = {{L"_mp3_c_b.wave", 2}, {L"_mp3_c_con.wav", 3}, {L"_mp3_c_deep.wav", 4}};
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
