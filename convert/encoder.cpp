#include "convert/encoder.h"

#include <objbase.h>

#include <vector>

#include "app/program_path.h"
#include "convert/output_header.h"
#include "toolkit/text.h"

namespace {

// The log file, open for writing with the others free to read it; its handle
// is made inheritable, since the encoder writes into it.
HANDLE CreateLog(const std::wstring& path) {
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// CreateProcessA with creation flags added, the encoder inheriting log alone
// when there is one. Where the platform refuses a list of inherited handles,
// log is still the only handle of the program made inheritable.
bool StartProcess(char* commandLine, HANDLE log, DWORD flags, PROCESS_INFORMATION* process) {
    flags |= NORMAL_PRIORITY_CLASS;
    STARTUPINFOEXA startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    if (log == INVALID_HANDLE_VALUE)
        return CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, flags, nullptr, nullptr,
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
        started = CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, flags | EXTENDED_STARTUPINFO_PRESENT,
                                 nullptr, nullptr, &startup.StartupInfo, process) != FALSE;
        startup.lpAttributeList = nullptr;
    }
    DWORD error = started ? ERROR_SUCCESS : GetLastError();
    if (listed) DeleteProcThreadAttributeList(list);
    if (!started && (!limited || error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED)) {
        started = CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                 &startup.StartupInfo, process) != FALSE;
        error = started ? ERROR_SUCCESS : GetLastError();
    }
    SetLastError(error);
    return started;
}

// A job object that ends every process in it when its last handle closes:
// when the program ends, however it ends, the system takes the encoder with
// it. nullptr when the platform will not make one.
HANDLE NewKillOnCloseJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) return job;
    CloseHandle(job);
    return nullptr;
}

// Starts the encoder suspended, puts it into job (when there is one) before it
// runs a single instruction, lets it run and waits for its end or the stop.
// The log's handle is closed once the encoder holds its own.
EncoderOutcome StartAndWait(char* commandLine, HANDLE log, HANDLE job, HANDLE stopEvent) {
    PROCESS_INFORMATION process = {};
    bool started = StartProcess(commandLine, log, CREATE_SUSPENDED, &process);
    DWORD error = GetLastError();
    if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    if (!started) return EncoderOutcome{EncoderEnd::NotStarted, error};
    // Should the job be refused, the conversion still runs.
    if (job) AssignProcessToJobObject(job, process.hProcess);
    bool resumed = ResumeThread(process.hThread) != (DWORD)-1;
    error = GetLastError();
    CloseHandle(process.hThread);

    EncoderOutcome outcome = {EncoderEnd::Exited, 0};
    HANDLE waits[2] = {process.hProcess, stopEvent};
    DWORD woken = resumed ? WaitForMultipleObjects(stopEvent ? 2 : 1, waits, FALSE, INFINITE) : WAIT_FAILED;
    if (woken != WAIT_OBJECT_0) {
        // Asked to stop (or never resumed): end the encoder and let it be gone
        // before its files are touched.
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        outcome.end = resumed ? EncoderEnd::Stopped : EncoderEnd::NotStarted;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = GetLastError();
    outcome.code = resumed ? exitCode : error;
    CloseHandle(process.hProcess);
    return outcome;
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
    HANDLE job = NewKillOnCloseJob();
    EncoderOutcome outcome = StartAndWait(buffer.data(), log, job, stopEvent);
    if (job) CloseHandle(job);  // empty by now: the encoder has ended
    return outcome;
}

DWORD WINAPI EncoderThread(LPVOID param) {
    EncoderJob* job = static_cast<EncoderJob*>(param);
    CoInitialize(nullptr);
    std::string commandLine = EncoderCommandLine(ProgramFolder(), job->inFile, job->temporaryFile, job->quality);
    EncoderOutcome outcome = RunEncoder(commandLine, tk::Widen(job->logFile), job->stopEvent);
    // Here, not on the main thread: a long output is read whole.
    if (outcome.end == EncoderEnd::Exited && outcome.code == 0) CorrectMp3WaveByteRate(job->temporaryFile);
    job->outcome.store(outcome, std::memory_order_relaxed);
    // The release store publishes the outcome to the main thread's acquire load.
    ENCODING.fetch_sub(1, std::memory_order_release);
    CoUninitialize();
    return 0;
}
