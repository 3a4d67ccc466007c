#pragma once
// Where the program lives and where the process stands.
#include <string>

// The running executable's folder, up to and including its last "\".
std::wstring ProgramFolderW();
std::string ProgramFolder();

// The process's current folder as the platform reports it: no trailing "\"
// except at the root of a drive.
std::string CurrentFolder();

// folder with every trailing "\" removed, then "\" and leaf:
// "C:\Tools\" + "DU_ZID.ini" gives "C:\Tools\DU_ZID.ini", "D:\" gives "D:\DU_ZID.ini".
std::string PathBesideProgram(const std::string& folder, const std::string& leaf);

// The part of a path up to and including its last "\" (empty when there is none).
std::wstring FolderPart(const std::wstring& path);
