#include "tests/support/program_driver.h"

#include "tests/support/test_support.h"

namespace test {

bool InstallProgram(const std::wstring& folder) {
    std::wstring built = EnvPath(L"DUZID_PROGRAM_DIR") + L"\\DU_ZID.exe";
    return CopyFileW(built.c_str(), (folder + L"\\DU_ZID.exe").c_str(), FALSE) != 0;
}

static std::wstring ExePath(const std::wstring& folder) {
    return (!folder.empty() && folder.back() == L'\\') ? folder + L"DU_ZID.exe" : folder + L"\\DU_ZID.exe";
}

bool RunProgramToEnd(const std::wstring& folder, const std::wstring& arguments, const std::wstring& currentFolder,
                     DWORD* exitCode) {
    std::wstring commandLine = L"\"" + ExePath(folder) + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    ChildProcess program(commandLine, currentFolder);
    if (!program.started()) return false;
    return program.Wait(60000, exitCode);
}

}  // namespace test
