// What the real program does when a conversion fails, is stopped or cannot
// put its output in place, driven from this process with the encoder double:
// the chosen file is whole or untouched, nothing is left beside it, and the
// user learns why.
#include <doctest.h>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

using test::ProgramRun;

namespace {

const std::string kOld = "an older file of that name, kept byte for byte";
const wchar_t* const kStopQuestion = L"Stop the conversion?";

// A loaded run, with a file already standing under the name converted into.
struct RunOverOldFile {
    test::Installation setup;
    ProgramRun run{setup.program.path(), L"", setup.program.path()};
    HWND main = test::StartAndLoadSong(run, setup);
    std::wstring out = setup.output / L"result.wav";
    RunOverOldFile() { REQUIRE(test::WriteBytes(out, kOld)); }
    // Convert into result.wav, agreeing to replace it; the busy window.
    HWND Convert() {
        REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
        return run.WaitForWindow(test::kBusyCaption, 10000);
    }
    std::wstring Temporary() const { return setup.output / L"DU_ZID-1.converting.wav"; }
    bool OnlyOutputIs(const std::string& bytes) {
        return test::ReadBytes(out) == bytes &&
               test::NamesIn(setup.output.path()) == std::vector<std::wstring>{L"result.wav"};
    }
};

// The highest percentage the busy window showed until it closed, -1 for none;
// -2 when one came that was not above the one before.
int HighestPercent(HWND busy) {
    int highest = -1;
    for (const std::wstring& text : test::WatchPercent(busy)) {
        int percent = test::PercentOf(text);
        if (percent < 0) continue;
        if (percent <= highest) return -2;
        highest = percent;
    }
    return highest;
}

}  // namespace

