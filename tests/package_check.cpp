// The release package as a user unpacks it: run by tests/package_test.sh on the
// folder DUZID_PACKAGE_DIR, into which the zip has been unpacked.
#include <doctest.h>
#include <windows.h>

#include <vector>

#include "app/maker_info.h"
#include "tests/support/installation.h"
#include "tests/support/program_driver.h"

TEST_CASE("the unpacked program names itself in its file properties") {
    std::wstring exe = test::EnvPath(L"DUZID_PACKAGE_DIR") + L"\\DU_ZID.exe";
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    REQUIRE(size > 0);
    std::vector<BYTE> block(size);
    REQUIRE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueW(block.data(), L"\\", (void**)&fixed, &length));
    CHECK(fixed->dwFileVersionMS == 0x00010000);  // 1.0.1.0
    CHECK(fixed->dwFileVersionLS == 0x00010000);
    CHECK(fixed->dwProductVersionMS == fixed->dwFileVersionMS);
    CHECK(fixed->dwProductVersionLS == fixed->dwFileVersionLS);
    // Explorer's Details page shows the string table of the first translation.
    WORD* translation = nullptr;
    REQUIRE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", (void**)&translation, &length));
    CHECK(translation[0] == 0x0409);  // English (US)
    CHECK(translation[1] == 1200);    // Unicode

    const std::string properties[][2] = {
        {"ProductVersion", "1.01"}, {"FileVersion", "1.0.1.0"}, {"ProductName", MAKER_PRODUCT_NAME},
        {"FileDescription", MAKER_FILE_DESCRIPTION}, {"CompanyName", MAKER_NAME},
        {"LegalCopyright", MAKER_COPYRIGHT}};
    for (const auto& property : properties) {
        std::wstring path = L"\\StringFileInfo\\040904B0\\" + test::FromUtf8(property[0]);
        wchar_t* value = nullptr;
        INFO(property[0]);
        bool found = VerQueryValueW(block.data(), path.c_str(), (void**)&value, &length) && value;
        CHECK((found ? test::Utf8(value) : std::string("(missing)")) == property[1]);
    }
}

TEST_CASE("the unpacked program converts a WAV with the package's own encoder") {
    std::wstring dir = test::EnvPath(L"DUZID_PACKAGE_DIR");
    REQUIRE(test::FileExists(dir + L"\\PLUG-IN\\ffmpeg_III.exe"));
    test::TempFolder data(L" записи");
    test::ConvertWithRealEncoder(dir, data.path(), 5);
    CHECK(test::FileExists(dir + L"\\DU_ZID.ini"));  // the settings go beside the program
}
