#pragma once
// Drives the real program from the test process, as a user would.
#include <windows.h>

#include <string>

namespace test {

// Copies the built DU_ZID.exe into folder.
bool InstallProgram(const std::wstring& folder);

// Starts folder\DU_ZID.exe with the given arguments and current folder, walks
// it through to its end, and returns its exit code. False when it would not
// start or end within the time limit.
bool RunProgramToEnd(const std::wstring& folder, const std::wstring& arguments, const std::wstring& currentFolder,
                     DWORD* exitCode);

}  // namespace test
