// DU_ZID.ini on disk: reading it whatever state it is in, replacing it safely.
#include <doctest.h>

#include "convert/settings.h"
#include "tests/support/test_support.h"

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

static bool OnlyFileIs(const TempFolder& folder, const std::wstring& name) {
    int count = 0;
    bool found = false;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder.path() + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        std::wstring leaf = data.cFileName;
        if (leaf == L"." || leaf == L"..") continue;
        ++count;
        found = found || leaf == name;
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return count == 1 && found;
}

TEST_CASE("no file: both folders default, mode keeps its value; writing creates the five lines") {
    TempFolder folder;
    std::wstring ini = folder / L"DU_ZID.ini";
    Settings read = ReadSettingsFile(ini, "C:\\Tools", 17);
    CHECK(read.inDir == "C:\\Tools");
    CHECK(read.outDir == "C:\\Tools");
    CHECK(read.mode == 17);

    REQUIRE(WriteSettingsFile(ini, Settings{"C:\\Tools", "C:\\Tools", 0}));
    CHECK(ReadBytes(ini) == FormatSettingsText(Settings{"C:\\Tools", "C:\\Tools", 0}));
    CHECK(OnlyFileIs(folder, L"DU_ZID.ini"));
}

TEST_CASE("writing replaces a longer old file completely") {
    TempFolder folder;
    std::wstring ini = folder / L"DU_ZID.ini";
    REQUIRE(WriteBytes(ini, std::string(5000, 'x')));
    REQUIRE(WriteSettingsFile(ini, Settings{"A", "B", 3}));
    CHECK(ReadBytes(ini) == FormatSettingsText(Settings{"A", "B", 3}));
    CHECK(OnlyFileIs(folder, L"DU_ZID.ini"));
}

TEST_CASE("a folder at the file's path: defaults on read, left alone on write") {
    TempFolder folder;
    std::wstring ini = folder / L"DU_ZID.ini";
    REQUIRE(CreateDirectoryW(ini.c_str(), nullptr));
    Settings read = ReadSettingsFile(ini, "C:\\Tools", 0);
    CHECK(read.inDir == "C:\\Tools");
    CHECK(read.mode == 0);

    CHECK_FALSE(WriteSettingsFile(ini, Settings{"A", "B", 1}));
    CHECK(test::FolderExists(ini));
    CHECK(OnlyFileIs(folder, L"DU_ZID.ini"));
}

TEST_CASE("a file held open exclusively by another process") {
    TempFolder folder;
    std::wstring ini = folder / L"DU_ZID.ini";
    std::string old = FormatSettingsText(Settings{"C:\\Old", "C:\\Old", 9});
    REQUIRE(WriteBytes(ini, old));

    test::ChildProcess holder(L"\"" + test::EnvPath(L"DUZID_HOLD_FILE") + L"\" \"" + ini + L"\"");
    REQUIRE(holder.started());
    REQUIRE(test::WaitFor([&] { return test::FileExists(ini + L".held"); }, 20000));

    SettingsSource source = SettingsSource::Read;
    Settings read = ReadSettingsFile(ini, "C:\\Tools", 4, &source);
    CHECK(source == SettingsSource::Unreadable);  // so the program's exit leaves it alone
    CHECK(read.inDir == "C:\\Tools");
    CHECK(read.outDir == "C:\\Tools");
    CHECK(read.mode == 0);

    CHECK_FALSE(WriteSettingsFile(ini, Settings{"C:\\New", "C:\\New", 1}));
    holder.Kill();
    CHECK(ReadBytes(ini) == old);
    DeleteFileW((ini + L".held").c_str());
    CHECK(OnlyFileIs(folder, L"DU_ZID.ini"));
}

// The program's own import of ReplaceFileW, counted while a test runs.
extern "C" decltype(&ReplaceFileW) __imp_ReplaceFileW;
static decltype(&ReplaceFileW) g_realReplaceFile = nullptr;
static int g_replaceCalls = 0;
static BOOL WINAPI CountedReplaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID a,
                                      LPVOID b) {
    ++g_replaceCalls;
    return g_realReplaceFile(replaced, replacement, backup, flags, a, b);
}

TEST_CASE("an existing file is replaced in place, keeping what belongs to it; a new one is moved there") {
    g_realReplaceFile = __imp_ReplaceFileW;
    __imp_ReplaceFileW = CountedReplaceFile;
    g_replaceCalls = 0;
    TempFolder folder;
    std::wstring ini = folder / L"DU_ZID.ini";
    Settings written{"C:\\New", "C:\\New", 1};
    REQUIRE(WriteSettingsFile(ini, written));
    CHECK(g_replaceCalls == 0);

    REQUIRE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN));
    written.mode = 2;
    REQUIRE(WriteSettingsFile(ini, written));
    CHECK(g_replaceCalls == 1);
    CHECK(ReadBytes(ini) == FormatSettingsText(written));
    CHECK(OnlyFileIs(folder, L"DU_ZID.ini"));
    // Wine's ReplaceFileW moves the new file over the old one and keeps none of
    // the old file's attributes; Windows keeps them.
    if (!test::RunningUnderWine()) CHECK((GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0);
    __imp_ReplaceFileW = g_realReplaceFile;
}

TEST_CASE("only the first 64 KiB of a huge file are read") {
    TempFolder folder;
    std::wstring ini = folder / L"DU_ZID.ini";
    std::string text = "<IN_DIR>C:\\Near</IN_DIR>";
    text += std::string(kSettingsReadLimit - text.size() - 3, ' ');
    text += "<MODE>5</MODE><OUT_DIR>C:\\Far</OUT_DIR>";  // starts inside the limit, ends past it
    text += std::string(10 * 1024 * 1024, 'z');
    REQUIRE(WriteBytes(ini, text));

    Settings read = ReadSettingsFile(ini, "C:\\Tools", 0);
    CHECK(read.inDir == "C:\\Near");
    CHECK(read.outDir == "C:\\Tools");
    CHECK(read.mode == 0);  // "<MO" fits, the tag does not
}

TEST_CASE("binary garbage on disk reads as defaults") {
    TempFolder folder;
    std::wstring ini = folder / L"DU_ZID.ini";
    std::string garbage;
    for (int i = 0; i < 70000; ++i) garbage += (char)((i * 2654435761u) >> 24);
    REQUIRE(WriteBytes(ini, garbage));
    Settings read = ReadSettingsFile(ini, "C:\\Tools", 3);
    CHECK(read.inDir == "C:\\Tools");
    CHECK(read.mode == 0);
}

TEST_CASE("folders in any script survive a round trip through the file") {
    REQUIRE(GetACP() == CP_UTF8);  // the manifest's code page
    TempFolder folder(L" Папка 音楽");
    std::wstring ini = folder / L"DU_ZID.ini";
    std::string cyrillic = test::Utf8(L"C:\\Музыка\\Записи");
    std::string mixed = test::Utf8(L"D:\\音楽\\Café");
    REQUIRE(WriteSettingsFile(ini, Settings{cyrillic, mixed, -8}));
    Settings read = ReadSettingsFile(ini, "C:\\Tools", 0);
    CHECK(read.inDir == cyrillic);
    CHECK(read.outDir == mixed);
    CHECK(read.mode == -8);
    CHECK(ReadBytes(ini).find(cyrillic) != std::string::npos);
}
