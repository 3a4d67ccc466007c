#pragma once
// What a single conversion and a batch share: their job records run side by
// side under the busy window, each output put in place as soon as it is
// whole, and the file checks around them.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "convert/encoder.h"

constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;      // 0x30
constexpr UINT kInformation = MB_OK | MB_ICONINFORMATION;  // 0x40

// The jobs of one run, owned by it; at most slots of them run at once.
struct ConversionRun {
    std::vector<std::unique_ptr<EncoderJob>> jobs;
    int slots = 1;
    bool batch = false;  // the busy window shows the whole batch's percentage and the files done
    int shownPercent = -1;
};

// Runs every job of run, the busy window over the main window meanwhile: the
// next is started as soon as one ends, each output takes its chosen name as
// soon as it is whole, a job that fails does not stop the others, and a Yes
// to the stop question ends those running and starts no more. Returns once
// every job has ended; false, with none started, when the run cannot begin.
bool RunJobs(ConversionRun& run);

// Picks free names for the temporary output and the log in the folder of the
// job's output and takes the log's name by creating it; false, with the
// system's error code, when the folder takes no new file.
bool ReserveTemporaryFiles(EncoderJob& job, DWORD* error);

bool Succeeded(const EncoderOutcome& outcome);

// What the system says of an error code, on one line.
std::string SystemErrorText(DWORD code);
// An encoder's exit code as the user reads it: exception codes such as
// 0xC0000005 in hexadecimal, the others in decimal.
std::string ExitCodeText(uint32_t code);
// "The converted file cannot be written into:", the folder and the system's reason.
std::string UnwritableFolderText(const std::string& folder, DWORD error);

// A file of a run as the file functions take it whatever its length: full,
// and past MAX_PATH in the extended form.
std::string RunFilePath(const std::string& path);

// The path made full (trimmed of spaces, "..", "/" resolved).
std::wstring FullPath(const std::string& path);
bool PathExists(const std::string& path);

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
bool IdentifyFile(const std::wstring& path, FileIdentity* identity);
