#include "app/shell_open.h"

#include <shellapi.h>

static ShellOpener g_opener = nullptr;

void SetShellOpener(ShellOpener opener) { g_opener = opener; }

void OpenWithShell(const char* verb, const std::string& address) {
    if (g_opener) {
        g_opener(verb, address);
        return;
    }
    ShellExecuteA(nullptr, verb, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
