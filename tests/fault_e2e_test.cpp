// The real program under faults it cannot prevent: an encoder that hangs or is
// killed, folders that cannot be written, files that vanish or turn into
// folders, paths past 260 characters. Driven from this process as a user
// would; whatever happens, the program goes on, loses nothing and tells the truth.
#include <windows.h>
#include <tlhelp32.h>

#include <cmath>

#include <doctest.h>
#include <commctrl.h>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/wave_file.h"

using test::Installation;
using test::ProgramRun;
using test::TempFolder;

namespace {

const wchar_t* const kFinished = L"Output conversion process finished";
// What ending the encoder from outside (exit code 1) is told as.
const wchar_t* const kFailedWithCode1 = L"The conversion failed: the encoder ended with exit code 1.";

// The encoder process the program started; 0 when there is none.
DWORD EncoderProcessOf(DWORD programId) { return test::ChildProcessNamed(programId, L"ffmpeg_III.exe"); }

// Ends a process from outside, as the task manager does (exit code 1).
bool EndProcess(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) return false;
    bool ended = TerminateProcess(process, 1) && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool EndEncoderFromOutside(DWORD programId) {
    DWORD id = 0;
    test::WaitFor([&] { return (id = EncoderProcessOf(programId)) != 0; }, 10000);
    return id != 0 && EndProcess(id);
}

// Ends, when it goes away, an encoder that a test stopped half-way left behind.
struct EncoderReaper {
    DWORD programId;
    ~EncoderReaper() {
        for (int i = 0; i < 3; ++i)
            if (DWORD id = EncoderProcessOf(programId)) EndProcess(id);
    }
};

// The update region of window empties: its owner has painted it.
bool Repaints(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    return test::WaitFor([&] { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }, 5000);
}

// A window of this process laid over an empty part of the main window,
// then taken away: the program must paint what it uncovered.
bool RepaintsUncovered(HWND main) {
    POINT corner = {300, 230};  // client coordinates, clear of every control
    ClientToScreen(main, &corner);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, corner.x,
                                 corner.y, 300, 80, nullptr, nullptr, nullptr, nullptr);
    if (!cover) return false;
    const COLORREF background = RGB(85, 85, 85);
    bool covered = test::WaitFor(
        [&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            return test::ScreenPixel(main, 450, 270) != background;
        },
        5000);
    DestroyWindow(cover);
    return covered && test::WaitFor([&] { return test::ScreenPixel(main, 450, 270) == background; }, 5000);
}

// A folder of exactly length characters inside parent, made of names of at most 60.
std::wstring DeepFolder(const std::wstring& parent, size_t length) {
    std::wstring folder = parent;
    while (folder.size() + 61 < length) {
        folder += L"\\" + std::wstring(60, L'd');
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    folder += L"\\" + std::wstring(length - folder.size() - 1, L'e');
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// The last name of the folder a file dialog shows, from its "Look in" box (cmb2).
std::wstring LookIn(HWND dialog) { return ProgramRun::ControlText(dialog, 0x471); }

// A fresh installation, its program started and song.wav loaded. An encoder
// that a test stopped half-way left running is ended with it.
struct LoadedRun {
    Installation setup;
    ProgramRun run{setup.program.path(), L"", setup.program.path()};
    EncoderReaper reaper{run.id()};
    HWND main = test::StartAndLoadSong(run, setup);
};

// Exit on the main window: the program ends, with exit code 0.
void ExitNormally(ProgramRun& run, HWND main) {
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(exitCode == 0);
}

}  // namespace

TEST_CASE_FIXTURE(LoadedRun,
                  "an encoder that hangs: the run waits, the window stays usable, ending the encoder ends the run") {
    setup.Control("sleep=600000\n");
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
    HWND busy = run.WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    Sleep(1000);

    // Exit and the close box are refused; the busy window stays.
    ProgramRun::Click(main, test::kExitButton);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(800);
    CHECK_FALSE(run.WaitForExit(0, nullptr));
    CHECK(IsWindowVisible(main));
    CHECK(IsWindowVisible(busy));

    // The main window paints; Help and About, whose loops would hold the
    // run's, are refused, also while the stop question is open.
    CHECK(Repaints(main));
    CHECK(Repaints(GetDlgItem(main, test::kLoadButton)));
    CHECK(RepaintsUncovered(main));
    ProgramRun::Click(busy, test::kStopButton);
    REQUIRE(run.WaitForWindow(L"Question", 10000));
    ProgramRun::Click(main, test::kHelpButton);
    ProgramRun::Click(main, test::kAboutButton);
    Sleep(800);
    CHECK(run.FindWindowByCaption(L"Help") == nullptr);
    CHECK(run.FindWindowByCaption(L"About") == nullptr);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == L"Stop the conversion?");
    CHECK(IsWindowVisible(busy));
    CHECK(run.FindWindowByCaption(L"Attention") == nullptr);

    REQUIRE(EndEncoderFromOutside(run.id()));
    CHECK(run.AnswerMessageBox(L"Attention") == kFailedWithCode1);
    CHECK_FALSE(IsWindow(busy));
    ExitNormally(run, main);
    CHECK(setup.Settings() == Installation::SettingsText(setup.input.path(), setup.output.path(), 0));
}

