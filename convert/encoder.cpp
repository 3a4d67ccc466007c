#include "convert/encoder.h"

#include <objbase.h>

#include <vector>

#include "app/program_path.h"
#include "convert/output_header.h"
#include "toolkit/text.h"

namespace {

// The log file, open for writing with the others free to read it. Its handle
// is made inheritable only while its own encoder is being started.
HANDLE CreateLog(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Held while a log's handle is inheritable. Where the platform refuses a list
// of inherited handles, an encoder inherits every inheritable handle of the
// program: with the workers taking turns, that is its own log alone, and never
// another encoder's (whose log's deletion would stay pending on Windows while
// this one holds it).
SRWLOCK g_inheritableLog = SRWLOCK_INIT;

bool CreateInheriting(char* commandLine, DWORD flags, STARTUPINFOEXA* startup, PROCESS_INFORMATION* process) {
    return CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                          &startup->StartupInfo, process) != FALSE;
}

// Starts the encoder inheriting log alone: through a list of inherited
// handles, or where the platform refuses one, with log the program's only
// inheritable handle meanwhile.
bool StartWithLog(char* commandLine, HANDLE log, DWORD flags, STARTUPINFOEXA* startup, PROCESS_INFORMATION* process) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributes(size ? size : 1);
    auto list = (LPPROC_THREAD_ATTRIBUTE_LIST)attributes.data();
    bool listed = size != 0 && InitializeProcThreadAttributeList(list, 1, 0, &size);
    bool limited = listed && UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &log,
                                                        sizeof(log), nullptr, nullptr);
    AcquireSRWLockExclusive(&g_inheritableLog);
    SetHandleInformation(log, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    bool started = false;
    if (limited) {
        startup->lpAttributeList = list;
        started = CreateInheriting(commandLine, flags | EXTENDED_STARTUPINFO_PRESENT, startup, process);
        startup->lpAttributeList = nullptr;
    }
    DWORD error = started ? ERROR_SUCCESS : GetLastError();
    if (!started && (!limited || error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED)) {
        started = CreateInheriting(commandLine, flags, startup, process);
        error = started ? ERROR_SUCCESS : GetLastError();
    }
    SetHandleInformation(log, HANDLE_FLAG_INHERIT, 0);
    ReleaseSRWLockExclusive(&g_inheritableLog);
    if (listed) DeleteProcThreadAttributeList(list);
    SetLastError(error);
    return started;
}

// CreateProcessA with creation flags added, the encoder's standard output and
// error going to log when there is one.
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
    return StartWithLog(commandLine, log, flags, &startup, process);
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
        // before its files are touched. One that ended by itself meanwhile
        // cannot be ended any more: it is told as it ended.
        bool ended = TerminateProcess(process.hProcess, 1) != FALSE;
        WaitForSingleObject(process.hProcess, INFINITE);
        if (!resumed) outcome.end = EncoderEnd::NotStarted;
        else if (ended) outcome.end = EncoderEnd::Stopped;
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
