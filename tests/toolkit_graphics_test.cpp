// Fonts, colours, pictures and icons on real windows.
#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/toolkit.h"
#include "toolkit_support.h"

using tk::ControlKind;
using test::PixelAt;
using tktest::ModelessDialog;

namespace {

HFONT FontOf(HWND dialog, int id) { return (HFONT)SendMessageW(GetDlgItem(dialog, id), WM_GETFONT, 0, 0); }

LOGFONTW Describe(HFONT font) {
    LOGFONTW described = {};
    GetObjectW(font, sizeof(described), &described);
    return described;
}

// The colours and brush the dialog procedure answers for one control.
struct ColorAnswer {
    HBRUSH brush;
    COLORREF text, back;
    int mode;
};

ColorAnswer AskColors(HWND dialog, int id, UINT message = WM_CTLCOLORSTATIC) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, 0x010203);
    SetBkColor(dc, 0x040506);
    SetBkMode(dc, OPAQUE);
    HWND target = id == tk::DialogItself ? dialog : GetDlgItem(dialog, id);
    ColorAnswer answer = {(HBRUSH)SendMessageW(dialog, message, (WPARAM)dc, (LPARAM)target), GetTextColor(dc),
                          GetBkColor(dc), GetBkMode(dc)};
    DeleteDC(dc);
    return answer;
}

COLORREF BrushColor(HBRUSH brush) {
    LOGBRUSH described = {};
    GetObjectW(brush, sizeof(described), &described);
    return described.lbColor;
}

HANDLE PictureOf(HWND dialog, int id, UINT type) {
    return (HANDLE)SendMessageW(GetDlgItem(dialog, id), STM_GETIMAGE, type, 0);
}

SIZE ClientSize(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// The colour pixels of an icon, to tell whether two icons show the same picture.
std::vector<DWORD> IconPixels(HICON icon, SIZE* size) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAP described = {};
    GetObjectW(info.hbmColor, sizeof(described), &described);
    *size = {described.bmWidth, described.bmHeight};
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), described.bmWidth, -described.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels((size_t)described.bmWidth * described.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, described.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

}  // namespace

