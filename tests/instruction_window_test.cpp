// The "Help" window over a stand-in main window: its size and place, the white
// heading band and the body text, the keys that close it, and its font's
// release after each opening.
#include <doctest.h>

#include "app/globals.h"
#include "tests/support/test_support.h"
#include "tests/support/window_probe.h"
#include "windows/secondary_windows.h"

namespace {

const wchar_t* const kCaption = L"Help";
constexpr int kHeading = 100, kBody = 101;
constexpr int kClientWidth = 400, kClientHeight = 120, kBandHeight = 38;
constexpr COLORREF kWhite = RGB(255, 255, 255), kGrey = RGB(167, 167, 167), kBlack = RGB(0, 0, 0);
const wchar_t* const kBodyText =
    L"Run the DU_ZID audio converter as Administrator !\r\n\r\n1.Select input audio wav file.\r\n"
    L"2.Publish output audio, and wait.";

test::ModalRun RunWith(std::vector<test::WindowStep> steps) {
    steps.push_back(test::PostClose);
    return test::DriveModal(kCaption, RunInstructionWindow, std::move(steps));
}

// What the window shows: its controls and how many pixels of each colour.
struct Content {
    std::vector<test::Control> controls;
    int white = 0, grey = 0, black = 0;
};

Content ContentOf(HWND window) {
    test::PaintNow(window);
    RECT client{0, 0, kClientWidth, kClientHeight};
    return Content{test::ControlsOf(window), test::CountPixels(window, client, kWhite),
                   test::CountPixels(window, client, kGrey), test::CountPixels(window, client, kBlack)};
}

}  // namespace

TEST_CASE("Help window: client 400x120 centred on the work area, minimize box, owned by the main window") {
    test::StandInMainWindow main;
    RECT client{}, frame{}, workArea{};
    DWORD style = 0;
    HWND owner = nullptr;
    HICON icon = nullptr;
    std::vector<test::Control> seen;
    LOGFONTW headingFont{}, bodyFont{};
    test::ModalRun run = RunWith({[&](HWND w) {
        GetClientRect(w, &client);
        GetWindowRect(w, &frame);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
        style = GetWindowLongW(w, GWL_STYLE);
        owner = GetWindow(w, GW_OWNER);
        icon = reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0));
        seen = test::ControlsOf(w);
        headingFont = test::FontOf(GetDlgItem(w, kHeading));
        bodyFont = test::FontOf(GetDlgItem(w, kBody));
    }});
    REQUIRE(run.completed());

    CHECK(client.right == kClientWidth);
    CHECK(client.bottom == kClientHeight);
    CHECK(abs((frame.left + frame.right) - (workArea.left + workArea.right)) <= 1);
    CHECK(abs((frame.top + frame.bottom) - (workArea.top + workArea.bottom)) <= 1);
    CHECK((style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ==
          (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    CHECK(owner == main.handle());
    CHECK(icon != nullptr);
    test::CheckControls(seen, {
                                  {kHeading, L"Static", L"  Instruction:", 0x50000000, 0, RECT{0, 0, 710, 38}},
                                  {kBody, L"Static", kBodyText, 0x50000000, 0, RECT{10, 45, 410, 135}},
                              });
    CHECK(std::wstring(headingFont.lfFaceName) == L"Times New Roman");
    CHECK(headingFont.lfHeight == -27);  // 20 points at 96 dots per inch
    CHECK(headingFont.lfWeight == 700);
    CHECK(headingFont.lfItalic == 1);
    CHECK(std::wstring(bodyFont.lfFaceName) == L"MS Sans Serif");
    CHECK(bodyFont.lfWeight == 700);
}

TEST_CASE("Help window: a white band across the whole width, the body drawn in black on the grey below it") {
    test::StandInMainWindow main;
    int bandWhite = 0, bandChecked = 0, belowBandGrey = 0, bodyBlack = 0, bodyGrey = 0;
    test::ModalRun run = RunWith({[&](HWND w) {
        test::PaintNow(w);
        // The top and bottom rows of the band, and its right-most column, hold no text.
        bandWhite = test::CountPixels(w, RECT{0, 0, kClientWidth, 2}, kWhite) +
                    test::CountPixels(w, RECT{0, kBandHeight - 2, kClientWidth, kBandHeight}, kWhite) +
                    test::CountPixels(w, RECT{kClientWidth - 1, 0, kClientWidth, kBandHeight}, kWhite);
        bandChecked = 4 * kClientWidth + kBandHeight;
        belowBandGrey = test::CountPixels(w, RECT{0, kBandHeight, kClientWidth, 45}, kGrey);
        RECT body{10, 45, kClientWidth, kClientHeight};
        bodyBlack = test::CountPixels(w, body, kBlack);
        bodyGrey = test::CountPixels(w, body, kGrey);
    }});
    REQUIRE(run.completed());

    CHECK(bandWhite == bandChecked);
    CHECK(belowBandGrey == kClientWidth * (45 - kBandHeight));
    CHECK(bodyBlack > 200);
    CHECK(bodyGrey > bodyBlack);
}

TEST_CASE("Help window: opened twice it shows the same content, and its font is deleted after each closing") {
    test::StandInMainWindow main;
    Content first, second;
    HFONT fonts[2] = {};
    int objectsAfter[2] = {};
    const tk::Counts counts = tk::GetCounts();
    for (int i = 0; i < 2; ++i) {
        CAPTURE(i);
        Content& content = i == 0 ? first : second;
        test::ModalRun run = RunWith({[&](HWND w) {
            content = ContentOf(w);
            fonts[i] = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(w, kHeading), WM_GETFONT, 0, 0));
        }});
        REQUIRE(run.completed());
        CHECK(fonts[i] != nullptr);
        CHECK(GetObjectType(fonts[i]) == 0);
        CHECK(test::SameToolkitCounts(tk::GetCounts(), counts));
        objectsAfter[i] = test::GdiObjectCount();
    }
    test::CheckControls(second.controls, first.controls);
    CHECK(second.white == first.white);
    CHECK(second.grey == first.grey);
    CHECK(second.black == first.black);
    CHECK(objectsAfter[1] == objectsAfter[0]);
}

TEST_CASE("Help window: Enter and Escape leave it open; the close box and Alt+F4 end it and free the main window") {
    test::WindowStep ending;
    SUBCASE("close box") { ending = test::PostClose; }
    SUBCASE("Alt+F4") { ending = test::PostAltF4; }

    test::StandInMainWindow main;
    bool openAfterKeys = false, mainEnabledWhileOpen = true;
    test::ModalRun run = test::DriveModal(kCaption, RunInstructionWindow,
                                          {
                                              [](HWND w) { test::PostKey(w, VK_RETURN); },
                                              [](HWND w) { test::PostKey(w, VK_ESCAPE); },
                                              [&](HWND w) {
                                                  openAfterKeys = IsWindowVisible(w) != 0;
                                                  mainEnabledWhileOpen = IsWindowEnabled(main.handle()) != 0;
                                                  ending(w);
                                              },
                                          });
    CHECK(run.completed());
    CHECK(openAfterKeys);
    CHECK_FALSE(mainEnabledWhileOpen);
    CHECK_FALSE(IsWindow(run.window));
    CHECK(IsWindowEnabled(main.handle()));
    CHECK(GetFocus() == main.handle());
}
