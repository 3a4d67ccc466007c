#include "app/startup.h"

#include <windows.h>

#include "app/command_line.h"
#include "app/program_path.h"
#include "toolkit/text.h"

void ChangeToProgramFolder() {
    std::wstring folder = ProgramFolderW();
    if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
}

std::vector<std::string> NamedOnCommandLine() {
    std::vector<std::string> named;
    for (const std::string& argument : CommandLineArguments(tk::Narrow(GetCommandLineW()))) {
        std::wstring name = tk::Widen(argument);
        DWORD n = name.empty() ? 0 : GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
        if (n == 0) continue;
        std::wstring full(n, L'\0');
        full.resize(GetFullPathNameW(name.c_str(), n, &full[0], nullptr));
        named.push_back(tk::Narrow(full));
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
