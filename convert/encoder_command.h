#pragma once
// The external encoder's path and its command line, as text.
#include <string>

#include "convert/output_choice.h"

// "<folder>\PLUG-IN\ffmpeg_III.exe", with a single "\" whatever folder ends with.
std::string EncoderPath(const std::string& programFolder);

// The rate piece of the command line: "-ab 128k" ... "-ab 320k", "-q:a 2", "-q:a 0".
std::string RatePiece(Quality quality);

// The command line: MP3 at the quality's rate, replacing an existing output.
// Paths are trimmed of spaces and quoted as they are, without escaping. An
// output named ".mp3" also takes a cover picture of the input as it is (its
// ID3v2 tag can hold one, a WAV file cannot).
std::string EncoderCommandLine(const std::string& programFolder, const std::string& inFile,
                               const std::string& outFile, Quality quality = Quality::Kbps128);
