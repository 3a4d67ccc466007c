// The in-memory dialog template, byte for byte (UTF-16 texts: Windows only).
#include <doctest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/dialog_rules.h"
#include "toolkit/template.h"

TEST_CASE("the dialog template, byte for byte") {
    tk::TemplateFields fields = {};
    fields.style = 0x80CA0854;
    fields.exStyle = 0x00000008;
    fields.x = 0;
    fields.y = -2;
    fields.width = 1000;
    fields.height = 350;
    fields.title = L" ";
    fields.pointSize = 8;
    fields.weight = tk::TemplateFontWeight(400);
    fields.italic = 0;
    fields.charSet = 0;
    fields.face = L"MS Sans Serif";
    tk::DialogTemplate written;
    tk::WriteDialogTemplate(fields, &written);

    std::vector<uint8_t> expected = {
        0x01, 0x00, 0xFF, 0xFF,              // version 1, extended signature
        0x00, 0x00, 0x00, 0x00,              // help id
        0x08, 0x00, 0x00, 0x00,              // extended style
        0x54, 0x08, 0xCA, 0x80,              // style
        0x00, 0x00,                          // no items
        0x00, 0x00, 0xFE, 0xFF,              // x, y
        0xE8, 0x03, 0x5E, 0x01,              // width, height
        0x00, 0x00, 0x00, 0x00,              // no menu, default class
        0x20, 0x00, 0x00, 0x00,              // title " "
        0x08, 0x00, 0xBC, 0x02, 0x00, 0x00,  // 8 points, weight 700, not italic, character set 0
    };
    for (wchar_t c : std::wstring(L"MS Sans Serif")) {
        expected.push_back((uint8_t)c);
        expected.push_back(0);
    }
    expected.push_back(0);
    expected.push_back(0);
    REQUIRE(written.size == expected.size());
    CHECK(memcmp(written.bytes, expected.data(), expected.size()) == 0);
    CHECK(((uintptr_t)written.bytes & 3) == 0);

    CHECK(tk::TemplateFontWeight(0) == 400);
    CHECK(tk::TemplateFontWeight(100) == 700);

    // Without DS_SETFONT there is no font block; a title that does not fit gives nothing.
    fields.style = WS_POPUP;
    tk::WriteDialogTemplate(fields, &written);
    CHECK(written.size == 34);
    std::wstring longTitle(300, L'a');
    fields.title = longTitle.c_str();
    tk::WriteDialogTemplate(fields, &written);
    CHECK(written.size == 0);
}