TEST_CASE_FIXTURE(LoadedRun, "the busy window's close command only asks: answered No, the run goes on and ends as usual") {
    setup.Control("sleep=3000\nwrite\n");
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
    HWND busy = run.WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    // The close command, as Alt+F4 sends it.
    PostMessageW(busy, WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == L"Stop the conversion?");
    CHECK(IsWindowVisible(busy));
    // The encoder still runs: Exit is still refused.
    test::ProgramRun::Click(main, test::kExitButton);
    Sleep(500);
    CHECK(IsWindow(main));
    CHECK(run.AnswerMessageBox(L"Information") == kFinished);
    ExitNormally(run, main);
    CHECK(test::FileExists(setup.output / L"result.wav"));
}

TEST_CASE_FIXTURE(LoadedRun,
                  "an encoder killed mid-run: the failure is told, its part-written output goes, the next run works") {
    setup.Control("write\nsleep=600000\n");
    std::wstring out = setup.output / L"result.wav";
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
    REQUIRE(test::WaitFor([&] { return test::FileExists(setup.output / L"DU_ZID-1.converting.wav"); }, 10000));
    REQUIRE(EndEncoderFromOutside(run.id()));
    CHECK(run.AnswerMessageBox(L"Attention") == kFailedWithCode1);
    CHECK(test::NamesIn(setup.output.path()).empty());

    setup.Control("write\n");
    DeleteFileW(out.c_str());
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"again.wav"));
    CHECK(run.AnswerMessageBox(L"Information") == kFinished);
    CHECK(test::FileExists(setup.output / L"again.wav"));
    ExitNormally(run, main);
    CHECK(setup.Settings() == Installation::SettingsText(setup.input.path(), setup.output.path(), 0));
}

TEST_CASE_FIXTURE(LoadedRun, "the program ended from outside during a run takes its encoder with it at once") {
    setup.Control("write\nhang\n");
    REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
    DWORD id = 0;
    REQUIRE(test::WaitFor([&] { return (id = EncoderProcessOf(run.id())) != 0; }, 10000));
    HANDLE encoder = OpenProcess(SYNCHRONIZE, FALSE, id);
    REQUIRE(encoder);
    REQUIRE(EndProcess(run.id()));
    CHECK(WaitForSingleObject(encoder, 1000) == WAIT_OBJECT_0);
    CloseHandle(encoder);
}

