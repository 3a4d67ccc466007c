#pragma once
// Steps of start-up that WinMain runs in its fixed order.
#include <string>
#include <vector>

#include "convert/settings.h"

// Makes the program's folder (trailing "\" included) the current folder;
// a failure is ignored and the run goes on where it started.
void ChangeToProgramFolder();

// The files and folders named on the command line ("Send To", a drop onto
// the program's icon), made full paths against the folder the program was
// started in: to be taken before ChangeToProgramFolder.
std::vector<std::string> NamedOnCommandLine();

// GetVersionExA reports the NT platform (id 2).
bool IsNtFamily();
