#include "app/startup.h"

#include <windows.h>

#include "app/program_path.h"

void ChangeToProgramFolder() {
    std::wstring folder = ProgramFolderW();
    if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
}

bool IsNtFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) return true;
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
