// The fonts the windows are drawn with, as this system resolves them. Under
// Wine they come from the prefix (scripts/wine-prefix.sh); when they are
// missing, every face falls back to one sans serif, the dialogs are laid out
// with other metrics, and picture tests far away fail without naming why.
#include <doctest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

LOGFONTW Request(const wchar_t* face) {
    LOGFONTW font = {};
    font.lfHeight = -11;  // 8 points at 96 dpi
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

std::wstring FontsFolder() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Fonts";
}

const std::string kWineFonts = "the Debian package fonts-wine, copied into the prefix by scripts/wine-prefix.sh";

}  // namespace

TEST_CASE("fonts: Wine's own font files are in the prefix") {
    std::string missing;
    for (const wchar_t* file : {L"sserife.fon", L"tahoma.ttf", L"tahomabd.ttf", L"marlett.ttf"})
        if (!test::FileExists(FontsFolder() + L"\\" + file)) missing += " " + test::Utf8(file);
    CHECK_MESSAGE(missing.empty(), "missing from " << test::Utf8(FontsFolder()) << ":" << missing << " (" << kWineFonts
                                                   << ")");
}

TEST_CASE("fonts: the dialog font, the captions and the headings are drawn with the intended faces") {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    REQUIRE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    metrics.lfCaptionFont.lfWeight = FW_NORMAL;
    const bool wine = test::RunningUnderWine();
    struct Expected {
        std::string what;
        LOGFONTW request;
        std::wstring face;
        std::string cause;
    };
    std::vector<Expected> expected = {
        {"the dialog font \"MS Sans Serif\"", Request(L"MS Sans Serif"), L"MS Sans Serif", kWineFonts},
        {"the caption buttons' \"Marlett\"", Request(L"Marlett"), L"Marlett", kWineFonts},
        {"the headings' \"Times New Roman\"", Request(L"Times New Roman"),
         wine ? L"Liberation Serif" : L"Times New Roman",
         "the Debian package fonts-liberation or the prefix's replacement of Times New Roman "
         "(HKCU\\Software\\Wine\\Fonts\\Replacements, set by scripts/wine-prefix.sh)"},
    };
    // Wine draws the frames itself here; on Windows the caption font is the theme's.
    if (wine) expected.push_back({"the caption font", metrics.lfCaptionFont, L"Tahoma", kWineFonts});
    for (const Expected& font : expected) {
        std::string drawn = test::Utf8(test::DrawnFace(font.request)), intended = test::Utf8(font.face);
        CHECK_MESSAGE(drawn == intended,
                      font.what << " is drawn with \"" << drawn << "\", not \"" << intended << "\": missing is " << font.cause);
    }
}
