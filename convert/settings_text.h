#pragma once
// The text of DU_ZID.ini: five CR LF lines written, values found by tags read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/output_choice.h"

constexpr size_t kSettingsReadLimit = 64 * 1024;  // a larger file is read only this far

struct Settings {
    std::string inDir;
    std::string outDir;
    int32_t mode;
    OutputChoice output = OutputChoice();
};

// The text between the first and second occurrence of tag (or to the end when
// it occurs once, empty when never), trimmed of spaces. Exact byte comparison.
std::string ExtractTagValue(const std::string& text, const std::string& tag);

// Leading blanks skipped, then sign, digits and fraction; anything else gives 0.
// Rounded half to even; values outside 32 bits saturate.
int32_t ParseModeNumber(const std::string& value);

// Reads a settings file's bytes: every "/" is dropped, empty folder values keep
// defaultFolder, MODE is always taken from the text; OUTPUT_TYPE and QUALITY
// missing or unknown give the default output.
Settings ParseSettingsText(std::string text, const std::string& defaultFolder);

// How many bytes of a settings file of fileSize bytes are read: all of them, up
// to kSettingsReadLimit.
size_t SettingsBytesToRead(uint64_t fileSize);

// ParseSettingsText on the first SettingsBytesToRead(size) of a file's bytes;
// nothing past them is looked at.
Settings ReadSettingsBytes(const char* bytes, size_t size, const std::string& defaultFolder);

// The five lines WriteSettings stores, folders trimmed of spaces, then a line
// for each part of the output choice that is not the default.
std::string FormatSettingsText(const Settings& settings);
