#pragma once
// The rules for the names of a run's files, as values: a name's parts, the
// extended "\\?\" form and when a path takes it, and the names of the
// temporary output and its log. convert/paths.h applies them to the file system.
#include <string>

// UTF-16 units in one name of a path: the file systems' limit.
constexpr size_t kLongestName = 255;

// The part of path after its last "\" or ":".
std::string NameOf(const std::string& path);

// The folder of a full path as the file dialogs leave it current: no trailing
// "\" except at a drive's root ("C:\a\b.wav" gives "C:\a", "C:\b.wav" "C:\").
std::string FolderOfFile(const std::string& path);

// folder, one "\" and name, however many "\" folder ends with.
std::string JoinPath(const std::string& folder, const std::string& name);

// UTF-16 units of a UTF-8 text.
size_t Utf16Length(const std::string& text);

// A full path (as GetFullPathName gives it) in the form that lets the file
// functions pass MAX_PATH ("\\?\C:\...", "\\?\UNC\server\..."), when it has
// 260 UTF-16 units or more; shorter, relative, device and extended paths stay
// as they are.
std::string ExtendedLengthPath(const std::string& path);

// A full path in the extended form whatever its length: the file functions
// then take its names verbatim, also one that is a device's elsewhere
// ("con.wav"). Relative and device paths stay as they are.
std::string VerbatimPath(const std::string& path);

// A name the shell handed over (a drop): a full path already, so taken
// verbatim when nothing in it would need the system's making full (no "/",
// no "." or ".." name, no empty one); otherwise as it is.
std::string HandedOverPath(const std::string& path);

// A path as the user reads it: the extended form's prefix taken off
// ("\\?\C:\a" gives "C:\a", "\\?\UNC\server\s" "\\server\s").
std::string PlainPath(const std::string& path);

// The extension that the encoder knows for the format of outFile: ".mp3" for
// an MP3 file, ".wav" for anything else (".wav", ".wave", none).
std::string TemporaryExtension(const std::string& outFile);

// Where the encoder writes before its output is whole: in outFile's folder,
// named for what it is, with the extension from which the encoder takes the
// output's format ("C:\Out\_mp3_c_song.wave", attempt 3, gives
// "C:\Out\DU_ZID-3.converting.wav"). The name is short whatever outFile's
// is, so that any name that fits the folder as a plain file fits as a
// conversion too.
std::string TemporaryOutputPath(const std::string& outFile, int attempt);

// The encoder's standard error is kept beside its temporary output.
std::string EncoderLogPath(const std::string& temporaryPath);
