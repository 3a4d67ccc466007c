#pragma once
// The one place where a run's names meet the file system. A name is made full
// once (spaces trimmed, "..", "/" and the current folder resolved), a full
// name of 260 UTF-16 units or more takes the extended "\\?\" form, a name in
// that form is taken verbatim (names found in a folder come so: "con.wav"
// stays a file there), and names are compared as the file system compares
// them: ordinal, without regard to case. Every file call on a run's file
// takes its path through RunFilePath.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "convert/path_rules.h"

// A file of a run as the file functions take it whatever its length or name:
// full, and past MAX_PATH (or found in a folder) in the extended form.
std::string RunFilePath(const std::string& path);

// Both names are the same as the file system compares names.
bool SameName(const std::string& a, const std::string& b);
// a comes before b in the file system's order of names, which holds the same
// names together.
bool NameBefore(const std::string& a, const std::string& b);

bool PathExists(const std::string& path);
// An existing file (not a folder) at path.
bool InputFileExists(const std::string& path);
// Size of an existing file; -1 when there is none.
int64_t FileSize(const std::string& path);

// The volume and index of an existing file, which tell one file under any of
// its names; false when it cannot be opened.
struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};
bool IdentifyFile(const std::string& path, FileIdentity* identity);

// Both name the same file: by the file system's identity when both exist,
// else by their full names.
bool IsSameFile(const std::string& a, const std::string& b);

// The files directly in folder whose names pass keep, in the order of their
// names, each in the extended form with its name as found.
std::vector<std::string> FilesIn(const std::string& folder, bool (*keep)(const std::string& name));
