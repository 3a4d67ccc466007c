// The pictures, icon and cursor the program carries, found as its code names
// them, and the same pictures drawn at run time.
#include <doctest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/artwork.h"
#include "tests/support/test_support.h"

// Bits per pixel of a bitmap resource, read from its header.
static int BitmapDepth(const wchar_t* name, int* width, int* height, int* colorsUsed) {
    HRSRC found = FindResourceW(nullptr, name, MAKEINTRESOURCEW(2));  // RT_BITMAP
    if (!found) return -1;
    auto* header = (const BITMAPINFOHEADER*)LockResource(LoadResource(nullptr, found));
    if (!header) return -1;
    *width = header->biWidth;
    *height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    *colorsUsed = header->biClrUsed ? (int)header->biClrUsed : (header->biBitCount <= 8 ? 1 << header->biBitCount : 0);
    return header->biBitCount;
}

TEST_CASE("bitmaps: names found whatever their case, sizes and depths as drawn") {
    struct Expected { const wchar_t* name; int width, height, depth; };
    const Expected bitmaps[] = {
        {L"TITLE", 640, 154, 24}, {L"patent", 244, 212, 8}, {L"load1", 100, 100, 24},
        {L"LOAD2", 100, 100, 24}, {L"Load3", 100, 100, 24}, {L"load4", 100, 100, 24},
    };
    for (const Expected& e : bitmaps) {
        CAPTURE(e.name);
        int width = 0, height = 0, colors = 0;
        CHECK(BitmapDepth(e.name, &width, &height, &colors) == e.depth);
        CHECK(width == e.width);
        CHECK(height == e.height);
        if (e.depth == 8) CHECK(colors > 2);  // a real palette

        HBITMAP loaded = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), e.name, IMAGE_BITMAP, 0, 0,
                                             LR_LOADMAP3DCOLORS);
        REQUIRE(loaded != nullptr);
        BITMAP info = {};
        GetObjectW(loaded, sizeof(info), &info);
        CHECK(info.bmWidth == e.width);
        CHECK(info.bmHeight == e.height);
        DeleteObject(loaded);
    }
    int w, h, c;
    CHECK(BitmapDepth(L"LOAD5", &w, &h, &c) == -1);
}

TEST_CASE("the VIDEO icon group holds one 32x32 image of 32 bits") {
    for (const wchar_t* name : {L"VIDEO", L"Video", L"video"}) {
        CAPTURE(name);
        HRSRC group = FindResourceW(nullptr, name, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
        REQUIRE(group != nullptr);
        const BYTE* dir = (const BYTE*)LockResource(LoadResource(nullptr, group));
        WORD count = *(const WORD*)(dir + 4);
        CHECK(count == 1);
        const BYTE* entry = dir + 6;  // width, height, colours, reserved, planes, bit count, ...
        CHECK(entry[0] == 32);
        CHECK(entry[1] == 32);
        CHECK(*(const WORD*)(entry + 6) == 32);

        HICON big = (HICON)LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, 32, 32, 0);
        HICON small = (HICON)LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, 16, 16, 0);
        CHECK(big != nullptr);
        CHECK(small != nullptr);
        if (big) DestroyIcon(big);
        if (small) DestroyIcon(small);
    }
}

