#include "tests/support/installation.h"

#include <doctest.h>

#include "convert/settings_text.h"

namespace test {

Installation::Installation() {
    REQUIRE(InstallProgram(program.path()));
    REQUIRE(InstallEncoderDouble(program.path()));
    REQUIRE(WriteBytes(input / L"song.wav", "RIFF fake input"));
}

void Installation::Control(const std::string& text) const {
    WriteBytes(program / L"PLUG-IN\\encoder_control.txt", text);
}

std::string Installation::Log() const { return ReadBytes(program / L"PLUG-IN\\encoder_log.txt"); }

std::string Installation::Settings() const { return ReadBytes(program / L"DU_ZID.ini"); }

void Installation::StoreSettings(int mode) const {
    WriteBytes(program / L"DU_ZID.ini", SettingsText(program.path(), program.path(), mode));
}

std::string Installation::SettingsText(const std::wstring& inDir, const std::wstring& outDir, int mode) {
    return FormatSettingsText(::Settings{Utf8(inDir), Utf8(outDir), mode});
}

std::string Installation::ExpectedCommandLine(const std::wstring& in, const std::wstring& out) const {
    return Utf8(L"\"" + (program / L"PLUG-IN\\ffmpeg_III.exe") + L"\" -i \"" + in + L"\" -acodec mp3 -ab 128k  -y \"" +
                out + L"\"");
}

bool Installation::UseRealEncoder() const {
    std::wstring encoder = EnvPath(L"DUZID_REAL_ENCODER");
    return FileExists(encoder) &&
           CopyFileW(encoder.c_str(), (program / L"PLUG-IN\\ffmpeg_III.exe").c_str(), FALSE) != 0;
}

HWND StartAndLoadSong(ProgramRun& run, const Installation& setup) {
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFile(main, setup.input.path(), L"song.wav"));
    return main;
}

}  // namespace test
