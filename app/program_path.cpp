#include "app/program_path.h"

#include <windows.h>

#include "toolkit/text.h"

std::wstring ProgramFolderW() {
    // Paths past MAX_PATH exist; grow until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &path[0], (DWORD)path.size());
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FolderPart(path);
}

std::string ProgramFolder() { return tk::Narrow(ProgramFolderW()); }

std::string CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return std::string();
    std::wstring folder(n, L'\0');
    n = GetCurrentDirectoryW(n, &folder[0]);
    folder.resize(n);
    return tk::Narrow(folder);
}
