#pragma once
// A program folder for end-to-end runs: DU_ZID.exe with the encoder double in
// PLUG-IN, plus folders for the input and the output.
#include <string>
#include <vector>

#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"

namespace test {

struct Installation {
    TempFolder program{L" program"};
    TempFolder input{L" in Музыка"};
    TempFolder output{L" out"};

    // Installs the program and the double, and puts input\song.wav in place.
    Installation();
    // The double's instructions (see encoder_double.cpp).
    void Control(const std::string& text) const;
    // Every command line the double was started with, one a line.
    std::string Log() const;
    // The most instances of the double that ran at once.
    int MostAtOnce() const;
    // How many instances of the double have ended well so far.
    int EncodersEnded() const;
    std::string Settings() const;  // DU_ZID.ini as it is now
    // A settings file naming the program's folder for both folders.
    void StoreSettings(int mode) const;
    // DU_ZID.ini naming these folders and mode, as the program writes it.
    static std::string SettingsText(const std::wstring& inDir, const std::wstring& outDir, int mode);
    // The command line the program gives the encoder for in and out, as the double logs it.
    std::string ExpectedCommandLine(const std::wstring& in, const std::wstring& out) const;
    // Replaces the double by the real encoder of the set-up; false when there is none.
    bool UseRealEncoder() const;
};

// The program in programFolder, with the real encoder in its PLUG-IN: Load
// Wav Audio with a seconds-long stereo WAV in dataFolder, Convert beside it,
// Exit; checks the closing message, exit code 0 and the MP3-coded result.
void ConvertWithRealEncoder(const std::wstring& programFolder, const std::wstring& dataFolder, int seconds);

// The program in programFolder: Load Wav Audio with names of dataFolder,
// Convert into outFolder, Exit; returns the text of the closing message
// (captioned caption: "Information", or "Attention" when some failed).
std::wstring ConvertBatch(const std::wstring& programFolder, const std::wstring& dataFolder,
                          const std::vector<std::wstring>& names, const std::wstring& outFolder,
                          const std::wstring& caption);

// The seconds of audio in file, decoded to PCM beside it by the real encoder
// in programFolder's PLUG-IN; -1 when it decodes to no PCM.
double DecodedSeconds(const std::wstring& programFolder, const std::wstring& file);

// Start, then Load Wav Audio with the installation's song.wav; the main window.
HWND StartAndLoadSong(ProgramRun& run, const Installation& setup);

}  // namespace test