TEST_CASE("a read-only settings file stays as it was, read-only") {
    Installation setup;
    std::string stored = Installation::SettingsText(setup.program.path(), setup.program.path(), 3);
    std::wstring ini = setup.program / L"DU_ZID.ini";
    REQUIRE(test::WriteBytes(ini, stored));
    REQUIRE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        ProgramRun run(setup.program.path(), L"", setup.program.path());
        HWND main = test::StartAndLoadSong(run, setup);  // a folder the program would store
        ExitNormally(run, main);
    }
    CHECK(setup.Settings() == stored);
    CHECK((GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Wine leaves out a DLL that the program's own overrides disable, as a broken
// system would; the override goes with the test.
struct DisabledForProgram {
    const wchar_t* key = L"Software\\Wine\\AppDefaults\\DU_ZID.exe";
    explicit DisabledForProgram(const wchar_t* dll) {
        HKEY overrides = nullptr;
        std::wstring path = std::wstring(key) + L"\\DllOverrides";
        REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides,
                                nullptr) == ERROR_SUCCESS);
        RegSetValueExW(overrides, dll, 0, REG_SZ, (const BYTE*)L"", sizeof(wchar_t));
        RegCloseKey(overrides);
    }
    ~DisabledForProgram() { RegDeleteTreeW(HKEY_CURRENT_USER, key); }
};

TEST_CASE("a part of Windows that cannot be loaded is named, and the program ends without crashing" *
          doctest::skip(!test::RunningUnderWine())) {
    Installation setup;
    DisabledForProgram broken(L"comdlg32");
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    ProgramRun::Click(main, test::kLoadButton);
    CHECK(run.AnswerMessageBox(L"Attention") ==
          L"A part of Windows that the program needs could not be loaded: comdlg32.dll");
    DWORD exitCode = 0;
    REQUIRE(run.WaitForExit(10000, &exitCode));
    CHECK(exitCode == 1);
}

TEST_CASE("a folder picker that cannot be opened is told, and Convert is free again" *
          doctest::skip(!test::RunningUnderWine())) {
    Installation setup;
    REQUIRE(test::WriteBytes(setup.input / L"b.wav", "RIFF fake input"));
    DisabledForProgram broken(L"comdlg32");
    ProgramRun run(setup.program.path(), L"\"" + setup.input.path() + L"\"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(test::WaitFor([&] { return ProgramRun::ControlText(main, test::kInputPathField).rfind(L"2 files", 0) == 0; }, 20000));
    for (int round = 0; round < 2; ++round) {
        ProgramRun::Click(main, test::kConvertButton);
        CHECK(run.AnswerMessageBox(L"Attention").rfind(L"The folder picker could not be opened.\r\n\r\n", 0) == 0);
    }
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(setup.Log().empty());
}

TEST_CASE("the settings file turned into a folder while the program runs: the folder stays whole, nothing left over") {
    Installation setup;
    setup.StoreSettings(5);
    std::wstring ini = setup.program / L"DU_ZID.ini";
    {
        ProgramRun run(setup.program.path(), L"", setup.program.path());
        HWND main = test::StartAndLoadSong(run, setup);
        REQUIRE(DeleteFileW(ini.c_str()));
        REQUIRE(CreateDirectoryW(ini.c_str(), nullptr));
        REQUIRE(test::WriteBytes(ini + L"\\notes.txt", "kept"));
        ExitNormally(run, main);
    }
    CHECK(test::FolderExists(ini));
    CHECK(test::ReadBytes(ini + L"\\notes.txt") == "kept");
    // No half-written settings beside it.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((setup.program / L"*").c_str(), &found);
    REQUIRE(search != INVALID_HANDLE_VALUE);
    do {
        std::wstring name = found.cFileName;
        CAPTURE(test::Utf8(name));
        CHECK((name == L"." || name == L".." || name == L"DU_ZID.exe" || name == L"DU_ZID.ini" || name == L"PLUG-IN"));
    } while (FindNextFileW(search, &found));
    FindClose(search);

    // The next run starts from the program's folder, and leaves the folder be.
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == setup.program.path());
    ExitNormally(run, main);
    CHECK(test::ReadBytes(ini + L"\\notes.txt") == "kept");
}

