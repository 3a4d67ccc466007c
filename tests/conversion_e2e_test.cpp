// Whole conversions through the real program, driven from this process as a
// user would: Start, Load Wav Audio, Convert, the busy window, the closing message, Exit.
#include <doctest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "convert/settings_text.h"
#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

using test::Installation;
using test::ProgramRun;
using test::TempFolder;

namespace {

// Load Wav Audio with input\name; returns what the input-path field shows then.
std::wstring Load(ProgramRun& run, HWND main, const std::wstring& folder, const std::wstring& name) {
    REQUIRE(run.LoadFile(main, folder, name));
    return ProgramRun::ControlText(main, test::kInputPathField);
}

COLORREF ScreenPixelOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    HDC screen = GetDC(nullptr);
    COLORREF color = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return color;
}

}  // namespace

TEST_CASE("a whole conversion with the encoder double, as a user does it") {
    Installation setup;
    setup.StoreSettings(7);
    setup.Control("sleep=2600\nwrite\n");
    TempFolder elsewhere(L" cwd");

    ProgramRun run(setup.program.path(), L"", elsewhere.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);

    std::wstring in = setup.input / L"song.wav";
    CHECK(Load(run, main, setup.input.path(), L"song.wav") == in);

    ProgramRun::Click(main, test::kConvertButton);
    CHECK(run.ProposedName(L"Convert Audio") == L"_mp3_c_song.wav");
    REQUIRE(run.ChooseFile(L"Convert Audio", setup.output.path(), L"result.wav"));

    HWND busy = run.WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    CHECK((GetWindowLongW(busy, GWL_STYLE) & WS_SYSMENU) == 0);  // no close box
    COLORREF firstBlock = ScreenPixelOf(GetDlgItem(busy, 201));
    std::wstring readOut;
    test::WaitFor([&] { return !(readOut = ProgramRun::ControlText(busy, 320)).empty(); }, 2000);
    CHECK(readOut.rfind(L"Processing time: 00:00:0", 0) == 0);
    CHECK(readOut.size() == std::wstring(L"Processing time: 00:00:00").size());
    Sleep(300);
    CHECK(ScreenPixelOf(GetDlgItem(busy, 201)) != firstBlock);

    // Exit and the close box are refused while the encoder runs.
    ProgramRun::Click(main, test::kExitButton);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(500);
    CHECK(IsWindow(main));

    CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
    CHECK_FALSE(IsWindow(busy));
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(exitCode == 0);

    // The encoder writes beside the chosen name; the whole output then takes that name.
    std::wstring out = setup.output / L"result.wav";
    CHECK(setup.Log() == setup.ExpectedCommandLine(in, setup.output / L"DU_ZID-1.converting.wav") + "\n");
    CHECK(test::NamesIn(setup.output.path()) == std::vector<std::wstring>{L"result.wav"});
    CHECK(test::FileExists(out));
    CHECK(setup.Settings() ==
          FormatSettingsText(::Settings{test::Utf8(setup.input.path()), test::Utf8(setup.output.path()), 7}));
}

