// What the real program does when a conversion goes wrong or is stopped, driven
// from this process as a user would with the encoder double: the chosen file
// is whole or untouched, nothing is left beside it, the user learns why.
#include <doctest.h>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

using test::Installation;
using test::ProgramRun;

namespace {

const std::string kOldOutput = "an older file of that name, kept byte for byte";
const std::string kDoubleOutput = "encoder double output\r\n";
const wchar_t* const kStopQuestion = L"Stop the conversion?";

// A fresh installation, its program started and song.wav loaded, and a file
// already standing under the name the tests convert into.
struct LoadedRunOverOldFile {
    Installation setup;
    ProgramRun run{setup.program.path(), L"", setup.program.path()};
    HWND main = test::StartAndLoadSong(run, setup);
    std::wstring out = setup.output / L"result.wav";
    LoadedRunOverOldFile() { REQUIRE(test::WriteBytes(out, kOldOutput)); }
    ~LoadedRunOverOldFile() {
        if (DWORD encoder = test::ChildProcessNamed(run.id(), L"ffmpeg_III.exe")) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, encoder);
            if (process) TerminateProcess(process, 1), CloseHandle(process);
        }
    }
    // Convert into result.wav, agreeing to replace it; the busy window.
    HWND ConvertOverOldFile() {
        REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
        CHECK_FALSE(run.lastQuestion().empty());
        return run.WaitForWindow(test::kBusyCaption, 10000);
    }
    void CheckOldFileAlone() {
        CHECK(test::ReadBytes(out) == kOldOutput);
        CHECK(test::NamesIn(setup.output.path()) == std::vector<std::wstring>{L"result.wav"});
    }
};

}  // namespace

TEST_CASE_FIXTURE(LoadedRunOverOldFile,
                  "a failing run and a stopped one leave the old file as it was and nothing beside it") {
    setup.Control("duration=10\nprogress=4,100\nerror=song.wav: Invalid data found when processing input\nexit=1\n");
    HWND busy = ConvertOverOldFile();
    REQUIRE(busy);
    CHECK(run.AnswerMessageBox(L"Attention") ==
          L"The conversion failed: the encoder ended with exit code 1.\r\n\r\n"
          L"song.wav: Invalid data found when processing input");
    CheckOldFileAlone();

    // An encoder that has written part of its output and then hangs.
    setup.Control("duration=60\nprogress=2,200\nhang\n");
    busy = ConvertOverOldFile();
    REQUIRE(busy);
    std::wstring temporary = setup.output / L"result.converting.wav";
    REQUIRE(test::WaitFor([&] { return test::ReadBytes(temporary).size() > 0; }, 10000));
    CHECK(test::FileExists(temporary + L".log"));
    CHECK(test::ReadBytes(out) == kOldOutput);

    // Stop, Escape and Alt+F4 ask alike; No changes nothing.
    ProgramRun::Click(busy, test::kStopButton);
    HWND question = run.WaitForWindow(L"Question", 10000);
    CHECK((question && GetWindow(question, GW_OWNER) == busy));
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == kStopQuestion);
    PostMessageW(busy, WM_KEYDOWN, VK_ESCAPE, 1);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == kStopQuestion);
    PostMessageW(busy, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == kStopQuestion);
    Sleep(300);
    CHECK(IsWindowVisible(busy));
    CHECK(test::ChildProcessNamed(run.id(), L"ffmpeg_III.exe") != 0);
    // Exit is refused while the run lasts.
    ProgramRun::Click(main, test::kExitButton);
    Sleep(300);
    CHECK(IsWindow(main));

    PostMessageW(busy, WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDYES) == kStopQuestion);
    CHECK(run.AnswerMessageBox(L"Information") == L"The conversion was stopped.");
    CHECK_FALSE(IsWindow(busy));
    CHECK(test::ChildProcessNamed(run.id(), L"ffmpeg_III.exe") == 0);
    CheckOldFileAlone();

    // The next run replaces the old file.
    setup.Control("write\n");
    REQUIRE(ConvertOverOldFile());
    CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
    CHECK(test::ReadBytes(out) == kDoubleOutput);
    CHECK(test::NamesIn(setup.output.path()) == std::vector<std::wstring>{L"result.wav"});
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE_FIXTURE(LoadedRunOverOldFile, "the percentage rises, and shows 100 % only for a run that succeeded") {
    for (bool succeeds : {true, false}) {
        CAPTURE(succeeds);
        setup.Control(std::string("duration=10\nprogress=12,200\n") + (succeeds ? "" : "exit=1\n"));
        HWND busy = ConvertOverOldFile();
        REQUIRE(busy);
        std::vector<std::wstring> seen = test::WatchPercent(busy);
        std::string shown;
        for (const std::wstring& text : seen) shown += test::Utf8(text) + "|";
        CAPTURE(shown);
        int last = -1, numbers = 0;
        for (const std::wstring& text : seen) {
            int percent = test::PercentOf(text);
            if (percent < 0) continue;
            CHECK(text == std::to_wstring(percent) + L" %");
            CHECK(percent > last);
            last = percent;
            ++numbers;
        }
        CHECK(numbers >= 4);
        CHECK(test::PercentOf(seen.front()) < 50);
        if (succeeds) {
            CHECK(seen.back() == L"100 %");
            CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
            CHECK(test::ReadBytes(out).size() == 12 * std::string("encoder double chunk\r\n").size());
        } else {
            CHECK(last >= 75);
            CHECK(last < 100);
            CHECK(run.AnswerMessageBox(L"Attention").rfind(L"The conversion failed", 0) == 0);
            CHECK(test::ReadBytes(out) == kOldOutput);
        }
        test::WriteBytes(out, kOldOutput);
    }
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE_FIXTURE(LoadedRunOverOldFile,
                  "the chosen file held open by another program: the message names where the output is, whole") {
    setup.Control("write\n");
    test::ChildProcess holder(L"\"" + test::EnvPath(L"DUZID_HOLD_FILE") + L"\" \"" + out + L"\"");
    REQUIRE(test::WaitFor([&] { return test::FileExists(out + L".held"); }, 10000));
    DeleteFileW((out + L".held").c_str());
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
    std::wstring kept = setup.output / L"result.converting.wav";
    std::wstring text = run.AnswerMessageBox(L"Attention");
    CHECK(text.rfind(L"The converted file could not take the place of:\r\n" + out + L"\r\n\r\nIt is kept as:\r\n" +
                         kept + L"\r\n\r\n",
                     0) == 0);
    holder.Kill();
    CHECK(test::ReadBytes(kept) == kDoubleOutput);
    CHECK(test::ReadBytes(out) == kOldOutput);
    CHECK_FALSE(test::FileExists(kept + L".log"));
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}