TEST_CASE("the settings file held by another program at start-up: the exit leaves it as it was") {
    Installation setup;
    setup.StoreSettings(7);
    const std::string stored = setup.Settings();
    std::wstring ini = setup.program / L"DU_ZID.ini";
    test::ChildProcess holder(L"\"" + test::EnvPath(L"DUZID_HOLD_FILE") + L"\" \"" + ini + L"\"");
    REQUIRE(holder.started());
    REQUIRE(test::WaitFor([&] { return test::FileExists(ini + L".held"); }, 20000));

    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = test::StartAndLoadSong(run, setup);  // the settings were read when the main window came
    holder.Kill();
    DeleteFileW((ini + L".held").c_str());
    ExitNormally(run, main);
    CHECK(setup.Settings() == stored);
}

TEST_CASE("remembered folders that no longer exist: the dialogs still open, and a choice replaces them") {
    Installation setup;
    std::wstring gone;
    {
        TempFolder vanished(L" gone");
        gone = vanished.path();
    }
    REQUIRE_FALSE(test::FolderExists(gone));
    test::WriteBytes(setup.program / L"DU_ZID.ini", Installation::SettingsText(gone, gone, 4));
    setup.Control("write\n");

    SUBCASE("left alone, they are kept as they were") {
        DWORD exitCode = 1;
        REQUIRE(test::RunProgramToEnd(setup.program.path(), L"", setup.program.path(), &exitCode));
        CHECK(exitCode == 0);
        CHECK(setup.Settings() == Installation::SettingsText(gone, gone, 4));
    }
    SUBCASE("a conversion replaces them") {
        ProgramRun run(setup.program.path(), L"", setup.program.path());
        HWND main = run.PassStartWindow();
        REQUIRE(main);
        CHECK(ProgramRun::ControlText(main, test::kInputPathField) == gone);
        REQUIRE(run.LoadFile(main, setup.input.path(), L"song.wav"));
        CHECK(ProgramRun::ControlText(main, test::kInputPathField) == setup.input / L"song.wav");
        REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
        CHECK(run.AnswerMessageBox(L"Information") == kFinished);
        ExitNormally(run, main);
        CHECK(test::FileExists(setup.output / L"result.wav"));
        CHECK(setup.Settings() == Installation::SettingsText(setup.input.path(), setup.output.path(), 4));
        CHECK_FALSE(test::FolderExists(gone));
    }
}

TEST_CASE_FIXTURE(LoadedRun, "the input deleted between Load and Convert: Convert says so and starts nothing") {
    std::wstring song = setup.input / L"song.wav";
    REQUIRE(DeleteFileW(song.c_str()));
    ProgramRun::Click(main, test::kConvertButton);
    CHECK(run.AnswerMessageBox(L"Attention") == L"The input file was not found:\r\n" + song);
    Sleep(300);
    CHECK_FALSE(run.FindWindowByCaption(L"Convert Audio"));
    CHECK_FALSE(run.FindWindowByCaption(test::kBusyCaption));
    CHECK(setup.Log().empty());
    CHECK(test::NamesIn(setup.output.path()).empty());
    ExitNormally(run, main);
}

// Wine's Open and Save dialogs end the process when the folder and the typed
// name together pass 259 characters (a MAX_PATH buffer in comdlg32 overflows;
// a bare GetOpenFileNameA does the same), so no input path longer than that
// can be chosen here. In the program's own text, which is UTF-8, such a path
// can pass 260 bytes: it is still 259 characters, and its name is proposed.
TEST_CASE("an input path of 259 characters past 260 bytes: its name is proposed, the encoder gets the whole path") {
    Installation setup;
    REQUIRE(setup.UseRealEncoder());
    std::wstring folder = setup.input.path() + L"\\" + std::wstring(120, L'ж');
    REQUIRE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring name = std::wstring(259 - folder.size() - 1 - 4, L'ё') + L".wav";
    std::wstring in = folder + L"\\" + name;
    REQUIRE(in.size() == 259);
    REQUIRE(test::Utf8(in).size() > 260);
    REQUIRE(test::WriteBytes(in, test::StereoWave(1, 440, 660)));

    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFile(main, folder, name));
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == in);
    ProgramRun::Click(main, test::kConvertButton);
    CHECK(run.ProposedName(L"Convert Audio") == L"_mp3_c_" + name);
    REQUIRE(run.ChooseFile(L"Convert Audio", setup.output.path(), L"_mp3_c_"));
    CHECK(run.AnswerMessageBox(L"Information", 60000) == kFinished);
    ExitNormally(run, main);

    // The dialog adds the filter's extension to a name without one.
    test::WaveFacts facts = test::ReadWaveFacts(test::ReadBytes(setup.output / L"_mp3_c_.wav"));
    CHECK(facts.formatTag == 0x0055);  // MPEG Layer 3
    CHECK(std::abs(facts.seconds() - 1.0) <= 0.1);
    CHECK(setup.Settings() == Installation::SettingsText(folder, setup.output.path(), 0));
}

