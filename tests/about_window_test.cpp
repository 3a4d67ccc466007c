// The About window over a stand-in main window: what it shows, where the hand
// appears, what its two links open, and that it holds the main window
// disabled until it is closed.
#include <doctest.h>

#include "app/globals.h"
#include "app/maker_info.h"
#include "tests/support/test_support.h"
#include "tests/support/window_probe.h"
#include "windows/secondary_windows.h"

namespace {

const wchar_t* const kCaption = L"About";
constexpr int kBuild = 101, kHeading = 2001, kEmailLink = 2002, kWebLink = 2004;
constexpr COLORREF kWindowBlue = RGB(20, 50, 195), kHeadingKhaki = RGB(180, 170, 95), kBlack = RGB(0, 0, 0);
// Asked for with extended style 0; a static with SS_SUNKEN gives itself WS_EX_STATICEDGE.
constexpr DWORD kSunkenEdge = WS_EX_STATICEDGE;
constexpr COLORREF kLinkPale = RGB(220, 210, 120), kLinkNavy = RGB(0, 0, 127);

// Runs the About window through the steps, then closes it from its title bar.
test::ModalRun RunWith(std::vector<test::WindowStep> steps) {
    steps.push_back(test::PostClose);
    return test::DriveModal(kCaption, RunAboutWindow, std::move(steps));
}

RECT RectOf(HWND dialog, int id) { return test::RectInParent(GetDlgItem(dialog, id)); }

// The picture: the second control, after the heading.
RECT PictureRect(HWND dialog) { return test::RectInParent(GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDNEXT)); }

}  // namespace

TEST_CASE("About window: owned by the main window, caption and close box only, its six controls as laid out") {
    test::StandInMainWindow main;
    std::vector<test::Control> seen, expected;
    RECT client{}, expectedClient{};
    DWORD style = 0;
    HWND owner = nullptr;
    HICON icon = nullptr;
    LOGFONTW headingFont{};
    test::ModalRun run = RunWith({[&](HWND w) {
        const std::wstring heading = L" DU_ZID Audio Converter\r\n" + test::FromUtf8(kAboutCredit) + L"\r\n" +
                                     test::FromUtf8(kPatentNotice);
        seen = test::ControlsOf(w);
        expected = {
            {kHeading, L"Static", heading, 0x50000001, 0, test::DialogUnitRect(w, 35, 5, 140, 30)},
            {-1, L"Static", L"", 0x5000000E, 0, test::SizedRect(test::DialogUnitRect(w, 5, 40, 0, 0), 244, 212)},
            {-1, L"Static", L"", 0x50000012, 0, test::DialogUnitRect(w, 10, 35, 190, 2)},
            {kBuild, L"Static", L"Build v1.01", 0x50000000, 0, test::DialogUnitRect(w, 150, 39, 50, 10)},
            {kWebLink, L"Static", test::FromUtf8(kMakerWebAddress), 0x50001101, kSunkenEdge,
             test::DialogUnitRect(w, 70, 169, 141, 11)},
            {kEmailLink, L"Static", L"email: RX Inc.", 0x50001101, kSunkenEdge, test::DialogUnitRect(w, 0, 169, 70, 11)},
        };
        GetClientRect(w, &client);
        expectedClient = test::DialogUnitRect(w, 0, 0, 210, 180);
        style = GetWindowLongW(w, GWL_STYLE);
        owner = GetWindow(w, GW_OWNER);
        icon = reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0));
        headingFont = test::FontOf(GetDlgItem(w, kHeading));
    }});
    REQUIRE(run.completed());

    test::CheckControls(seen, expected);
    CHECK(EqualRect(&client, &expectedClient));
    CHECK((style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ==
          (WS_CAPTION | WS_SYSMENU));
    CHECK(owner == main.handle());
    CHECK(icon != nullptr);
    CHECK(std::wstring(headingFont.lfFaceName) == L"MS Sans Serif");  // the dialog font, bold
    CHECK(headingFont.lfWeight == 700);
}

TEST_CASE("About window: each of the heading's three lines fits on one line of the label, none cut off") {
    test::StandInMainWindow main;
    const std::wstring lines[3] = {L" DU_ZID Audio Converter", test::FromUtf8(kAboutCredit),
                                   test::FromUtf8(kPatentNotice)};
    SIZE extents[3] = {};
    TEXTMETRICW metrics = {};
    RECT label = {};
    test::ModalRun run = RunWith({[&](HWND w) {
        HWND heading = GetDlgItem(w, kHeading);
        GetClientRect(heading, &label);
        HDC dc = GetDC(heading);
        HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(heading, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &metrics);
        for (int i = 0; i < 3; ++i) GetTextExtentPoint32W(dc, lines[i].c_str(), (int)lines[i].size(), &extents[i]);
        SelectObject(dc, before);
        ReleaseDC(heading, dc);
    }});
    REQUIRE(run.completed());
    CHECK(3 * metrics.tmHeight <= label.bottom);
    for (int i = 0; i < 3; ++i) {
        CAPTURE(test::Utf8(lines[i]));
        CHECK(extents[i].cx <= label.right);
    }
}