TEST_CASE("fonts: registration, heights, sharing and freeing") {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    REQUIRE(dpi == 96);

    SUBCASE("the same description gives the same id; 0 points is 8; faces are cut to 31") {
        int32_t a = tk::NewFont(L"Times New Roman", 12, 3, 0, 0, 0);
        CHECK(a > 3);
        CHECK(tk::NewFont(L"Times New Roman", 12, 3, 0, 0, 0) == a);
        CHECK(tk::NewFont(L"Times New Roman", 12, 1, 0, 0, 0) != a);
        CHECK(tk::NewFont(L"Times New Roman", 0, 0, 0, 0, 0) == tk::NewFont(L"Times New Roman", 8, 0, 0, 0, 0));
        std::wstring face(40, L'F');
        for (int i = 0; i < 40; ++i) face[i] = (wchar_t)(L'A' + i % 26);
        int32_t cut = tk::NewFont(face, 10, 0, 0, 0, 0);
        CHECK(tk::NewFont(face.substr(0, 31), 10, 0, 0, 0, 0) == cut);
        CHECK(tk::NewFont(face.substr(0, 30), 10, 0, 0, 0, 0) != cut);
    }
    SUBCASE("heights at 96 dpi, one GDI font per id shared by its controls") {
        ModelessDialog dialog(400, 300);
        const float points[] = {12, 15, 20, 30, 45};
        const LONG heights[] = {-16, -20, -27, -40, -60};
        for (int i = 0; i < 5; ++i) {
            CAPTURE(points[i]);
            int32_t font = tk::NewFont(L"Times New Roman", points[i], tk::FontBold, 0, 0, 0);
            tk::AddControl(ControlKind::Label, dialog.window(), 10 + i, L"Text", 0, 40 * i, 200, 40, 0, 0);
            tk::SetControlFont(dialog.window(), 10 + i, font);
            LOGFONTW made = Describe(FontOf(dialog.window(), 10 + i));
            CHECK(made.lfHeight == heights[i]);
            CHECK(made.lfWeight == 700);
            CHECK(std::wstring(made.lfFaceName) == L"Times New Roman");
        }
        int32_t shared = tk::NewFont(L"Times New Roman", 12, tk::FontBold, 0, 0, 0);
        tk::AddControl(ControlKind::Button, dialog.window(), 20, L"OK", 250, 0, 60, 20, 0, 0);
        tk::SetControlFont(dialog.window(), 20, shared);
        CHECK(FontOf(dialog.window(), 20) == FontOf(dialog.window(), 10));
        // Font id 0 is the built-in id 1: "MS Sans Serif" at 8 points, not bold.
        tk::SetControlFont(dialog.window(), 20, 0);
        LOGFONTW builtIn = Describe(FontOf(dialog.window(), 20));
        CHECK(std::wstring(builtIn.lfFaceName) == L"MS Sans Serif");
        CHECK(builtIn.lfHeight == -11);
        CHECK(builtIn.lfWeight == 400);
    }
    SUBCASE("FreeFont: built-ins ignored, nothing while shown, deleted once the dialog is gone") {
        int32_t font = tk::NewFont(L"Times New Roman", 15, tk::FontItalic, 0, 0, 0);
        int32_t other = tk::NewFont(L"Times New Roman", 20, tk::FontItalic, 0, 0, 0);
        HWND window;
        HFONT gdiFont, otherGdiFont, builtIn;
        {
            ModelessDialog dialog(300, 200);
            window = dialog.window();
            tk::AddControl(ControlKind::Label, window, 1, L"One", 0, 0, 100, 30, 0, 0);
            tk::AddControl(ControlKind::Label, window, 2, L"Two", 0, 40, 100, 30, 0, 0);
            tk::AddControl(ControlKind::Label, window, 3, L"Three", 0, 80, 100, 30, 0, 0);
            tk::SetControlFont(window, 1, font);
            tk::SetControlFont(window, 2, other);
            tk::SetControlFont(window, 3, 2);
            gdiFont = FontOf(window, 1);
            otherGdiFont = FontOf(window, 2);
            builtIn = FontOf(window, 3);
            int fontsBefore = tk::GetCounts().gdiFonts;

            tk::FreeFont(font);  // shown by control 1
            CHECK(GetObjectType(gdiFont) == OBJ_FONT);
            CHECK(tk::GetCounts().gdiFonts == fontsBefore);

            // Control 2 changes to the first font: nothing shows the other one any more.
            tk::SetControlFont(window, 2, font);
            tk::FreeFont(other);
            CHECK(GetObjectType(otherGdiFont) == 0);
            CHECK(tk::GetCounts().gdiFonts == fontsBefore - 1);
            tk::FreeFont(font);
            CHECK(GetObjectType(gdiFont) == OBJ_FONT);
        }
        CHECK_FALSE(IsWindow(window));
        for (int32_t id = 1; id <= 3; ++id) tk::FreeFont(id);
        CHECK(GetObjectType(builtIn) == OBJ_FONT);
        tk::FreeFont(font);
        CHECK(GetObjectType(gdiFont) == 0);
        tk::FreeFont(999);  // never registered: nothing happens
    }
}

