#include "convert/encoder.h"

#include <objbase.h>

#include <vector>

#include "app/program_path.h"

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