TEST_CASE("About window: blue window, khaki heading, black build number, pale links on navy, the patent picture") {
    test::StandInMainWindow main;
    COLORREF background = 0;
    bool pictureShown = false;
    int headingKhaki = 0, headingBlue = 0, buildBlack = 0, buildBlue = 0;
    int linkPale[2] = {}, linkNavy[2] = {};
    test::ModalRun run = RunWith({[&](HWND w) {
        test::PaintNow(w);
        RECT client;
        GetClientRect(w, &client);
        background = test::PixelAt(w, client.right - 3, client.bottom / 2);
        RECT picture = PictureRect(w);
        // The link row covers the picture's last rows: 40 + 212 pixels reach past 169 units.
        RECT linkRow = RectOf(w, kEmailLink);
        pictureShown = test::ShowsBitmap(w, POINT{picture.left, picture.top}, L"patent", linkRow.top - picture.top);
        headingKhaki = test::CountPixels(w, RectOf(w, kHeading), kHeadingKhaki);
        headingBlue = test::CountPixels(w, RectOf(w, kHeading), kWindowBlue);
        buildBlack = test::CountPixels(w, RectOf(w, kBuild), kBlack);
        buildBlue = test::CountPixels(w, RectOf(w, kBuild), kWindowBlue);
        int links[2] = {kEmailLink, kWebLink};
        for (int i = 0; i < 2; ++i) {
            linkPale[i] = test::CountPixels(w, RectOf(w, links[i]), kLinkPale);
            linkNavy[i] = test::CountPixels(w, RectOf(w, links[i]), kLinkNavy);
        }
    }});
    REQUIRE(run.completed());

    CHECK(background == kWindowBlue);
    CHECK(pictureShown);
    CHECK(headingKhaki > 30);
    CHECK(headingBlue > headingKhaki);
    CHECK(buildBlack > 10);
    CHECK(buildBlue > buildBlack);  // no background of its own: the window's blue
    for (int i = 0; i < 2; ++i) {
        CAPTURE(i);
        CHECK(linkPale[i] > 30);
        CHECK(linkNavy[i] > linkPale[i]);
    }
}

TEST_CASE("About window: the hand shows over the two links only") {
    REQUIRE(test::LoadHandCursor());
    test::StandInMainWindow main;
    test::ModalRun run = RunWith({[](HWND w) {
        auto middle = [w](int id) { return test::MiddleOf(RectOf(w, id)); };
        RECT picture = PictureRect(w);
        RECT client;
        GetClientRect(w, &client);
        test::CheckCursors(w, {
                                  {"heading", middle(kHeading), false},
                                  {"picture", POINT{picture.left + 20, picture.top + 20}, false},
                                  {"build number", middle(kBuild), false},
                                  {"background", POINT{client.right - 3, client.bottom / 2}, false},
                                  {"e-mail link", middle(kEmailLink), true},
                                  {"web link", middle(kWebLink), true},
                              });
    }});
    CHECK(run.completed());
}

TEST_CASE("About window: links ask the shell and leave it open, Enter and Escape do nothing, the main window waits") {
    test::StandInMainWindow main;
    test::ShellRecorder shell;
    bool mainEnabled[2] = {true, true};  // when it opens, after the links and keys
    bool openAfterAll = false;
    test::ModalRun run = RunWith({
        [&](HWND w) {
            mainEnabled[0] = IsWindowEnabled(main.handle()) != 0;
            test::PostClick(GetDlgItem(w, kEmailLink));
        },
        [](HWND w) { test::PostClick(GetDlgItem(w, kWebLink)); },
        [](HWND w) { test::PostKey(w, VK_RETURN); },
        [](HWND w) { test::PostKey(w, VK_ESCAPE); },
        [&](HWND w) {
            openAfterAll = IsWindowVisible(w) != 0;
            mainEnabled[1] = IsWindowEnabled(main.handle()) != 0;
        },
    });
    CHECK(run.completed());
    CHECK(openAfterAll);
    CHECK_FALSE(mainEnabled[0]);
    CHECK_FALSE(mainEnabled[1]);
    CHECK(shell.Calls() == std::vector<test::ShellCall>{{true, "Open", std::string("mailto:") + kSupportEmail},
                                                        {false, "", kMakerWebAddress}});
    CHECK_FALSE(IsWindow(run.window));
    CHECK(IsWindowEnabled(main.handle()));
    CHECK(GetFocus() == main.handle());
}

TEST_CASE("About window: every GDI object and toolkit record it makes is gone after it ends") {
    test::StandInMainWindow main;
    REQUIRE(RunWith({}).completed());  // the first run may leave the platform's own caches behind
    const int objects = test::GdiObjectCount();
    const tk::Counts counts = tk::GetCounts();
    REQUIRE(RunWith({}).completed());
    CHECK(test::GdiObjectCount() == objects);
    CHECK(test::SameToolkitCounts(tk::GetCounts(), counts));
}
