#include "convert/paths.h"

#include <algorithm>

#include "toolkit/text.h"

namespace {

bool IsExtended(const std::string& path) { return path.rfind("\\\\?\\", 0) == 0; }

// The path made full by the system: trimmed of spaces, "..", "/" resolved.
std::string FullPath(const std::string& path) {
    std::wstring wide = tk::Widen(tk::TrimSpaces(path));
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return tk::Narrow(wide);
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
    full.resize(n);
    return tk::Narrow(full);
}

// The file system's comparison of names: ordinal, without regard to case.
int CompareNames(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), (int)a.size(), b.c_str(), (int)b.size(), TRUE);
}

bool WideNameBefore(const std::wstring& a, const std::wstring& b) { return CompareNames(a, b) == CSTR_LESS_THAN; }

DWORD Attributes(const std::string& path) { return GetFileAttributesW(tk::Widen(RunFilePath(path)).c_str()); }

}  // namespace

// An extended name is already full, and making it full again would resolve
// what it keeps verbatim.
std::string RunFilePath(const std::string& path) {
    return IsExtended(path) ? path : ExtendedLengthPath(FullPath(path));
}

bool SameName(const std::string& a, const std::string& b) { return CompareNames(tk::Widen(a), tk::Widen(b)) == CSTR_EQUAL; }

bool NameBefore(const std::string& a, const std::string& b) { return WideNameBefore(tk::Widen(a), tk::Widen(b)); }

bool PathExists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool InputFileExists(const std::string& path) {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(tk::Widen(RunFilePath(path)).c_str(), GetFileExInfoStandard, &data)) return -1;
    return ((int64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

bool IdentifyFile(const std::string& path, FileIdentity* identity) {
    // No access asked for: a file held open by another program still answers.
    HANDLE file = CreateFileW(tk::Widen(RunFilePath(path)).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    bool ok = GetFileInformationByHandle(file, &info) != FALSE;
    CloseHandle(file);
    *identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    // Two existing names may reach one file by a hard link, a short name, a
    // junction or a mapped drive: then the file system itself tells.
    FileIdentity idA, idB;
    if (IdentifyFile(a, &idA) && IdentifyFile(b, &idB)) return idA == idB;
    return SameName(PlainPath(RunFilePath(a)), PlainPath(RunFilePath(b)));
}

std::vector<std::string> FilesIn(const std::string& folder, bool (*keep)(const std::string& name)) {
    std::string base = VerbatimPath(RunFilePath(folder));
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(tk::Widen(JoinPath(base, "*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && keep(tk::Narrow(found.cFileName)))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), WideNameBefore);
    std::vector<std::string> files;
    for (const std::wstring& name : names) files.push_back(JoinPath(base, tk::Narrow(name)));
    return files;
}