TEST_CASE("a long input name: the proposed output name is kept only where the Save dialog can hold it") {
    Installation setup;
    setup.Control("write\n");
    std::wstring name = std::wstring(120, L'c') + L".wav";
    REQUIRE(test::WriteBytes(setup.input / name, "RIFF long name"));
    std::wstring proposal = L"_mp3_c_" + name;
    // Folder, "\" and proposal: 259 characters fit the dialog's buffer, more do not.
    size_t joined = 259;
    std::wstring expected = proposal;
    SUBCASE("259 characters: kept") {}
    SUBCASE("260 characters: the prefix alone") {
        joined = 260;
        expected = L"_mp3_c_";
    }
    SUBCASE("300 characters, which took the program down with the dialog: the prefix alone") {
        joined = 300;
        expected = L"_mp3_c_";
    }
    std::wstring out = setup.output.path() + L"\\" +
                       std::wstring(joined - proposal.size() - 1 - setup.output.path().size() - 1, L'b');
    REQUIRE(out.size() + 1 + proposal.size() == joined);
    REQUIRE(CreateDirectoryW(out.c_str(), nullptr));
    test::WriteBytes(setup.program / L"DU_ZID.ini", Installation::SettingsText(setup.input.path(), out, 0));

    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFile(main, setup.input.path(), name));
    ProgramRun::Click(main, test::kConvertButton);
    CHECK(run.ProposedName(L"Convert Audio") == expected);
    // The user takes the proposal as it stands.
    HWND save = run.FindWindowByCaption(L"Convert Audio");
    REQUIRE(save);
    PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(save, IDOK));
    CHECK(run.AnswerMessageBox(L"Information") == kFinished);
    ExitNormally(run, main);
    CHECK(test::FileExists(out + L"\\" + (expected == proposal ? proposal : L"_mp3_c_.wav")));
}

TEST_CASE("an output name of 245 characters converts where a plain file of that name can be written") {
    Installation setup;
    setup.Control("write\n");
    // A short folder, so that the full path stays under 260 characters.
    TempFolder shortFolder(L"", L"C:\\");
    std::wstring name = std::wstring(241, L'n') + L".wav";
    REQUIRE(name.size() == 245);
    REQUIRE((shortFolder / name).size() < 260);
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = test::StartAndLoadSong(run, setup);
    REQUIRE(run.ConvertInto(main, shortFolder.path(), name));
    CHECK(run.AnswerMessageBox(L"Information") == kFinished);
    ExitNormally(run, main);
    CHECK(test::NamesIn(shortFolder.path()) == std::vector<std::wstring>{name});
    CHECK(test::ReadBytes(shortFolder / name) == "encoder double output\r\n");
}

// Run by prepared_folder_test.sh, which makes the folder DUZID_PREPARED_DIR
// unchangeable on the Unix side first and checks it afterwards.
TEST_CASE("prepared read-only program folder" * doctest::skip(test::EnvPath(L"DUZID_PREPARED_DIR").empty())) {
    std::wstring program = test::EnvPath(L"DUZID_PREPARED_DIR");
    std::string before = test::ReadBytes(program + L"\\DU_ZID.ini");
    TempFolder input(L" in");
    REQUIRE(test::WriteBytes(input / L"song.wav", "RIFF fake input"));
    ProgramRun run(program, L"", L"C:\\");
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == L"C:\\Old");
    // A Load changes the folder the program would store.
    REQUIRE(run.LoadFile(main, input.path(), L"song.wav"));
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == input / L"song.wav");
    ExitNormally(run, main);
    CHECK(test::ReadBytes(program + L"\\DU_ZID.ini") == before);
}

