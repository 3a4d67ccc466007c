#pragma once
// Path texts around the program's folder, worked out without asking the platform.
#include <string>

// folder with every trailing "\" removed, then "\" and leaf:
// "C:\Tools\" + "DU_ZID.ini" gives "C:\Tools\DU_ZID.ini", "D:\" gives "D:\DU_ZID.ini".
std::string PathBesideProgram(const std::string& folder, const std::string& leaf);

// The part of a path up to and including its last "\" (empty when there is none).
std::wstring FolderPart(const std::wstring& path);
