// Many files at once through the real program, driven from this process with
// the encoder double: chosen together, converted side by side into a folder,
// asked about once, stopped in the middle, named on the command line.
#include <doctest.h>

#include <algorithm>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

using test::ProgramRun;

namespace {

const std::string kOld = "an older file of that name";
const std::string kNew = "encoder double output\r\n";

// Three inputs a.wav, b.wav and c.wav loaded together in a started program.
struct ThreeLoaded {
    test::Installation setup;
    ProgramRun run{setup.program.path(), L"", setup.program.path()};
    HWND main = run.PassStartWindow();
    ThreeLoaded() {
        REQUIRE(main);
        for (const wchar_t* name : {L"a.wav", L"b.wav", L"c.wav"})
            REQUIRE(test::WriteBytes(setup.input / name, "RIFF fake input"));
        REQUIRE(run.LoadFiles(main, setup.input.path(), {L"a.wav", L"b.wav", L"c.wav"}));
    }
    // Convert, the folder picker answered with folder.
    void ConvertInto(const std::wstring& folder) {
        ProgramRun::Click(main, test::kConvertButton);
        REQUIRE(run.ChooseFolder(folder));
    }
    std::vector<std::wstring> Outputs(const std::wstring& folder) const {
        std::vector<std::wstring> names = test::NamesIn(folder);
        std::sort(names.begin(), names.end());
        return names;
    }
    ~ThreeLoaded() {
        DWORD exitCode = 1;
        CHECK(run.ExitProgram(main, &exitCode));
    }
};

// The thread of window is in a loop of the system's: flag says which.
bool InSystemLoop(HWND window, DWORD flag) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & flag) != 0;
}

int Processors() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return (int)info.dwNumberOfProcessors;
}

}  // namespace

TEST_CASE_FIXTURE(ThreeLoaded, "three files chosen together convert side by side; one that is no audio is named") {
    setup.Control("sleep=800\nwrite\n");
    ConvertInto(setup.output.path());
    HWND busy = run.WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    // "0 of 3 files done" is there from the start: only a file done makes the
    // count rise, seen while a third file still runs when fewer run at once.
    if (Processors() < 3) {
        std::wstring counted;
        auto count = [&] { return test::PercentOf(counted = ProgramRun::ControlText(busy, test::kFilesDoneLabel)); };
        CHECK(test::WaitFor([&] { return count() >= 1; }, 5000));
        CHECK(counted.find(L" of 3 files done") != std::wstring::npos);
    }
    CHECK(run.AnswerMessageBox(L"Information") == L"3 files converted into:\r\n" + setup.output.path());
    CHECK(Outputs(setup.output.path()) == std::vector<std::wstring>{L"_mp3_c_a.wav", L"_mp3_c_b.wav", L"_mp3_c_c.wav"});
    CHECK(test::ReadBytes(setup.output / L"_mp3_c_b.wav") == kNew);
    int most = std::min(Processors(), 8);
    CHECK(setup.MostAtOnce() <= most);
    if (most >= 2) CHECK(setup.MostAtOnce() >= 2);

    test::TempFolder second(L" second");
    setup.Control("fail-for=b.wav\nwrite\n");
    ConvertInto(second.path());
    CHECK(run.AnswerMessageBox(L"Attention") ==
          L"2 of 3 files converted into:\r\n" + second.path() +
              L"\r\n\r\nFailed:\r\nb.wav: Invalid data found when processing input");
    CHECK(Outputs(second.path()) == std::vector<std::wstring>{L"_mp3_c_a.wav", L"_mp3_c_c.wav"});
}