TEST_CASE_FIXTURE(LoadedRun,
                  "prepared unwritable output folder" * doctest::skip(test::EnvPath(L"DUZID_PREPARED_DIR").empty())) {
    std::wstring out = test::EnvPath(L"DUZID_PREPARED_DIR");
    setup.Control("write\n");

    // Nothing can be written there: said before any encoder starts.
    REQUIRE(run.ConvertInto(main, out, L"result.wav"));
    CHECK(run.AnswerMessageBox(L"Attention").rfind(L"The converted file cannot be written into:\r\n" + out + L"\r\n\r\n",
                                                   0) == 0);
    CHECK(setup.Log().empty());
    ExitNormally(run, main);
    CHECK(test::NamesIn(out).empty());
}

TEST_CASE("remembered folders too long for the dialogs: they open in the current folder, the run goes on") {
    Installation setup;
    setup.Control("write\n");
    std::wstring program = setup.program.path();
    // With "\*" added, 257 characters fill Wine's MAX_PATH buffer; one more
    // used to end the program as soon as a dialog opened.
    size_t length = 257;
    SUBCASE("257 characters: the dialogs open there") {}
    SUBCASE("258 characters") { length = 258; }
    SUBCASE("300 characters") { length = 300; }
    std::wstring remembered = DeepFolder(setup.input.path(), length);
    REQUIRE(remembered.size() == length);
    REQUIRE(test::FolderExists(remembered));
    auto lastName = [](const std::wstring& folder) { return folder.substr(folder.rfind(L'\\') + 1); };
    bool fits = length == 257;
    test::WriteBytes(setup.program / L"DU_ZID.ini", Installation::SettingsText(remembered, remembered, 2));

    ProgramRun run(program, L"", program);
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == remembered);
    ProgramRun::Click(main, test::kLoadButton);
    HWND open = run.WaitForWindow(L"Load Audio");
    REQUIRE(open);
    CHECK(LookIn(open) == lastName(fits ? remembered : program));  // the program's folder is the current one
    REQUIRE(run.CancelFileDialog(L"Load Audio"));

    REQUIRE(run.LoadFile(main, setup.input.path(), L"song.wav"));
    ProgramRun::Click(main, test::kConvertButton);
    HWND save = run.WaitForWindow(L"Convert Audio");
    REQUIRE(save);
    // The Save dialog shows no folder name that can be read; its file list
    // shows where it opened: the remembered folder is empty, the input folder
    // (where the Load left the current folder) holds song.wav and the deep folders.
    HWND list = nullptr;
    EnumChildWindows(save, [](HWND child, LPARAM found) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (wcscmp(name, L"SysListView32") != 0) return TRUE;
        *(HWND*)found = child;
        return FALSE;
    }, (LPARAM)&list);
    REQUIRE(list);
    size_t shown = 0;
    test::WaitFor([&] { return (shown = (size_t)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) == (fits ? 0u : 2u); }, 5000);
    CHECK(shown == (fits ? 0u : 2u));
    // Wine's Save dialog ends the program when a name is confirmed where
    // folder and name pass MAX_PATH: the long folder is left as a user leaves it.
    std::wstring opened = fits ? setup.output.path() : setup.input.path();
    if (fits) REQUIRE(run.ChooseFile(L"Convert Audio", setup.output.path(), L"_mp3_c_song.wav"));
    else PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(save, IDOK));
    CHECK(run.AnswerMessageBox(L"Information") == kFinished);
    ExitNormally(run, main);
    CHECK(test::FileExists(opened + L"\\_mp3_c_song.wav"));
    CHECK(setup.Settings() == Installation::SettingsText(setup.input.path(), opened, 2));
}
