#include "convert/encoder.h"

#include <objbase.h>

#include <vector>

#include "app/program_path.h"
#include "toolkit/text.h"

std::string EncoderPath(const std::string& programFolder) {
    return PathBesideProgram(programFolder, "PLUG-IN\\ffmpeg_III.exe");
}

std::string EncoderCommandLine(const std::string& programFolder, const std::string& inFile,
                               const std::string& outFile) {
    // The two spaces between "128k" and "-y" are part of the line the encoder
    // has always been given.
    return "\"" + EncoderPath(programFolder) + "\"" + " -i " + "\"" + tk::TrimSpaces(inFile) + "\"" +
           " -acodec mp3 -ab 128k " + " -y " + "\"" + tk::TrimSpaces(outFile) + "\"";
}

EncoderOutcome RunEncoder(const std::string& commandLine) {
    // CreateProcessA may write into the command line: hand it a private buffer.
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};

    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return EncoderOutcome{EncoderEnd::NotStarted, GetLastError()};

    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = GetLastError();
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return EncoderOutcome{EncoderEnd::Exited, exitCode};
}

DWORD WINAPI EncoderThread(LPVOID) {
    CoInitialize(nullptr);
    std::string commandLine = EncoderCommandLine(ProgramFolder(), IN_FILE, OUT_FILE);
    ENCODER_OUTCOME.store(RunEncoder(commandLine), std::memory_order_relaxed);
    // The release store publishes the outcome to the main thread's acquire load.
    ENCODING.store(0, std::memory_order_release);
    CoUninitialize();
    return 0;
}
