#pragma once
// Choosing the input and output files through the platform's Open and Save dialogs.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "convert/file_naming.h"
#include "convert/output_choice.h"

// Both dialogs: hide read-only, multi-select, file must exist, explorer style,
// no link dereferencing, sizable.
constexpr DWORD kFileDialogFlags = 0x00981204;

// Shows an Open (mode 0) or Save (mode 1) dialog. fileName goes in as the
// initial name and comes back as the first string of the chosen names;
// answer, when given, receives the whole answer up to the list's closing NUL
// (the folder, then the names, when several files were chosen); flags comes
// back as the platform left them. Not 0 when the user confirmed.
int32_t FileDialog(HWND owner, const std::string& title, std::string& fileName, const std::string& initialFolder,
                   const std::string& filter, const std::string& defaultExtension, DWORD& flags, int mode,
                   std::string* answer = nullptr);

// The Open dialog in folder; on success folder becomes the folder of the
// (first) chosen file and the main window's input-path field shows what was
// chosen; on cancel the field is emptied. Returns the chosen paths, none on cancel.
std::vector<std::string> LoadAudio(HWND owner, std::string& folder);

// What was dropped on the main window (or named on the command line): the
// files as they are, and of each folder the .wav and .wave files directly in
// it, each file once. Names that do not exist go to missing, when given.
std::vector<std::string> DroppedAudio(const std::vector<std::string>& paths,
                                      std::vector<std::string>* missing = nullptr);

// Takes files as LoadAudio takes a confirmed choice: folder becomes the
// first one's folder and the input-path field shows them.
void ShowLoadedAudio(const std::vector<std::string>& files, std::string& folder);

// The Save dialog in folder with the proposed name, its file types and its
// "Quality:" list showing output; on success folder becomes the chosen file's
// folder and output what was chosen (the name's own extension decides the
// type). Returns the chosen path or "".
std::string ConvertAudio(HWND owner, std::string& folder, OutputChoice& output);

// The system's folder picker, titled "Convert Audio", in folder, with its
// "Save as:" and "Quality:" lists showing output; on success folder becomes
// the chosen one and output what the lists show. Returns it, or "" on cancel.
std::string ChooseOutputFolder(HWND owner, std::string& folder, OutputChoice& output);

// Opens the file list in details view when a dialog is given OFN_ENABLEHOOK;
// the program's dialogs are not, so it stays inert.
UINT_PTR CALLBACK FileDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
