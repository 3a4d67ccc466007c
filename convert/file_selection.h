#pragma once
// Choosing the input and output files through the platform's Open and Save dialogs.
#include <windows.h>

#include <cstdint>
#include <string>

#include "convert/file_naming.h"

// Both dialogs: hide read-only, multi-select, file must exist, explorer style,
// no link dereferencing, sizable.
constexpr DWORD kFileDialogFlags = 0x00981204;

// Shows an Open (mode 0) or Save (mode 1) dialog. fileName goes in as the
// initial name and comes back as the first string of the chosen names; flags
// comes back as the platform left them. Not 0 when the user confirmed.
int32_t FileDialog(HWND owner, const std::string& title, std::string& fileName, const std::string& initialFolder,
                   const std::string& filter, const std::string& defaultExtension, DWORD& flags, int mode);

// The Open dialog in folder; on success folder becomes the chosen file's folder
// and the main window's input-path field shows the path; on cancel the field is
// emptied. Returns the chosen path or "".
std::string LoadAudio(HWND owner, std::string& folder);

// A file dropped on the main window, taken as LoadAudio takes a confirmed
// choice: folder becomes its folder and the input-path field shows it.
// Returns the path.
std::string LoadDroppedAudio(const std::string& path, std::string& folder);

// The Save dialog in folder with the proposed name; on success folder becomes
// the chosen file's folder. Returns the chosen path or "".
std::string ConvertAudio(HWND owner, std::string& folder);

// Opens the file list in details view when a dialog is given OFN_ENABLEHOOK;
// the program's dialogs are not, so it stays inert.
UINT_PTR CALLBACK FileDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
