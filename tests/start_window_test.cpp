// The start window as a user meets it: what it shows, where the hand appears,
// what its link opens, and how it ends.
#include <doctest.h>

#include "app/globals.h"
#include "app/maker_info.h"
#include "tests/support/test_support.h"
#include "tests/support/window_probe.h"
#include "toolkit/toolkit.h"
#include "windows/secondary_windows.h"

namespace {

const wchar_t* const kCaption = L"Veltrane Audio Converter for Adobe Flash. ";
constexpr int kWebLink = 2000, kFreeAppsLine = 2001, kStart = 2005;
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);

void PressStart(HWND window) { test::PostClick(GetDlgItem(window, kStart)); }

void FocusStartAndPress(HWND window, UINT key) {
    SetFocus(GetDlgItem(window, kStart));
    test::PostKey(window, key);
}

// Runs the start window through the steps, then presses Start.
test::ModalRun RunWith(std::vector<test::WindowStep> steps) {
    steps.push_back(PressStart);
    return test::DriveModal(kCaption, RunStartWindow, std::move(steps));
}

}  // namespace

TEST_CASE("start window: centred, caption and close box only, its four controls as laid out") {
    std::vector<test::Control> seen, expected;
    RECT client{}, expectedClient{}, frame{}, workArea{};
    DWORD style = 0;
    HWND owner = nullptr;
    HICON icon = nullptr;
    std::vector<LOGFONTW> fonts;
    test::ModalRun run = RunWith({[&](HWND w) {
        seen = test::ControlsOf(w);
        expected = {
            {-1, L"Static", L"", 0x5000000E, 0, test::SizedRect(test::DialogUnitRect(w, 5, 5, 0, 0), 640, 154)},
            {kFreeAppsLine, L"Static", L"See a more of free Apps at:", 0x50000000, 0,
             test::DialogUnitRect(w, 15, 102, 120, 12)},
            {kWebLink, L"Static", test::FromUtf8(kMakerWebAddress), 0x50000100, 0,
             test::DialogUnitRect(w, 138, 102, 200, 12)},
            {kStart, L"Button", L"Start", 0x50018000, 0, test::DialogUnitRect(w, 360, 102, 70, 14)},
        };
        GetClientRect(w, &client);
        expectedClient = test::DialogUnitRect(w, 0, 0, 437, 120);
        GetWindowRect(w, &frame);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
        style = GetWindowLongW(w, GWL_STYLE);
        owner = GetWindow(w, GW_OWNER);
        icon = reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0));
        for (int id : {kFreeAppsLine, kWebLink, kStart}) fonts.push_back(test::FontOf(GetDlgItem(w, id)));
    }});
    REQUIRE(run.completed());

    test::CheckControls(seen, expected);
    CHECK(EqualRect(&client, &expectedClient));
    CHECK(abs((frame.left + frame.right) - (workArea.left + workArea.right)) <= 1);
    CHECK(abs((frame.top + frame.bottom) - (workArea.top + workArea.bottom)) <= 1);
    CHECK((style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ==
          (WS_CAPTION | WS_SYSMENU));
    CHECK(owner == nullptr);
    CHECK(icon != nullptr);
    for (const LOGFONTW& font : fonts) {
        CHECK(std::wstring(font.lfFaceName) == L"Times New Roman");
        CHECK(font.lfHeight == -16);  // 12 points at 96 dots per inch
        CHECK(font.lfWeight == 700);
        CHECK(font.lfItalic == 1);
    }
}

TEST_CASE("start window: white, the banner picture, the blue link and the black line painted over the white") {
    COLORREF corners[2] = {};
    bool bannerShown = false;
    int linkBlue = 0, linkWhite = 0, lineBlack = 0, lineWhite = 0;
    test::ModalRun run = RunWith({[&](HWND w) {
        test::PaintNow(w);
        RECT client;
        GetClientRect(w, &client);
        corners[0] = test::PixelAt(w, 1, 1);
        corners[1] = test::PixelAt(w, client.right - 2, client.bottom - 2);
        RECT picture = test::RectInParent(GetWindow(w, GW_CHILD));
        bannerShown = test::ShowsBitmap(w, POINT{picture.left, picture.top}, L"TITLE");
        RECT link = test::RectInParent(GetDlgItem(w, kWebLink));
        RECT line = test::RectInParent(GetDlgItem(w, kFreeAppsLine));
        linkBlue = test::CountPixels(w, link, kBlue);
        linkWhite = test::CountPixels(w, link, kWhite);
        lineBlack = test::CountPixels(w, line, kBlack);
        lineWhite = test::CountPixels(w, line, kWhite);
    }});
    REQUIRE(run.completed());

    CHECK(corners[0] == kWhite);
    CHECK(corners[1] == kWhite);
    CHECK(bannerShown);
    CHECK(linkBlue > 30);
    CHECK(linkWhite > linkBlue);  // no background of its own: the window's white
    CHECK(lineBlack > 30);
    CHECK(lineWhite > lineBlack);
}

