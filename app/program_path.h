#pragma once
// Where the program lives and where the process stands.
#include <string>

#include "app/path_text.h"

// The running executable's folder, up to and including its last "\".
std::wstring ProgramFolderW();
std::string ProgramFolder();

// The process's current folder as the platform reports it: no trailing "\"
// except at the root of a drive.
std::string CurrentFolder();
