// The toolkit's pure rules: dialog styles, font heights and descriptions, resource names, scales.
#include <doctest.h>

#include <string>

#include "toolkit/dialog_rules.h"
#include "toolkit/scale_rules.h"

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

TEST_CASE("scale: MulDiv's rounding, the main window's boxes at 150 %, dialog units, font heights") {
    CHECK(tk::MulDivRounded(25, 144, 96) == 38);    // 37.5: halves away from zero
    CHECK(tk::MulDivRounded(-11, 144, 96) == -17);  // -16.5
    CHECK(tk::MulDivRounded(7, -3, 2) == -11);      // -10.5
    CHECK(tk::MulDivRounded(1, 1, 0) == -1);
    CHECK(tk::MulDivRounded(INT32_MAX, 2, 1) == -1);
#ifdef _WIN32
    for (int a = -300; a <= 300; a += 7)
        for (int b : {96, 120, 144, 168, 192, -5})
            for (int c : {96, 72, 4, 8, 13, -3}) CHECK(tk::MulDivRounded(a, b, c) == MulDiv(a, b, c));
#endif
    tk::Box client = tk::ScaledBox(tk::Box{0, 0, 1000, 350}, 144);
    CHECK(client.width == 1500);
    CHECK(client.height == 525);
    tk::Box load = tk::ScaledBox(tk::Box{5, 150, 120, 25}, 144), help = tk::ScaledBox(tk::Box{691, 310, 99, 25}, 168);
    CHECK((load.x == 8 && load.y == 225 && load.width == 180 && load.height == 38));
    CHECK((help.x == 1209 && help.width == 173));  // the three 99-wide buttons stay of one width
    // Start: 360, 102, 70 x 14 dialog units, edge by edge as MapDialogRect.
    tk::Box start = tk::DialogUnitBox(tk::Box{360, 102, 70, 14}, tk::BaseUnits{7, 13});
    CHECK((start.x == 630 && start.width == 123 && start.y == 166 && start.height == 23));
    CHECK(tk::BaseUnitsOf(20, 520).x == 10);
    CHECK(tk::ScaledFontHeight(45, 144) == -90);
    CHECK(tk::ScaledFontHeight(20, 144) == -41);  // -27 at 96, scaled
    CHECK(tk::ScaledFontHeight(12, 192) == -32);
    CHECK(tk::ScaledFontHeight(8, 96) == -11);
    CHECK(tk::TemplateFontHeight(8, 144) == -16);
    CHECK(tk::UsableDpi(0) == 0);
    CHECK(tk::UsableDpi(20) == 48);
    CHECK(tk::UsableDpi(9999) == 480);
}

TEST_CASE("scale: a dialog-unit window's pictures and fonts grow as its dialog units do, the lesser way") {
    CHECK(tk::PictureDpi(tk::BaseUnits{7, 13}, tk::BaseUnits{7, 13}) == 96);
    CHECK(tk::PictureDpi(tk::BaseUnits{10, 20}, tk::BaseUnits{7, 13}) == 137);  // across 137, down 148
    CHECK(tk::PictureDpi(tk::BaseUnits{14, 26}, tk::BaseUnits{7, 13}) == 192);
    CHECK(tk::PictureDpi(tk::BaseUnits{9, 20}, tk::BaseUnits{0, 0}) == 96);
}
