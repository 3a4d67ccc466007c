#include "app/startup.h"

#include <windows.h>

#include "app/command_line.h"
#include "app/program_path.h"
#include "convert/paths.h"
#include "toolkit/text.h"

void ChangeToProgramFolder() {
    std::wstring folder = ProgramFolderW();
    if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
}

std::vector<std::string> NamedOnCommandLine() {
    std::vector<std::string> named;
    // Made full here, before the current folder becomes the program's.
    for (const std::string& argument : CommandLineArguments(tk::Narrow(GetCommandLineW()))) {
        std::string full = argument.empty() ? argument : RunFilePath(argument);
        if (!full.empty()) named.push_back(full);
    }
    return named;
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
