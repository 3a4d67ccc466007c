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

// The file's bytes up to kSettingsReadLimit; empty when it cannot be opened.
static std::string ReadFileBytes(const std::wstring& path) {
    // Held without sharing while open, as a second copy of the program must
    // not touch it meanwhile.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();

    std::string bytes;
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    if (size != INVALID_FILE_SIZE || GetLastError() == NO_ERROR) {
        DWORD wanted = (DWORD)SettingsBytesToRead(((uint64_t)sizeHigh << 32) | size);
        bytes.resize(wanted);
        DWORD got = 0;
        if (wanted == 0 || !ReadFile(file, &bytes[0], wanted, &got, nullptr)) got = 0;
        bytes.resize(got);
    }
    CloseHandle(file);
    return bytes;
}

Settings ReadSettingsFile(const std::wstring& path, const std::string& defaultFolder, int32_t currentMode) {
    if (!IsExistingFile(path)) return Settings{defaultFolder, defaultFolder, currentMode};
    std::string bytes = ReadFileBytes(path);
    return ReadSettingsBytes(bytes.data(), bytes.size(), defaultFolder);
}

void ReadSettings() {
    Settings settings = ReadSettingsFile(SettingsFilePath(), CurrentFolder(), MODE);
    IN_DIR = settings.inDir;
    OUT_DIR = settings.outDir;
    MODE = settings.mode;
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

bool WriteSettingsFile(const std::wstring& path, const Settings& settings) {
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
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

void WriteSettings() {
    WriteSettingsFile(SettingsFilePath(), Settings{IN_DIR, OUT_DIR, MODE});
}
