#pragma once
// The external encoder's path and its one command line, as text.
#include <string>

// "<folder>\PLUG-IN\ffmpeg_III.exe", with a single "\" whatever folder ends with.
std::string EncoderPath(const std::string& programFolder);

// The one fixed command line: MP3 at 128 kbit/s, replacing an existing output.
// Paths are trimmed of spaces and quoted as they are, without escaping.
std::string EncoderCommandLine(const std::string& programFolder, const std::string& inFile,
                               const std::string& outFile);