TEST_CASE("start window: the hand shows over the link and Start only") {
    REQUIRE(test::LoadHandCursor());
    test::ModalRun run = RunWith({[](HWND w) {
        auto middle = [](HWND control) { return test::MiddleOf(test::RectInParent(control)); };
        RECT client;
        GetClientRect(w, &client);
        test::CheckCursors(w, {
                                  {"banner", middle(GetWindow(w, GW_CHILD)), false},
                                  {"free apps line", middle(GetDlgItem(w, kFreeAppsLine)), false},
                                  {"link", middle(GetDlgItem(w, kWebLink)), true},
                                  {"Start", middle(GetDlgItem(w, kStart)), true},
                                  {"white area", POINT{client.right - 3, client.bottom - 3}, false},
                              });
    }});
    CHECK(run.completed());
}

TEST_CASE("start window: Enter and Escape with no button focused leave it open; Start (clicked, or Enter or Space "
          "on it), the close box and Alt+F4 end it, its font freed") {
    test::WindowStep ending;
    SUBCASE("Start") { ending = PressStart; }
    SUBCASE("Enter on Start") { ending = [](HWND w) { FocusStartAndPress(w, VK_RETURN); }; }
    SUBCASE("Space on Start") { ending = [](HWND w) { FocusStartAndPress(w, VK_SPACE); }; }
    SUBCASE("close box") { ending = test::PostClose; }
    SUBCASE("Alt+F4") { ending = test::PostAltF4; }

    test::ShellRecorder shell;
    const tk::Counts countsBefore = tk::GetCounts();
    HFONT font = nullptr;
    bool openAfterKeys = false;
    test::ModalRun run = test::DriveModal(kCaption, RunStartWindow,
                                          {
                                              [&](HWND w) {
                                                  font = (HFONT)SendMessageW(GetDlgItem(w, kStart), WM_GETFONT, 0, 0);
                                                  SetFocus(nullptr);
                                                  test::PostKey(w, VK_RETURN);
                                              },
                                              [](HWND w) {
                                                  SetFocus(nullptr);
                                                  test::PostKey(w, VK_ESCAPE);
                                              },
                                              [](HWND w) {
                                                  PostMessageW(w, WM_COMMAND, IDOK, 0);
                                                  PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                                              },
                                              [&](HWND w) {
                                                  openAfterKeys = IsWindowVisible(w) != 0;
                                                  ending(w);
                                              },
                                          });
    CHECK(run.completed());
    CHECK(openAfterKeys);
    CHECK_FALSE(IsWindow(run.window));
    CHECK(shell.Calls().empty());
    CHECK(font != nullptr);
    CHECK(GetObjectType(font) == 0);  // the GDI font is deleted
    CHECK(test::SameToolkitCounts(tk::GetCounts(), countsBefore));
}

TEST_CASE("start window: the link asks the shell for the web address at each click and the window stays") {
    test::ShellRecorder shell;
    size_t callsAfterLine = 0;
    bool openAfterLinks = false;
    test::ModalRun run = RunWith({
        [](HWND w) { test::PostClick(GetDlgItem(w, kWebLink)); },
        [](HWND w) { test::PostDoubleClick(GetDlgItem(w, kWebLink)); },
        [](HWND w) { test::PostClick(GetDlgItem(w, kFreeAppsLine)); },
        [&](HWND w) {
            callsAfterLine = shell.Calls().size();
            openAfterLinks = IsWindowVisible(w) != 0;
        },
    });
    CHECK(run.completed());
    CHECK(openAfterLinks);
    const test::ShellCall web{false, "", kMakerWebAddress};
    CHECK(callsAfterLine == 2);  // the click and the first click of the double click
    CHECK(shell.Calls() == std::vector<test::ShellCall>{web, web});
}

TEST_CASE("start window: every GDI object it makes is gone after it ends") {
    REQUIRE(RunWith({}).completed());  // the first run may leave the platform's own caches behind
    const int before = test::GdiObjectCount();
    REQUIRE(RunWith({}).completed());
    CHECK(test::GdiObjectCount() == before);
}
