// The real program, started as a user would: its folder, its settings file, its exit code.
#include <doctest.h>

#include "convert/settings_text.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

using test::TempFolder;

TEST_CASE("started from another folder with arguments, the program defaults to its own folder") {
    TempFolder program(L" program Ёж");
    TempFolder elsewhere(L" elsewhere");
    REQUIRE(test::InstallProgram(program.path()));
    test::WriteBytes(elsewhere / L"DU_ZID.ini", "<IN_DIR>C:\\Wrong</IN_DIR>");

    // The arguments are names of files to load: none of them is there.
    test::ProgramRun run(program.path(), L"\"" + elsewhere / L"song.wav" + L"\" -y", elsewhere.path());
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    CHECK(run.AnswerMessageBox(L"Attention") ==
          L"These files were not found:\r\n" + (elsewhere / L"song.wav") + L"\r\n" + (elsewhere / L"-y"));
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(exitCode == 0);
    std::string folder = test::Utf8(program.path());
    CHECK(test::ReadBytes(program / L"DU_ZID.ini") == FormatSettingsText(Settings{folder, folder, 0}));
    CHECK(test::ReadBytes(elsewhere / L"DU_ZID.ini") == "<IN_DIR>C:\\Wrong</IN_DIR>");
    CHECK_FALSE(test::FileExists(elsewhere / L"song.wav"));
}

TEST_CASE("settings survive a run unchanged, mode included") {
    TempFolder program(L" keep");
    REQUIRE(test::InstallProgram(program.path()));
    std::string stored = test::Utf8(L"C:\\Музыка");
    test::WriteBytes(program / L"DU_ZID.ini",
                     "<MODE> 2.5 </MODE>\r\n<OUT_DIR>D:\\Out</OUT_DIR><IN_DIR> " + stored + " </IN_DIR>");
    DWORD exitCode = 1;
    REQUIRE(test::RunProgramToEnd(program.path(), L"", program.path(), &exitCode));
    CHECK(exitCode == 0);
    CHECK(test::ReadBytes(program / L"DU_ZID.ini") == FormatSettingsText(Settings{stored, "D:\\Out", 2}));
}

// Run by a shell test that prepared the folder on the Unix side first (a drive
// letter mapped to a folder, a folder that cannot be written); the script
// checks the settings file afterwards.
TEST_CASE("prepared program folder" * doctest::skip(test::EnvPath(L"DUZID_PREPARED_DIR").empty())) {
    DWORD exitCode = 1;
    REQUIRE(test::RunProgramToEnd(test::EnvPath(L"DUZID_PREPARED_DIR"), L"", L"C:\\", &exitCode));
    CHECK(exitCode == 0);
}
