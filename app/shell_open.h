#pragma once
// Every link of the program opens through here, so that one place decides how
// the shell is asked (and tests can see what would be opened).
#include <windows.h>

#include <string>

// verb may be nullptr (the default action). The result is ignored by callers.
void OpenWithShell(const char* verb, const std::string& address);

// Replaces the platform call, for tests; nullptr restores it.
using ShellOpener = void (*)(const char* verb, const std::string& address);
void SetShellOpener(ShellOpener opener);
