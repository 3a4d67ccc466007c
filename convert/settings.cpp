#include "convert/settings.h"

#include <windows.h>

#include "app/globals.h"
#include "app/program_path.h"
#include "toolkit/text.h"

std::wstring SettingsFilePath() {
    return tk::Widen(PathBesideProgram(ProgramFolder(), "DU_ZID.ini"));
}

// True when path names an existing file that is not a folder.
static bool IsExistingFile(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The file's bytes up to kSettingsReadLimit; false when it cannot be opened or read.
static bool ReadFileBytes(const std::wstring& path, std::string* out) {
    // Held without sharing while open, as a second copy of the program must
    // not touch it meanwhile.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    out->clear();
    if (file == INVALID_HANDLE_VALUE) return false;

    bool ok = false;
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    if (size != INVALID_FILE_SIZE || GetLastError() == NO_ERROR) {
        DWORD wanted = (DWORD)SettingsBytesToRead(((uint64_t)sizeHigh << 32) | size);
        out->resize(wanted);
        DWORD got = 0;
        ok = wanted == 0 || ReadFile(file, &(*out)[0], wanted, &got, nullptr);
        out->resize(ok ? got : 0);
    }
    CloseHandle(file);
    return ok;
}

Settings ReadSettingsFile(const std::wstring& path, const std::string& defaultFolder, int32_t currentMode,
                          SettingsSource* source) {
    SettingsSource found = SettingsSource::Missing;
    Settings settings{defaultFolder, defaultFolder, currentMode};
    if (IsExistingFile(path)) {
        std::string bytes;
        found = ReadFileBytes(path, &bytes) ? SettingsSource::Read : SettingsSource::Unreadable;
        settings = ReadSettingsBytes(bytes.data(), bytes.size(), defaultFolder);
    }
    if (source) *source = found;
    return settings;
}

// A file that existed but could not be read at start-up (held by another
// program) still holds the user's folders and mode: the exit leaves it alone.
static SettingsSource g_startSource = SettingsSource::Missing;

OutputChoice ReadSettings() {
    Settings settings = ReadSettingsFile(SettingsFilePath(), CurrentFolder(), MODE, &g_startSource);
    IN_DIR = settings.inDir;
    OUT_DIR = settings.outDir;
    MODE = settings.mode;
    return settings.output;
}

// Writes all of text to a new file at path; false (and no file left) on failure.
static bool WriteNewFile(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr) && written == text.size() &&
              SetEndOfFile(file) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileW(path.c_str());
    return ok;
}

// The old file can be opened as ReplaceFileW opens it. Asked first because
// Wine's ReplaceFileW leaves an empty temporary file behind when another
// program holds the old file.
static bool CanBeReplaced(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// The user made the file read-only to keep the settings in it.
static bool IsReadOnlyFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteSettingsFile(const std::wstring& path, const Settings& settings) {
    if (IsReadOnlyFile(path)) return false;
    // The new text goes to a temporary file beside the old one, which is then
    // replaced in one step: a failure at any point leaves the old file whole.
    std::wstring temporary;
    for (unsigned attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        // std::to_string, unlike std::to_wstring, formats without the C runtime's printf.
        std::wstring candidate =
            path + L".new" + tk::Widen(std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt));
        if (WriteNewFile(candidate, FormatSettingsText(settings))) temporary = candidate;
        else if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    if (temporary.empty()) return false;
    // ReplaceFileW keeps what belongs to the old file (its attributes, its own
    // permissions, its creation time); the move serves a new file, and the
    // cases ReplaceFileW turns down.
    if (CanBeReplaced(path) &&
        ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

void WriteSettings(const OutputChoice& output) {
    if (g_startSource == SettingsSource::Unreadable) return;
    WriteSettingsFile(SettingsFilePath(), Settings{IN_DIR, OUT_DIR, MODE, output});
}