TEST_CASE_FIXTURE(ThreeLoaded, "the system menu held open or the main window being moved: the batch goes on underneath") {
    WPARAM command = SC_KEYMENU;
    DWORD loop = GUI_INMENUMODE;
    SUBCASE("the system menu") {}
    SUBCASE("moved by its title bar") { command = SC_MOVE, loop = GUI_INMOVESIZE; }
    setup.Control("sleep=1500\nwrite\n");
    ConvertInto(setup.output.path());
    REQUIRE(run.WaitForWindow(test::kBusyCaption, 10000));
    PostMessageW(main, WM_SYSCOMMAND, command, command == SC_KEYMENU ? VK_SPACE : 0);
    REQUIRE(test::WaitFor([&] { return InSystemLoop(main, loop); }, 10000));
    std::vector<std::wstring> all = {L"_mp3_c_a.wav", L"_mp3_c_b.wav", L"_mp3_c_c.wav"};
    REQUIRE(Outputs(setup.output.path()) != all);
    CHECK(test::WaitFor([&] { return Outputs(setup.output.path()) == all; }, 20000));
    CHECK(InSystemLoop(main, loop));
    // Escape ends a move; a menu opened by Alt+Space closes, then leaves menu mode.
    for (int key = 0; key < 2 && InSystemLoop(main, loop); ++key) {
        PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
        test::WaitFor([&] { return !InSystemLoop(main, loop); }, 2000);
    }
    CHECK(run.AnswerMessageBox(L"Information") == L"3 files converted into:\r\n" + setup.output.path());
}

TEST_CASE_FIXTURE(ThreeLoaded, "outputs already there: one question; Yes replaces them, No skips them, Cancel starts nothing") {
    setup.Control("write\n");
    REQUIRE(test::WriteBytes(setup.output / L"_mp3_c_a.wav", kOld));
    REQUIRE(test::WriteBytes(setup.output / L"_mp3_c_c.wav", kOld));
    ConvertInto(setup.output.path());
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDCANCEL) ==
          L"2 of the 3 converted files already exist in:\r\n" + setup.output.path() + L"\r\n\r\nReplace them?");
    Sleep(500);
    CHECK(setup.Log().empty());
    CHECK(run.FindWindowByCaption(test::kBusyCaption) == nullptr);

    ConvertInto(setup.output.path());
    run.AnswerMessageBox(L"Question", 10000, IDNO);
    CHECK(run.AnswerMessageBox(L"Attention") == L"1 of 3 files converted into:\r\n" + setup.output.path() +
                                                    L"\r\n\r\nSkipped, already there: 2");
    CHECK(test::ReadBytes(setup.output / L"_mp3_c_a.wav") == kOld);
    CHECK(test::ReadBytes(setup.output / L"_mp3_c_b.wav") == kNew);

    ConvertInto(setup.output.path());
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDYES).rfind(L"3 of the 3", 0) == 0);
    CHECK(run.AnswerMessageBox(L"Information") == L"3 files converted into:\r\n" + setup.output.path());
    for (const wchar_t* name : {L"_mp3_c_a.wav", L"_mp3_c_b.wav", L"_mp3_c_c.wav"})
        CHECK(test::ReadBytes(setup.output / name) == kNew);
}

TEST_CASE_FIXTURE(ThreeLoaded, "a batch into .mp3 at a variable rate: every output .mp3, asked about by its final name") {
    setup.Control("write\n");
    REQUIRE(test::WriteBytes(setup.output / L"_mp3_c_b.mp3", kOld));
    REQUIRE(test::WriteBytes(setup.output / L"_mp3_c_c.wav", kOld));  // the type not chosen: not asked about
    ProgramRun::Click(main, test::kConvertButton);
    CHECK(run.ListTexts(L"Convert Audio", L"MP3 files (.mp3)") ==
          std::vector<std::wstring>{L"WAV files holding MP3 audio (.wav)", L"MP3 files (.mp3)"});
    CHECK(run.ListShows(L"Convert Audio", L"MP3 files (.mp3)") == L"WAV files holding MP3 audio (.wav)");
    CHECK(run.ListShows(L"Convert Audio", L"320 kbit/s (best)") == L"128 kbit/s (standard)");
    REQUIRE(run.ChooseInList(L"Convert Audio", L"MP3 files (.mp3)"));
    REQUIRE(run.ChooseInList(L"Convert Audio", L"Variable, best (about 245 kbit/s)"));
    REQUIRE(run.ChooseFolder(setup.output.path()));
    CHECK(run.AnswerMessageBox(L"Question", 60000, IDYES) ==
          L"1 of the 3 converted files already exist in:\r\n" + setup.output.path() + L"\r\n\r\nReplace them?");
    CHECK(run.AnswerMessageBox(L"Information") == L"3 files converted into:\r\n" + setup.output.path());
    CHECK(Outputs(setup.output.path()) ==
          std::vector<std::wstring>{L"_mp3_c_a.mp3", L"_mp3_c_b.mp3", L"_mp3_c_c.mp3", L"_mp3_c_c.wav"});
    CHECK(test::ReadBytes(setup.output / L"_mp3_c_b.mp3") == kNew);
    std::string log = setup.Log();
    size_t lines = 0;
    for (size_t at = 0; (at = log.find(" -q:a 0 -c:v copy  -y ", at)) != std::string::npos; ++at) ++lines;
    CHECK(lines == 3);
}

