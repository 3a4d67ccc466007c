#pragma once
// DU_ZID.ini beside the program: read once at start-up, written once at the end.
#include <string>

#include "convert/settings_text.h"

// Sets IN_DIR and OUT_DIR (default: the current folder) and, when the file
// exists, MODE; returns the output chosen last. Shows nothing, whatever happens.
OutputChoice ReadSettings();

// Stores IN_DIR, OUT_DIR, MODE and the output chosen last. Shows nothing; on any failure the old file
// stays as it was, and so do a read-only file and a file that existed but
// could not be read at start-up.
void WriteSettings(const OutputChoice& output);

// How ReadSettingsFile found the file.
enum class SettingsSource { Missing, Read, Unreadable };

// The same work on a given path, for callers that do not live beside the program.
Settings ReadSettingsFile(const std::wstring& path, const std::string& defaultFolder, int32_t currentMode,
                          SettingsSource* source = nullptr);
bool WriteSettingsFile(const std::wstring& path, const Settings& settings);

std::wstring SettingsFilePath();