TEST_CASE("colours: normalised, answered, shared and painted") {
    ModelessDialog dialog(300, 200);
    HWND window = dialog.window();
    tk::AddControl(ControlKind::Label, window, 1, L"", 10, 10, 40, 40, 0, 0);
    tk::AddControl(ControlKind::Label, window, 2, L"", 60, 10, 40, 40, 0, 0);
    tk::AddControl(ControlKind::Label, window, 3, L"Hi", 110, 10, 80, 40, 0, 0);
    tk::AddControl(ControlKind::Label, window, 4, L"", 200, 10, 40, 40, 0, 0);
    int brushesBefore = tk::GetCounts().brushes;

    SUBCASE("normalisation, seen in the answers to WM_CTLCOLORSTATIC") {
        CHECK(AskColors(window, 1).brush == GetSysColorBrush(COLOR_BTNFACE));  // never set: the platform answers
        tk::SetColors(window, 1, -5, 0x12345678);
        ColorAnswer answer = AskColors(window, 1);
        CHECK(answer.text == GetSysColor(COLOR_WINDOWTEXT));
        CHECK(answer.back == 0x00345678);
        CHECK(BrushColor(answer.brush) == 0x00345678);
        CHECK(AskColors(window, 1, WM_CTLCOLORBTN).text == GetSysColor(COLOR_BTNTEXT));

        tk::SetColors(window, 1, 0x0000FF, -2);
        answer = AskColors(window, 1);
        CHECK(answer.text == 0x0000FF);
        CHECK(answer.mode == TRANSPARENT);
        CHECK(answer.brush == (HBRUSH)GetStockObject(NULL_BRUSH));

        tk::SetColors(window, 1, 0x0000FF, -7);
        answer = AskColors(window, 1);
        CHECK(answer.back == GetSysColor(COLOR_BTNFACE));
        CHECK(answer.brush == GetSysColorBrush(COLOR_BTNFACE));
        CHECK(AskColors(window, 1, WM_CTLCOLOREDIT).brush == GetSysColorBrush(COLOR_WINDOW));
        CHECK(tk::GetCounts().brushes == brushesBefore);
    }
    SUBCASE("labels with one background share a brush that lives while either uses it") {
        tk::SetColors(window, 1, 0, 0xFF0000);
        tk::SetColors(window, 2, 0xFFFFFF, 0xFF0000);
        HBRUSH blue = AskColors(window, 1).brush;
        CHECK(AskColors(window, 2).brush == blue);
        CHECK(tk::GetCounts().brushes == brushesBefore + 1);

        tk::SetColors(window, 1, 0, 0x00FF00);
        CHECK(AskColors(window, 2).brush == blue);
        CHECK(GetObjectType(blue) == OBJ_BRUSH);
        CHECK(tk::GetCounts().brushes == brushesBefore + 2);

        tk::SetColors(window, 2, 0, 0x00FF00);
        CHECK(GetObjectType(blue) == 0);
        CHECK(AskColors(window, 2).brush == AskColors(window, 1).brush);
        CHECK(tk::GetCounts().brushes == brushesBefore + 1);
    }
    SUBCASE("painted: the dialog's colour, plain labels, transparent labels") {
        const COLORREF background = 0x3060A0;
        tk::SetColors(window, tk::DialogItself, 0xFFFFFF, background);
        tk::SetColors(window, 2, 0, 0x00FFFF);
        tk::SetColors(window, 3, 0xFFFFFF, tk::ColorTransparent);
        dialog.Show();
        CHECK(PixelAt(window, 5, 100) == background);
        CHECK(PixelAt(window, 30, 30) == GetSysColor(COLOR_BTNFACE));  // never given colours
        CHECK(PixelAt(window, 80, 30) == 0x00FFFF);
        CHECK(PixelAt(window, 185, 45) == background);  // transparent, beside its text

        // Redraw of a transparent label repaints the dialog under it too.
        HDC dc = GetDC(window);
        RECT under = {110, 10, 190, 50};
        FillRect(dc, &under, (HBRUSH)GetStockObject(BLACK_BRUSH));
        ReleaseDC(window, dc);
        CHECK(PixelAt(window, 185, 45) == 0);
        tk::Redraw(GetDlgItem(window, 3));
        CHECK(PixelAt(window, 185, 45) == background);
    }
}