TEST_CASE("the AUTOR cursor is a 32x32 monochrome hand with its hot spot on the image") {
    HRSRC group = FindResourceW(nullptr, L"autor", MAKEINTRESOURCEW(12));  // RT_GROUP_CURSOR
    REQUIRE(group != nullptr);
    const BYTE* dir = (const BYTE*)LockResource(LoadResource(nullptr, group));
    CHECK(*(const WORD*)(dir + 4) == 1);
    const BYTE* entry = dir + 6;  // width, height (doubled), planes, bit count, bytes, id
    CHECK(*(const WORD*)(entry + 0) == 32);
    CHECK(*(const WORD*)(entry + 6) == 1);
    WORD id = *(const WORD*)(entry + 12);
    HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(1));  // RT_CURSOR
    REQUIRE(image != nullptr);
    const BYTE* bits = (const BYTE*)LockResource(LoadResource(nullptr, image));
    WORD hotX = *(const WORD*)bits, hotY = *(const WORD*)(bits + 2);
    CHECK(hotX < 32);
    CHECK(hotY < 16);  // the fingertip is in the upper half

    HCURSOR cursor = LoadCursorA(GetModuleHandleW(nullptr), "autor");
    REQUIRE(cursor != nullptr);
    ICONINFO info = {};
    REQUIRE(GetIconInfo(cursor, &info));
    CHECK_FALSE(info.fIcon);
    CHECK(info.xHotspot == hotX);
    CHECK(info.yHotspot == hotY);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST_CASE("the manifest makes the process code page UTF-8 and the program aware of each monitor's scale") {
    CHECK(GetACP() == CP_UTF8);
    CHECK(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()) == DPI_AWARENESS_PER_MONITOR_AWARE);
}

// The largest difference of a channel between two pictures of 0xAARRGGBB
// pixels, and the share of pixels within 3 levels.
static std::pair<int, double> Apart(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    REQUIRE((a.size() == b.size() && !a.empty()));
    int most = 0;
    size_t close = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int here = 0;
        for (int shift = 0; shift < 32; shift += 8)
            here = std::max(here, std::abs((int)((a[i] >> shift) & 0xFF) - (int)((b[i] >> shift) & 0xFF)));
        most = std::max(most, here);
        close += here <= 3;
    }
    return {most, (double)close / a.size()};
}

// The files are written from the same drawing on Linux (art_files_test); built
// for Windows it must draw the same pixels.
TEST_CASE("the artwork drawn at run time at 100 % is the picture the resources carry") {
    struct Expected { const wchar_t* name; int width, height; bool quantised; };
    // The patent is stored with a palette of 256 colours chosen by median cut.
    const Expected pictures[] = {{L"TITLE", 640, 154, false}, {L"PATENT", 244, 212, true}, {L"LOAD1", 100, 100, false},
                                 {L"LOAD2", 100, 100, false}, {L"LOAD3", 100, 100, false}, {L"LOAD4", 100, 100, false}};
    for (const Expected& e : pictures) {
        CAPTURE(test::Utf8(e.name));
        HBITMAP resource = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), e.name, IMAGE_BITMAP, 0, 0, 0);
        REQUIRE(resource);
        std::vector<uint32_t> shipped = test::BitmapPixels(resource), drawn((size_t)e.width * e.height);
        DeleteObject(resource);
        REQUIRE(PaintArtwork(e.name, e.width, e.height, drawn.data()));
        for (uint32_t& pixel : shipped) pixel |= 0xFF000000;  // a bitmap's fourth byte is no alpha
        CHECK(Apart(shipped, drawn).first <= (e.quantised ? 64 : 0));
        CHECK(Apart(shipped, drawn).second >= (e.quantised ? 0.9 : 1.0));
    }
    HICON icon = (HICON)LoadImageW(GetModuleHandleW(nullptr), L"VIDEO", IMAGE_ICON, 32, 32, 0);
    ICONINFO parts = {};
    REQUIRE(GetIconInfo(icon, &parts));
    std::vector<uint32_t> shipped = test::BitmapPixels(parts.hbmColor), drawn(32 * 32);
    REQUIRE(PaintArtwork(L"VIDEO", 32, 32, drawn.data()));
    CHECK(Apart(shipped, drawn).first == 0);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);
}

TEST_CASE("at start the program loads only KERNEL32, USER32, GDI32 and msvcrt; the rest at first use") {
    std::vector<std::string> names = test::ImportedDlls(test::EnvPath(L"DUZID_PROGRAM_DIR") + L"\\DU_ZID.exe");
    for (std::string& name : names) std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    std::sort(names.begin(), names.end());
    CHECK(names == std::vector<std::string>{"gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"});
}
