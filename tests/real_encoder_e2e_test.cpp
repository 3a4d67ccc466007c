// The real Windows encoder of the set-up, started by the real program: WAV in,
// MP3-coded audio out.
#include <doctest.h>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

using test::TempFolder;

namespace {

void ConvertWithRealEncoder(const std::wstring& programSuffix, const std::wstring& dataSuffix) {
    TempFolder program(programSuffix);
    TempFolder data(dataSuffix);
    REQUIRE(test::InstallProgram(program.path()));
    REQUIRE(test::InstallRealEncoder(program.path()));
    test::ConvertWithRealEncoder(program.path(), data.path(), 10);
}

}  // namespace

TEST_CASE("a 10-second stereo WAV becomes MP3-coded audio of the same length") {
    ConvertWithRealEncoder(L" program", L" data");
}

TEST_CASE("the same from and into folders named in Cyrillic") {
    ConvertWithRealEncoder(L" Программа", L" Записи Ёж");
}