TEST_CASE("pictures of image controls") {
    ModelessDialog dialog(700, 400);
    HWND window = dialog.window();
    int picturesBefore = tk::GetCounts().pictures;

    SUBCASE("a missing or empty name gives an empty control") {
        tk::AddControl(ControlKind::Image, window, 1, L"NOSUCH", 0, 0, 0, 0, 0, 0);
        tk::AddControl(ControlKind::Image, window, 2, L"", 0, 0, 0, 0, 0, 0);
        for (int id : {1, 2}) {
            REQUIRE(GetDlgItem(window, id) != nullptr);
            CHECK(PictureOf(window, id, IMAGE_ICON) == nullptr);
            CHECK(PictureOf(window, id, IMAGE_BITMAP) == nullptr);
        }
        CHECK(tk::GetCounts().pictures == picturesBefore);
    }
    SUBCASE("Image takes its bitmap's size; a missing bitmap empties it; the wrong kind does nothing") {
        tk::AddControl(ControlKind::Image, window, 1, L"title", 5, 5, 0, 0, 0, 0);
        HANDLE title = PictureOf(window, 1, IMAGE_BITMAP);
        REQUIRE(title != nullptr);
        SIZE size = ClientSize(GetDlgItem(window, 1));
        CHECK(size.cx == 640);
        CHECK(size.cy == 154);

        tk::SetImage(window, 1, L"load1", ControlKind::StretchedImage);
        CHECK(PictureOf(window, 1, IMAGE_BITMAP) == title);
        tk::SetImage(window, 1, L"VIDEO", ControlKind::Image);  // an icon name on a bitmap control
        CHECK(PictureOf(window, 1, IMAGE_BITMAP) == nullptr);
        CHECK(GetObjectType(title) == 0);
        tk::SetImage(window, 1, L"PATENT", ControlKind::Image);
        CHECK(PictureOf(window, 1, IMAGE_BITMAP) != nullptr);
        tk::SetImage(window, 1, L"LOAD9", ControlKind::Image);
        CHECK(PictureOf(window, 1, IMAGE_BITMAP) == nullptr);
        CHECK(tk::GetCounts().pictures == picturesBefore);
    }
    SUBCASE("StretchedImage shows its 100x100 bitmap scaled to the control") {
        tk::AddControl(ControlKind::StretchedImage, window, 1, L"load1", 10, 10, 40, 30, 0, 0);
        HBITMAP frame = (HBITMAP)PictureOf(window, 1, IMAGE_BITMAP);
        REQUIRE(frame != nullptr);
        BITMAP described = {};
        GetObjectW(frame, sizeof(described), &described);
        CHECK(described.bmWidth == 40);
        CHECK(described.bmHeight == 30);
        SIZE size = ClientSize(GetDlgItem(window, 1));
        CHECK(size.cx == 40);
        CHECK(size.cy == 30);

        dialog.Show();
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ before = SelectObject(memory, frame);
        int differing = 0;
        for (int y = 0; y < 30; y += 3)
            for (int x = 0; x < 40; x += 3) differing += GetPixel(memory, x, y) != PixelAt(window, 10 + x, 10 + y);
        SelectObject(memory, before);
        DeleteDC(memory);
        CHECK(differing == 0);

        tk::SetImage(window, 1, L"LOAD2", ControlKind::StretchedImage);
        HANDLE next = PictureOf(window, 1, IMAGE_BITMAP);
        CHECK(next != nullptr);
        CHECK(next != frame);
        CHECK(GetObjectType(frame) == 0);
        CHECK(tk::GetCounts().pictures == picturesBefore + 1);
    }
    SUBCASE("a name that is no bitmap makes an icon control, which takes icons only") {
        tk::AddControl(ControlKind::Image, window, 1, L"video", 0, 0, 0, 0, 0, 0);
        HANDLE icon = PictureOf(window, 1, IMAGE_ICON);
        CHECK(icon != nullptr);
        tk::SetImage(window, 1, L"TITLE", ControlKind::Image);
        CHECK(PictureOf(window, 1, IMAGE_ICON) == icon);
        tk::SetImage(window, 1, L"nosuch", ControlKind::Image);
        CHECK(PictureOf(window, 1, IMAGE_ICON) == nullptr);
        CHECK(tk::GetCounts().pictures == picturesBefore);
    }
}

TEST_CASE("dialog icons") {
    ModelessDialog dialog(200, 100);
    HWND window = dialog.window();
    int iconsBefore = tk::GetCounts().icons;

    std::vector<DWORD> firstBig, firstSmall;
    HICON previousBig = nullptr;
    for (const wchar_t* name : {L"Video", L"video", L"VIDEO"}) {
        CAPTURE(name);
        tk::SetDialogIcon(window, name);
        HICON big = (HICON)SendMessageW(window, WM_GETICON, ICON_BIG, 0);
        HICON small = (HICON)SendMessageW(window, WM_GETICON, ICON_SMALL, 0);
        REQUIRE(big != nullptr);
        REQUIRE(small != nullptr);
        SIZE bigSize = {}, smallSize = {};
        std::vector<DWORD> bigPixels = IconPixels(big, &bigSize), smallPixels = IconPixels(small, &smallSize);
        CHECK(bigSize.cx == 32);
        CHECK(smallSize.cx == 16);
        if (firstBig.empty()) {
            firstBig = bigPixels;
            firstSmall = smallPixels;
        }
        CHECK(bigPixels == firstBig);
        CHECK(smallPixels == firstSmall);
        if (previousBig) {
            ICONINFO info;
            CHECK_FALSE(GetIconInfo(previousBig, &info));  // replaced icons are destroyed
        }
        previousBig = big;
        CHECK(tk::GetCounts().icons == iconsBefore + 2);
    }

    tk::SetDialogIcon(window, L"nosuch");
    CHECK((HICON)SendMessageW(window, WM_GETICON, ICON_BIG, 0) == previousBig);

    tk::AddControl(ControlKind::Label, window, 1, L"", 0, 0, 10, 10, 0, 0);
    tk::SetDialogIcon(GetDlgItem(window, 1), L"VIDEO");
    CHECK(SendMessageW(GetDlgItem(window, 1), WM_GETICON, ICON_BIG, 0) == 0);
    CHECK(tk::GetCounts().icons == iconsBefore + 2);
}
