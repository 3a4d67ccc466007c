// The whole program without a mouse: keys pressed as on the keyboard into the
// real program, from the start window to Exit, a run stopped on the way.
#include <doctest.h>

#include <set>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

using test::Installation;
using test::ProgramRun;

namespace {

HWND Item(HWND window, int id) { return GetDlgItem(window, id); }

bool FocusReaches(HWND window, int id) {
    return test::WaitFor([&] { return ProgramRun::FocusOf(window) == Item(window, id); }, 5000);
}

// Tab (Shift+Tab when back) once, then where the focus went.
int TabOnce(HWND main, bool back) {
    HWND before = ProgramRun::FocusOf(main);
    if (back) ProgramRun::PressKeys(main, {VK_SHIFT, VK_TAB});
    else ProgramRun::PressKeys(main, {VK_TAB});
    test::WaitFor([&] { return ProgramRun::FocusOf(main) != before; }, 5000);
    return GetDlgCtrlID(ProgramRun::FocusOf(main));
}

// The focus rectangle runs along the face's fourth row, over a band of one colour.
bool ShowsFocusCue(HWND button) {
    RECT face;
    GetClientRect(button, &face);
    std::set<COLORREF> seen;
    for (int x = 3; x < face.right - 3; ++x) seen.insert(test::ScreenPixel(button, x, 3));
    return seen.size() > 1;
}

// A key opens the window with this caption over the main window; Alt+F4 closes it.
void OpenAndCloseByKeys(ProgramRun& run, HWND main, std::initializer_list<WORD> keys, const wchar_t* caption) {
    CAPTURE(test::Utf8(caption));
    ProgramRun::PressKeys(main, keys);
    HWND opened = run.WaitForWindow(caption, 10000);
    REQUIRE(opened);
    ProgramRun::PressKeys(opened, {VK_MENU, VK_F4});
    CHECK(run.WaitUntilGone(opened, 10000));
}

// Whether a window with this caption comes up within a second (and is closed again).
bool Appears(ProgramRun& run, const wchar_t* caption) {
    HWND window = run.WaitForWindow(caption, 1000);
    if (window) PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return window && run.WaitUntilGone(window, 5000);
}

}  // namespace

TEST_CASE("keyboard alone: Start, Tab round the five buttons, Space, Enter and the shortcuts, a run stopped, Exit") {
    Installation setup;
    setup.Control("sleep=60000\nwrite\n");
    ProgramRun run(setup.program.path(), L"", setup.program.path());

    HWND start = run.WaitForWindow(test::kStartCaption);
    REQUIRE(start);
    CHECK(FocusReaches(start, test::kStartButton));
    ProgramRun::PressKeys(start, {VK_RETURN});
    HWND main = run.WaitForWindow(test::kMainCaption, 10000);
    REQUIRE(main);

    // The focus starts on Load Wav Audio, its rectangle hidden until a key is pressed.
    REQUIRE(FocusReaches(main, test::kLoadButton));
    Sleep(300);
    CHECK_FALSE(ShowsFocusCue(Item(main, test::kLoadButton)));
    const int forward[] = {test::kConvertButton, test::kHelpButton, test::kAboutButton, test::kExitButton,
                           test::kLoadButton};
    for (int expected : forward) CHECK(TabOnce(main, false) == expected);
    Sleep(300);
    CHECK(ShowsFocusCue(Item(main, test::kLoadButton)));
    CHECK_FALSE(ShowsFocusCue(Item(main, test::kConvertButton)));
    CHECK(TabOnce(main, true) == test::kExitButton);
    CHECK(TabOnce(main, true) == test::kAboutButton);

    OpenAndCloseByKeys(run, main, {VK_RETURN}, L"About");
    CHECK(FocusReaches(main, test::kAboutButton));
    CHECK(TabOnce(main, true) == test::kHelpButton);
    OpenAndCloseByKeys(run, main, {VK_SPACE}, L"Help");
    OpenAndCloseByKeys(run, main, {VK_F1}, L"Help");

    std::wstring shownBefore = ProgramRun::ControlText(main, test::kInputPathField);
    ProgramRun::PressKeys(main, {VK_CONTROL, 'O'});
    REQUIRE(run.ChooseFile(L"Load Audio", setup.input.path(), L"song.wav"));
    REQUIRE(run.WaitUntilLoaded(main, L"song.wav", shownBefore));
    ProgramRun::PressKeys(main, {VK_CONTROL, 'S'});
    REQUIRE(run.ChooseFile(L"Convert Audio", setup.output.path(), L"out.wav"));
    HWND busy = run.WaitForWindow(test::kBusyCaption, 10000);
    REQUIRE(busy);
    CHECK(FocusReaches(busy, test::kStopButton));

    // During the run Ctrl+O and Ctrl+S are refused as Load and Convert are;
    // F1 does what Help does then.
    ProgramRun::PressKeys(main, {VK_CONTROL, 'O'});
    CHECK_FALSE(Appears(run, L"Load Audio"));
    ProgramRun::PressKeys(main, {VK_CONTROL, 'S'});
    CHECK_FALSE(Appears(run, L"Convert Audio"));
    ProgramRun::Click(main, test::kHelpButton);
    bool helpOpensByClick = Appears(run, L"Help");
    ProgramRun::PressKeys(main, {VK_F1});
    CHECK(Appears(run, L"Help") == helpOpensByClick);

    // Enter on Stop asks (No goes on), Space on Stop asks again (Yes stops).
    ProgramRun::PressKeys(busy, {VK_RETURN});
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDNO) == L"Stop the conversion?");
    CHECK(IsWindow(busy));
    CHECK(FocusReaches(busy, test::kStopButton));
    ProgramRun::PressKeys(busy, {VK_SPACE});
    CHECK(run.AnswerMessageBox(L"Question", 10000, IDYES) == L"Stop the conversion?");
    CHECK(run.AnswerMessageBox(L"Information", 30000) == L"The conversion was stopped.");

    // Exit from the keyboard ends the program.
    for (int i = 0; i < 5 && ProgramRun::FocusOf(main) != Item(main, test::kExitButton); ++i) TabOnce(main, true);
    REQUIRE(FocusReaches(main, test::kExitButton));
    ProgramRun::PressKeys(main, {VK_SPACE});
    DWORD exitCode = 1;
    CHECK(run.WaitForExit(30000, &exitCode));
    CHECK(exitCode == 0);
}
