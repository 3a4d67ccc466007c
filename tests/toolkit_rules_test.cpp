// The toolkit's pure rules: dialog styles, font heights and descriptions, resource names.
#include <doctest.h>

#include <string>

#include "toolkit/dialog_rules.h"

TEST_CASE("dialog styles: the program's three requests, the default and the cleared bits") {
    CHECK(tk::DialogStyle(0x80CA0000, true, false) == 0x80CA0854);
    CHECK(tk::DialogStyle(0x00C80000, true, true) == 0x00C80854);
    CHECK(tk::DialogStyle(0x00C00000, true, false) == 0x00C00854);
    CHECK(tk::DialogStyle(0, false, false) == 0x80C000D4);
    CHECK(tk::DialogStyle(0, true, false) == 0x80C008D4);
    // WS_VISIBLE and DS_SYSMODAL never survive.
    CHECK(tk::DialogStyle(WS_POPUP | WS_VISIBLE | DS_SYSMODAL, false, false) == (WS_POPUP | 0x54));
    // A child dialog loses WS_POPUP and DS_ABSALIGN; without an owner it is a popup again.
    CHECK(tk::DialogStyle(WS_CHILD | WS_POPUP | DS_ABSALIGN, false, true) == (WS_CHILD | 0x54));
    CHECK(tk::DialogStyle(WS_CHILD | DS_ABSALIGN, false, false) == (WS_POPUP | 0x54));
}

TEST_CASE("font heights from the resolution, rounded half to even") {
    const float points[] = {12, 15, 20, 30, 45};
    const int heights[] = {-16, -20, -27, -40, -60};
    for (int i = 0; i < 5; ++i) CHECK(tk::FontHeight(96, points[i]) == heights[i]);
    CHECK(tk::FontHeight(120, 20) == -33);
    CHECK(tk::FontHeight(96, 8) == -11);
    CHECK(tk::FontHeight(96, 0) == 0);
    // Ties: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4.
    CHECK(tk::FontHeight(72, 0.5f) == 0);
    CHECK(tk::FontHeight(72, 1.5f) == -2);
    CHECK(tk::FontHeight(72, 2.5f) == -2);
    CHECK(tk::FontHeight(144, 1.75f) == -4);
    // A negated point size (cell height) gives a positive height.
    CHECK(tk::FontHeight(96, -12) == 16);
}

TEST_CASE("font descriptions: 0 points is 8, faces cut to 31, style bits, matching") {
    tk::FontDescription font = tk::DescribeFont(L"Times New Roman", 0, 0, 0, 0, 0);
    CHECK(font.points == 8);
    CHECK(font.logFont.lfWeight == 400);

    std::wstring longFace(40, L'x');
    longFace[30] = L'y';
    font = tk::DescribeFont(longFace, 12, 0, 0, 0, 0);
    CHECK(std::wstring(font.logFont.lfFaceName) == longFace.substr(0, 31));

    font = tk::DescribeFont(L"Arial", 10, 1 | 2 | 4 | 8 | 16, 204, 0x31, 900);
    CHECK(font.points == -10);
    CHECK(font.logFont.lfWeight == 700);
    CHECK(font.logFont.lfItalic == 1);
    CHECK(font.logFont.lfUnderline == 1);
    CHECK(font.logFont.lfStrikeOut == 1);
    CHECK(font.logFont.lfCharSet == 204);
    CHECK(font.logFont.lfPitchAndFamily == 0x31);
    CHECK(font.logFont.lfEscapement == 900);
    CHECK(font.logFont.lfOrientation == 900);
    CHECK(font.logFont.lfHeight == 0);

    tk::FontDescription a = tk::DescribeFont(L"Times New Roman", 12, 3, 0, 0, 0);
    tk::FontDescription b = a;
    b.logFont.lfHeight = -16;  // made later; never compared
    b.logFont.lfWidth = 7;
    CHECK(tk::SameFont(a, b));
    CHECK_FALSE(tk::SameFont(a, tk::DescribeFont(L"Times New Roman", 12, 1, 0, 0, 0)));
    CHECK_FALSE(tk::SameFont(a, tk::DescribeFont(L"Times New Roman", 15, 3, 0, 0, 0)));
    CHECK_FALSE(tk::SameFont(a, tk::DescribeFont(L"Times New Roma", 12, 3, 0, 0, 0)));
    CHECK_FALSE(tk::SameFont(a, tk::DescribeFont(L"Times New Roman", 12, 3, 0, 0, 1)));
}

TEST_CASE("resource names: '#' and decimal digits are a number") {
    CHECK(tk::ResourceName(L"#7") == MAKEINTRESOURCEW(7));
    CHECK(tk::ResourceName(L"#65535") == MAKEINTRESOURCEW(65535));
    std::wstring names[] = {L"TITLE", L"#", L"#7a", L"#0", L"#65536", L""};
    for (const std::wstring& name : names) CHECK(tk::ResourceName(name) == name.c_str());
}

TEST_CASE("controls: child and visible always, images keep their picture bits, icons switch over") {
    CHECK(tk::ControlStyle(tk::ControlKind::Button, 0) == 0x50010000);
    CHECK(tk::ControlStyle(tk::ControlKind::Button, BS_DEFPUSHBUTTON) == 0x50000001);
    CHECK(tk::ControlStyle(tk::ControlKind::Frame, 0) == 0x50000012);
    CHECK(tk::ControlStyle(tk::ControlKind::StretchedImage, 0x200) == 0x5000020E);
    CHECK(tk::IconControlStyle(0x5000020E) == 0x50000203);
    CHECK(tk::IsDefaultButtonStyle(0x50000001));
    CHECK_FALSE(tk::IsDefaultButtonStyle(0x5000000D));  // a split button's type shares the low bit
    CHECK_FALSE(tk::IsDefaultButtonStyle(0x50010000));
}

TEST_CASE("placement and colours: centring that does not fit starts at 0; colours lose their high byte") {
    CHECK(tk::CenteredOrigin(0, 1000, 300) == 350);
    CHECK(tk::CenteredOrigin(100, 900, 200) == 400);
    CHECK(tk::CenteredOrigin(0, 100, 300) == 0);
    CHECK(tk::NormalForeground(0x12345678) == 0x345678);
    CHECK(tk::NormalForeground(tk::ColorTransparent) == tk::ColorDefault);  // transparency is for backgrounds
    CHECK(tk::NormalBackground(tk::ColorTransparent) == tk::ColorTransparent);
    CHECK(tk::NormalBackground(-7) == tk::ColorDefault);
    CHECK(tk::ShowCommandFor(WS_MAXIMIZE | WS_MINIMIZE) == SW_SHOWMAXIMIZED);
    CHECK(tk::SizeTypeFor(SW_MINIMIZE) == SIZE_MINIMIZED);
    CHECK_FALSE(tk::PaintsWhenShown(SW_SHOWMINIMIZED));
}