TEST_CASE("failed conversions are reported as such, and the program goes on") {
    struct Failure {
        const char* control;
        bool removeEncoder;
        const wchar_t* expected;
    };
    const Failure failures[] = {
        {"", true, nullptr},  // encoder missing: text checked below
        {"error=song.wav: refused on purpose\nexit=2\n", false,
         L"The conversion failed: the encoder ended with exit code 2.\r\n\r\nsong.wav: refused on purpose"},
        {"crash\n", false, L"The conversion failed: the encoder ended with exit code 0xC0000005."},
    };
    for (const Failure& failure : failures) {
        CAPTURE(failure.control);
        Installation setup;
        setup.StoreSettings(-3);
        setup.Control(failure.control);
        std::wstring encoder = setup.program / L"PLUG-IN\\ffmpeg_III.exe";
        if (failure.removeEncoder) REQUIRE(DeleteFileW(encoder.c_str()));

        ProgramRun run(setup.program.path(), L"", setup.program.path());
        HWND main = test::StartAndLoadSong(run, setup);
        REQUIRE(run.ConvertInto(main, setup.output.path(), L"result.wav"));
        std::wstring text = run.AnswerMessageBox(L"Attention");
        // Wine reports a crash on the encoder's standard error, which the message then carries.
        if (failure.expected) CHECK(text.substr(0, wcslen(failure.expected)) == failure.expected);
        else {
            // What the system says follows after a blank line.
            std::wstring start = L"The encoder could not be started:\r\n" + encoder + L"\r\n\r\n";
            CHECK(text.rfind(start, 0) == 0);
            CHECK(text.size() > start.size());
        }

        // The main window still works: Help opens and closes, then Exit.
        ProgramRun::Click(main, test::kHelpButton);
        REQUIRE(run.WaitForWindow(L"Help", 10000));
        CHECK_FALSE(IsWindowEnabled(main));
        DWORD exitCode = 1;
        HWND help = test::VisibleOwnedWindow(main);
        REQUIRE(help);
        PostMessageW(help, WM_SYSCOMMAND, SC_CLOSE, 0);
        REQUIRE(test::WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
        REQUIRE(run.ExitProgram(main, &exitCode));
        CHECK(exitCode == 0);
        CHECK(setup.Settings() ==
              FormatSettingsText(::Settings{test::Utf8(setup.input.path()), test::Utf8(setup.output.path()), -3}));
    }
}

TEST_CASE("the output may not be the input, under any name: nothing is started") {
    Installation setup;
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = test::StartAndLoadSong(run, setup);
    SUBCASE("the same path spelt in other case") {
        REQUIRE(run.ConvertInto(main, setup.input.path(), L"SONG.WAV"));
    }
    SUBCASE("a hard link of the input in another folder") {
        REQUIRE(CreateHardLinkW((setup.output / L"linked.wav").c_str(), (setup.input / L"song.wav").c_str(), nullptr));
        REQUIRE(run.ConvertInto(main, setup.output.path(), L"linked.wav"));
    }
    CHECK_FALSE(run.lastQuestion().empty());  // the Save dialog asked before replacing it
    CHECK(run.AnswerMessageBox(L"Attention") == L"The output file must not be the input file.");
    CHECK(setup.Log().empty());
    CHECK(test::ReadBytes(setup.input / L"song.wav") == "RIFF fake input");
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE("Convert and Exit clicked as the Save dialog opens and as a run ends are refused; the closing message belongs to the main window") {
    Installation setup;
    setup.Control("sleep=1200\nwrite\n");
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = test::StartAndLoadSong(run, setup);
    // A second click queued behind the first reaches the main window through the Save dialog's loop.
    ProgramRun::Click(main, test::kConvertButton);
    ProgramRun::Click(main, test::kConvertButton);
    REQUIRE(run.ChooseFile(L"Convert Audio", setup.output.path(), L"result.wav"));
    // Clicks keep coming through the run's last passes and into its closing
    // message, whose loop dispatches them too.
    HWND closing = nullptr;
    for (DWORD start = GetTickCount(); !closing && GetTickCount() - start < 30000; Sleep(20)) {
        ProgramRun::Click(main, test::kConvertButton);
        ProgramRun::Click(main, test::kExitButton);
        closing = run.FindWindowByCaption(L"Information");
    }
    REQUIRE(closing);
    Sleep(500);  // the last clicks are handled while the message is up
    CHECK(GetWindow(closing, GW_OWNER) == main);
    CHECK_FALSE(run.FindWindowByCaption(L"Convert Audio"));
    CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
    REQUIRE(IsWindow(main));
    std::string log = setup.Log();
    CHECK(std::count(log.begin(), log.end(), '\n') == 1);  // one run, none nested
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(exitCode == 0);
}

TEST_CASE("Convert clicked at once behind Open's confirmation is taken once Load is over, the same file again too") {
    Installation setup;
    setup.Control("write\n");
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    for (int round = 1; round <= 2; ++round) {
        CAPTURE(round);
        ProgramRun::Click(main, test::kLoadButton);
        REQUIRE(run.ChooseFile(L"Load Audio", setup.input.path(), L"song.wav", test::kConvertButton));
        // The click reaches the main window while Load's command still runs.
        CHECK(run.ProposedName(L"Convert Audio") == L"_mp3_c_song.wav");
        REQUIRE(run.ChooseFile(L"Convert Audio", setup.output.path(), L"result.wav"));
        CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
    }
    std::string log = setup.Log();
    CHECK(std::count(log.begin(), log.end(), '\n') == 2);
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
}

TEST_CASE("cancelled dialogs: the input is forgotten, nothing is converted") {
    Installation setup;
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    CHECK(ProgramRun::ControlText(main, test::kInputPathField) == setup.program.path());

    Load(run, main, setup.input.path(), L"song.wav");
    ProgramRun::Click(main, test::kConvertButton);
    REQUIRE(run.CancelFileDialog(L"Convert Audio"));
    Sleep(300);
    CHECK_FALSE(run.FindWindowByCaption(test::kBusyCaption));

    ProgramRun::Click(main, test::kLoadButton);
    REQUIRE(run.CancelFileDialog(L"Load Audio"));
    CHECK(test::WaitFor([&] { return ProgramRun::ControlText(main, test::kInputPathField).empty(); }, 10000));
    ProgramRun::Click(main, test::kConvertButton);  // no input: only a beep
    Sleep(500);
    CHECK_FALSE(run.FindWindowByCaption(L"Convert Audio"));
    CHECK(setup.Log().empty());
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(exitCode == 0);
}

namespace {

const std::wstring kSave = L"Convert Audio", kWav = L"Wav Audio (*.wav)", kMp3 = L"MP3 Audio (*.mp3)";
const std::wstring kStandard = L"128 kbit/s (standard)", kBest = L"320 kbit/s (best)", kHigh = L"Variable, high (about 190 kbit/s)";

}  // namespace

TEST_CASE("the Save dialog's type list switches the proposal's extension; type and quality are kept for the next run") {
    Installation setup;
    setup.Control("write\n");
    std::string plain = Installation::SettingsText(setup.input.path(), setup.output.path(), 0);
    {
        ProgramRun run(setup.program.path(), L"", setup.program.path());
        HWND main = test::StartAndLoadSong(run, setup);
        ProgramRun::Click(main, test::kConvertButton);
        CHECK(run.ListTexts(kSave, kWav) == std::vector<std::wstring>{kWav, kMp3});
        CHECK(run.ListTexts(kSave, kStandard) ==
              std::vector<std::wstring>{kStandard, L"192 kbit/s", L"256 kbit/s", kBest, kHigh, L"Variable, best (about 245 kbit/s)"});
        CHECK((run.ListShows(kSave, kWav) == kWav && run.ListShows(kSave, kStandard) == kStandard));
        CHECK(run.ProposedName(kSave) == L"_mp3_c_song.wav");
        REQUIRE(run.ChooseInList(kSave, kMp3));
        CHECK(test::WaitFor([&] { return run.ProposedName(kSave) == L"_mp3_c_song.mp3"; }, 5000));
        REQUIRE(run.ChooseInList(kSave, kWav));
        CHECK(test::WaitFor([&] { return run.ProposedName(kSave) == L"_mp3_c_song.wav"; }, 5000));
        REQUIRE((run.ChooseInList(kSave, kMp3) && run.ChooseInList(kSave, kBest)));
        REQUIRE(run.ChooseFile(kSave, setup.output.path(), L"result"));  // no extension: the listed type's
        CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
        DWORD exitCode = 1;
        REQUIRE(run.ExitProgram(main, &exitCode));
    }
    std::string expected = setup.ExpectedCommandLine(setup.input / L"song.wav", setup.output / L"DU_ZID-1.converting.mp3");
    CHECK(setup.Log() == expected.replace(expected.find("-ab 128k"), 8, "-ab 320k -c:v copy") + "\n");
    CHECK(test::NamesIn(setup.output.path()) == std::vector<std::wstring>{L"result.mp3"});
    CHECK(setup.Settings() == plain + "<OUTPUT_TYPE>MP3</OUTPUT_TYPE>\r\n<QUALITY>320</QUALITY>\r\n");

    // Offered again; a typed ".WAV" decides over the list.
    ProgramRun run(setup.program.path(), L"", setup.program.path());
    HWND main = test::StartAndLoadSong(run, setup);
    ProgramRun::Click(main, test::kConvertButton);
    CHECK(run.ProposedName(kSave) == L"_mp3_c_song.mp3");
    CHECK((run.ListShows(kSave, kWav) == kMp3 && run.ListShows(kSave, kStandard) == kBest));
    REQUIRE(run.ChooseFile(kSave, setup.output.path(), L"again.WAV"));
    CHECK(run.AnswerMessageBox(L"Information") == L"Output conversion process finished");
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(setup.Log().find("-ab 320k  -y \"" + test::Utf8(setup.output / L"DU_ZID-1.converting.wav")) != std::string::npos);
    CHECK(test::FileExists(setup.output / L"again.WAV"));
    CHECK(setup.Settings() == plain + "<QUALITY>320</QUALITY>\r\n");
}

TEST_CASE("the settings file: unknown values offer the default and are dropped; a read-only file stays as it was") {
    Installation setup;
    std::string plain = Installation::SettingsText(setup.program.path(), setup.program.path(), 0);
    std::wstring ini = setup.program / L"DU_ZID.ini";
    for (bool readOnly : {false, true}) {
        CAPTURE(readOnly);
        std::string stored = plain + (readOnly ? "<OUTPUT_TYPE>MP3</OUTPUT_TYPE>\r\n<QUALITY>VBR_HIGH</QUALITY>\r\n"
                                               : "<OUTPUT_TYPE>OGG</OUTPUT_TYPE>\r\n<QUALITY>999k</QUALITY>\r\n");
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        REQUIRE(test::WriteBytes(ini, stored));
        if (readOnly) REQUIRE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
        ProgramRun run(setup.program.path(), L"", setup.program.path());
        HWND main = test::StartAndLoadSong(run, setup);
        ProgramRun::Click(main, test::kConvertButton);
        CHECK(run.ListShows(kSave, kWav) == (readOnly ? kMp3 : kWav));
        CHECK(run.ListShows(kSave, kStandard) == (readOnly ? kHigh : kStandard));
        // Chosen, then cancelled: a cancelled dialog changes nothing.
        REQUIRE((run.ChooseInList(kSave, readOnly ? kWav : kMp3) && run.CancelFileDialog(kSave)));
        DWORD exitCode = 1;
        REQUIRE(run.ExitProgram(main, &exitCode));
        CHECK(setup.Settings() == (readOnly ? stored : Installation::SettingsText(setup.input.path(), setup.program.path(), 0)));
    }
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}