TEST_CASE("stopped in the middle: the converted files stay, nothing else is left, no encoder runs on") {
    test::Installation setup;
    std::vector<std::wstring> names;
    for (int i = 1; i <= 6; ++i) {
        names.push_back(L"take" + std::to_wstring(i) + L".wav");
        REQUIRE(test::WriteBytes(setup.input / names.back(), "RIFF fake input"));
    }
    setup.Control("sleep=1200\nwrite\n");
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFiles(main, setup.input.path(), names));
    ProgramRun::Click(main, test::kConvertButton);
    REQUIRE(run.ChooseFolder(setup.output.path()));
    HWND busy = run.WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    REQUIRE(test::WaitFor([&] { return test::FilesDone(busy) >= 1; }, 20000));
    ProgramRun::Click(busy, test::kStopButton);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDYES) == L"Stop the conversion?");
    std::wstring said = run.AnswerMessageBox(L"Information");
    std::vector<std::wstring> left = test::NamesIn(setup.output.path());
    CHECK(left.size() >= 1);
    CHECK(left.size() < 6);
    CHECK(said == L"The conversion was stopped.\r\n" + std::to_wstring(left.size()) + L" of 6 files were converted.");
    for (const std::wstring& name : left) CHECK(name.rfind(L"_mp3_c_take", 0) == 0);
    CHECK(test::ChildProcessNamed(run.id(), L"ffmpeg_III.exe") == 0);
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE("files and folders named on the command line load once the main window is up; missing ones are told") {
    test::Installation setup;
    REQUIRE(test::WriteBytes(setup.input / L"b.wave", "RIFF fake input"));
    std::wstring missing = setup.input / L"gone.wav";
    // song.wav and b.wave by their folder, then song.wav again by name: loaded once.
    ProgramRun run(setup.program.path(),
                   L"\"" + setup.input.path() + L"\" \"" + missing + L"\" \"" + (setup.input / L"song.wav") + L"\"",
                   setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    CHECK(run.AnswerMessageBox(L"Attention") == L"These files were not found:\r\n" + missing);
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == L"2 files in " + setup.input.path());
    // The message that loaded them, sent again by another program with a pointer of its own, loads nothing.
    DWORD_PTR result = 0;
    CHECK(SendMessageTimeoutW(main, WM_APP + 1, 0, (LPARAM)0x12345678, SMTO_BLOCK, 10000, &result) != 0);
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == L"2 files in " + setup.input.path());
    setup.Control("write\n");
    ProgramRun::Click(main, test::kConvertButton);
    REQUIRE(run.ChooseFolder(setup.output.path()));
    CHECK(run.AnswerMessageBox(L"Information") == L"2 files converted into:\r\n" + setup.output.path());
    // A .wave input's output takes the type's extension, which the encoder knows.
    CHECK(test::ReadBytes(setup.output / L"_mp3_c_b.wav") == kNew);
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(setup.Settings() == test::Installation::SettingsText(setup.input.path(), setup.output.path(), 0));
}
