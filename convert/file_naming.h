#pragma once
// The texts the file dialogs are given: the proposed output name and the filters.
#include <string>

// "_mp3_c_" and the name part of inFile (after its last "\" or ":"); an input
// longer than 260 characters gives "_mp3_c_" alone.
std::string ProposedOutputName(const std::string& inFile);

// The filter text as the platform wants it: "|" turned into NUL; the text's own
// terminating NUL ends the list.
std::string FilterForPlatform(std::string filter);

// Where the encoder writes before its output is whole: in outFile's folder,
// named for what it is and ending with outFile's extension, from which the
// encoder takes the container ("C:\Out\_mp3_c_song.wav", attempt 3, gives
// "C:\Out\DU_ZID-3.converting.wav"). The name is short whatever outFile's
// is, so that any name that fits the folder as a plain file fits as a
// conversion too.
std::string TemporaryOutputPath(const std::string& outFile, int attempt);

// The encoder's standard error is kept beside its temporary output.
std::string EncoderLogPath(const std::string& temporaryPath);

// A full path (as GetFullPathName gives it) in the form that lets the file
// functions pass MAX_PATH ("\\?\C:\...", "\\?\UNC\server\..."), when it has
// 260 UTF-16 units or more; shorter, relative, device and extended paths stay
// as they are.
std::string ExtendedLengthPath(const std::string& path);

// The folder of a full path as the file dialogs leave it current: no trailing
// "\" except at a drive's root ("C:\a\b.wav" gives "C:\a", "C:\b.wav" "C:\").
std::string FolderOfFile(const std::string& path);
