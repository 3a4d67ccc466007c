#include "tests/support/installation.h"

#include <doctest.h>

#include <cmath>

#include "convert/settings_text.h"
#include "tests/support/wave_file.h"

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

int Installation::MostAtOnce() const {
    std::string events = ReadBytes(program / L"PLUG-IN\\encoder_events.txt");
    int running = 0, most = 0;
    for (size_t at = 0; at < events.size(); at = events.find('\n', at) + 1) {
        running += events.compare(at, 5, "start") == 0 ? 1 : -1;
        most = running > most ? running : most;
        if (events.find('\n', at) == std::string::npos) break;
    }
    return most;
}

int Installation::EncodersEnded() const {
    std::string events = ReadBytes(program / L"PLUG-IN\\encoder_events.txt");
    int ended = 0;
    for (size_t at = events.find("end\n"); at != std::string::npos; at = events.find("end\n", at + 1)) ++ended;
    return ended;
}

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

bool Installation::UseRealEncoder() const { return InstallRealEncoder(program.path()); }

void ConvertWithRealEncoder(const std::wstring& programFolder, const std::wstring& dataFolder, int seconds) {
    const std::wstring& data = dataFolder;
    REQUIRE(WriteBytes(data + L"\\input.wav", StereoWave(seconds, 440, 554.37)));

    ProgramRun run(programFolder, L"", programFolder);
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFile(main, data, L"input.wav"));
    ProgramRun::Click(main, kConvertButton);
    REQUIRE(run.ChooseFile(L"Convert Audio", data, L"_mp3_c_input.wav"));
    CHECK(run.AnswerMessageBox(L"Information", 120000) == L"Output conversion process finished");
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    CHECK(exitCode == 0);

    WaveFacts facts = ReadWaveFacts(ReadBytes(data + L"\\_mp3_c_input.wav"));
    CHECK(facts.riffWave);
    CHECK(facts.formatTag == 0x0055);      // MPEG Layer 3
    CHECK(facts.bytesPerSecond == 16000);  // 128 kbit/s
    REQUIRE(facts.bytesPerSecond > 0);
    CHECK(std::fabs(facts.seconds() - seconds) <= 0.1);
}

std::wstring ConvertBatch(const std::wstring& programFolder, const std::wstring& dataFolder,
                          const std::vector<std::wstring>& names, const std::wstring& outFolder,
                          const std::wstring& caption) {
    ProgramRun run(programFolder, L"", programFolder);
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFiles(main, dataFolder, names));
    ProgramRun::Click(main, kConvertButton);
    REQUIRE(run.ChooseFolder(outFolder));
    std::wstring summary = run.AnswerMessageBox(caption, 240000);
    DWORD exitCode = 1;
    REQUIRE(run.ExitProgram(main, &exitCode));
    return summary;
}

double DecodedSeconds(const std::wstring& programFolder, const std::wstring& file) {
    std::wstring decoded = file + L".decoded.wav";
    ChildProcess decoder(L"\"" + programFolder + L"\\PLUG-IN\\ffmpeg_III.exe\" -i \"" + file + L"\" -y \"" + decoded +
                         L"\"");
    if (!decoder.Wait(120000)) return -1;
    WaveFacts facts = ReadWaveFacts(ReadBytes(decoded));
    DeleteFileW(decoded.c_str());
    return facts.formatTag == 1 ? facts.seconds() : -1;  // PCM
}

HWND StartAndLoadSong(ProgramRun& run, const Installation& setup) {
    HWND main = run.PassStartWindow();
    REQUIRE(main);
    REQUIRE(run.LoadFile(main, setup.input.path(), L"song.wav"));
    return main;
}

}  // namespace test
