#include "convert/encoder.h"

#include <objbase.h>

#include <vector>

#include "app/program_path.h"
#include "toolkit/text.h"

namespace {

// The log file, open for writing with the others free to read it; its handle
// is made inheritable, since the encoder writes into it.
HANDLE CreateLog(const std::wstring& path) {
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// CreateProcessA, the encoder inheriting log alone when there is one. Where the
// platform refuses a list of inherited handles, log is still the only handle of
// the program made inheritable.
bool StartProcess(char* commandLine, HANDLE log, PROCESS_INFORMATION* process) {
    STARTUPINFOEXA startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    if (log == INVALID_HANDLE_VALUE)
        return CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                              &startup.StartupInfo, process) != FALSE;

    startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdOutput = log;
    startup.StartupInfo.hStdError = log;
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributes(size ? size : 1);
    auto list = (LPPROC_THREAD_ATTRIBUTE_LIST)attributes.data();
    bool listed = size != 0 && InitializeProcThreadAttributeList(list, 1, 0, &size);
    bool limited = listed && UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &log,
                                                        sizeof(log), nullptr, nullptr);
    bool started = false;
    if (limited) {
        startup.lpAttributeList = list;
        started = CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE,
                                 NORMAL_PRIORITY_CLASS | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                 &startup.StartupInfo, process) != FALSE;
        startup.lpAttributeList = nullptr;
    }
    DWORD error = started ? ERROR_SUCCESS : GetLastError();
    if (listed) DeleteProcThreadAttributeList(list);
    if (!started && (!limited || error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED)) {
        started = CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                                 nullptr, &startup.StartupInfo, process) != FALSE;
        error = started ? ERROR_SUCCESS : GetLastError();
    }
    SetLastError(error);
    return started;
}

}  // namespace

EncoderOutcome RunEncoder(const std::string& commandLine, const std::wstring& logPath, HANDLE stopEvent) {
    // CreateProcessA may write into the command line: hand it a private buffer.
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');

    HANDLE log = INVALID_HANDLE_VALUE;
    if (!logPath.empty()) {
        log = CreateLog(logPath);
        if (log == INVALID_HANDLE_VALUE) return EncoderOutcome{EncoderEnd::NotStarted, GetLastError()};
    }
    PROCESS_INFORMATION process = {};
    bool started = StartProcess(buffer.data(), log, &process);
    DWORD startError = GetLastError();
    if (log != INVALID_HANDLE_VALUE) CloseHandle(log);  // the encoder holds its own
    if (!started) return EncoderOutcome{EncoderEnd::NotStarted, startError};
    CloseHandle(process.hThread);

    HANDLE waits[2] = {process.hProcess, stopEvent};
    DWORD woken = WaitForMultipleObjects(stopEvent ? 2 : 1, waits, FALSE, INFINITE);
    EncoderOutcome outcome = {EncoderEnd::Exited, 0};
    if (woken == WAIT_OBJECT_0 + 1) {
        // Asked to stop: end the encoder and let it be gone before its files are touched.
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        outcome.end = EncoderEnd::Stopped;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = GetLastError();
    outcome.code = exitCode;
    CloseHandle(process.hProcess);
    return outcome;
}

DWORD WINAPI EncoderThread(LPVOID param) {
    EncoderJob* job = static_cast<EncoderJob*>(param);
    CoInitialize(nullptr);
    std::string commandLine = EncoderCommandLine(ProgramFolder(), job->inFile, job->temporaryFile);
    job->outcome.store(RunEncoder(commandLine, tk::Widen(job->logFile), job->stopEvent), std::memory_order_relaxed);
    // The release store publishes the outcome to the main thread's acquire load.
    ENCODING.store(0, std::memory_order_release);
    CoUninitialize();
    return 0;
}