TEST_CASE_FIXTURE(RunOverOldFile, "failed and stopped runs leave the old file as it was and nothing beside it") {
    setup.Control("duration=10\nprogress=8,150\nerror=song.wav: Invalid data found when processing input\nexit=1\n");
    int highest = HighestPercent(Convert());
    CHECK(highest >= 50);
    CHECK(highest < 100);  // 100 is for a run that succeeded
    CHECK(run.AnswerMessageBox(L"Attention") ==
          L"The conversion failed: the encoder ended with exit code 1.\r\n\r\n"
          L"song.wav: Invalid data found when processing input");
    CHECK(OnlyOutputIs(kOld));

    // An encoder that has written part of its output, then hangs.
    setup.Control("duration=60\nprogress=2,200\nhang\n");
    HWND busy = Convert();
    REQUIRE(busy);
    REQUIRE(test::WaitFor([&] { return !test::ReadBytes(Temporary()).empty(); }, 10000));
    CHECK(test::ReadBytes(out) == kOld);
    // Stop, Escape and Alt+F4 ask alike, in a box of the busy window; No changes nothing.
    ProgramRun::Click(busy, test::kStopButton);
    HWND question = run.WaitForWindow(L"Question", 10000);
    CHECK((question && GetWindow(question, GW_OWNER) == busy));
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == kStopQuestion);
    PostMessageW(busy, WM_KEYDOWN, VK_ESCAPE, 1);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == kStopQuestion);
    PostMessageW(busy, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == kStopQuestion);
    ProgramRun::Click(main, test::kExitButton);  // refused while the run lasts
    Sleep(300);
    CHECK(IsWindowVisible(busy));
    CHECK(test::ChildProcessNamed(run.id(), L"ffmpeg_III.exe") != 0);

    ProgramRun::Click(busy, test::kStopButton);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDYES) == kStopQuestion);
    CHECK(run.AnswerMessageBox(L"Information") == L"The conversion was stopped.");
    CHECK(test::ChildProcessNamed(run.id(), L"ffmpeg_III.exe") == 0);
    CHECK(OnlyOutputIs(kOld));

    // The next run rises and replaces the old file.
    setup.Control("duration=10\nprogress=8,150\n");
    CHECK(HighestPercent(Convert()) >= 50);
    CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
    std::string chunks;
    for (int i = 0; i < 8; ++i) chunks += "encoder double chunk\r\n";
    CHECK(OnlyOutputIs(chunks));
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE_FIXTURE(RunOverOldFile, "the chosen file held open by another program: the message names the whole output") {
    setup.Control("write\n");
    test::ChildProcess holder(L"\"" + test::EnvPath(L"DUZID_HOLD_FILE") + L"\" \"" + out + L"\"");
    REQUIRE(test::WaitFor([&] { return DeleteFileW((out + L".held").c_str()) != 0; }, 10000));
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
    std::wstring kept = Temporary();
    CHECK(run.AnswerMessageBox(L"Attention").rfind(L"The converted file could not take the place of:\r\n" + out +
                                                       L"\r\n\r\nIt is kept as:\r\n" + kept + L"\r\n\r\n",
                                                   0) == 0);
    holder.Kill();
    CHECK(test::ReadBytes(kept) == "encoder double output\r\n");
    CHECK(test::ReadBytes(out) == kOld);
    CHECK(test::NamesIn(setup.output.path()).size() == 2);  // no log left
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE_FIXTURE(RunOverOldFile, "a Yes to Stop keeps the old file, also answered after the encoder ended") {
    setup.Control("duration=2\nprogress=4,150\n");
    int ended = setup.EncodersEnded();
    HWND busy = Convert();
    REQUIRE(busy);
    ProgramRun::Click(busy, test::kStopButton);
    REQUIRE(run.WaitForWindow(L"Question", 10000));
    // No encoder at all would satisfy the second wait from the start: the
    // first needs this one's end.
    REQUIRE(test::WaitFor([&] { return setup.EncodersEnded() > ended; }, 10000));
    REQUIRE(test::WaitFor([&] { return test::ChildProcessNamed(run.id(), L"ffmpeg_III.exe") == 0; }, 10000));
    Sleep(300);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDYES) == kStopQuestion);
    CHECK(run.AnswerMessageBox(L"Information") == L"The conversion was stopped.");
    CHECK(OnlyOutputIs(kOld));

    // Stop pressed again and again as runs end: whatever the closing message
    // says holds for the file, and no question comes once the output is in place.
    std::string output = "encoder double output\r\n";
    setup.Control("sleep=300\nwrite\n");
    for (int round = 0; round < 4; ++round) {
        CAPTURE(round);
        REQUIRE(test::WriteBytes(out, kOld));
        busy = Convert();
        REQUIRE(busy);
        Sleep(250 + 40 * round);
        std::wstring said;
        for (DWORD start = GetTickCount(); said.empty() && GetTickCount() - start < 20000; Sleep(10)) {
            if (run.FindWindowByCaption(L"Question")) run.AnswerMessageBox(L"Question", 1000, IDYES);
            else if (run.FindWindowByCaption(L"Information")) said = run.AnswerMessageBox(L"Information");
            else if (IsWindow(busy)) ProgramRun::Click(busy, test::kStopButton);
        }
        if (said == L"The conversion was stopped.") CHECK(OnlyOutputIs(kOld));
        else CHECK((said == L"Output conversion process finished" && OnlyOutputIs(output)));
    }
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE_FIXTURE(RunOverOldFile, "an encoder that ends with 0 but leaves no output, or an empty one, has failed") {
    SUBCASE("no output") { setup.Control("error=Output file is empty, nothing was encoded\n"); }
    SUBCASE("an empty output") { setup.Control("progress=0,0\nerror=Output file is empty, nothing was encoded\n"); }
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
    CHECK(run.AnswerMessageBox(L"Attention") ==
          L"The conversion failed: the encoder wrote no output.\r\n\r\nOutput file is empty, nothing was encoded");
    CHECK(OnlyOutputIs(kOld));
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}
