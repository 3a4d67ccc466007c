#pragma once
// Starting the external encoder, PLUG-IN\ffmpeg_III.exe beside the program.
#include <windows.h>

#include <string>

#include "app/globals.h"

// "<folder>\PLUG-IN\ffmpeg_III.exe", with a single "\" whatever folder ends with.
std::string EncoderPath(const std::string& programFolder);

// The one fixed command line: MP3 at 128 kbit/s, replacing an existing output.
// Paths are trimmed of spaces and quoted as they are, without escaping.
std::string EncoderCommandLine(const std::string& programFolder, const std::string& inFile,
                               const std::string& outFile);

// Starts the command line hidden, waits for the process without a time limit
// and closes its handles.
EncoderOutcome RunEncoder(const std::string& commandLine);

// The worker thread of a conversion: reads IN_FILE and OUT_FILE once, runs the
// encoder, records ENCODER_OUTCOME and then clears ENCODING, on every path.
DWORD WINAPI EncoderThread(LPVOID unused);
