#include "convert/conversion_run.h"

#include "app/globals.h"
#include "convert/batch_rules.h"
#include "convert/busy_window.h"
#include "convert/conversion.h"
#include "convert/encoder_log.h"
#include "convert/file_naming.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

namespace {

constexpr DWORD kEncoderThreadStack = 0x100000;
constexpr int kTemporaryNameAttempts = 1000;
// A log larger than this is read as its head and its tail; the input's length
// is learnt while it is smaller.
constexpr DWORD kLogReadBytes = 64 * 1024;
// A pass of the busy window's loop rests this long, then waits up to
// kPassWaitMs for one message: some 18 passes a second.
constexpr DWORD kPassRestMs = 25;
constexpr DWORD kPassWaitMs = 30;

// Size of an existing file; -1 when there is none.
int64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(tk::Widen(path).c_str(), GetFileExInfoStandard, &data)) return -1;
    return ((int64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

// The log as text; a large one as its head and its tail.
std::string ReadLogText(const std::string& path) {
    HANDLE file = CreateFileW(tk::Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    auto readAt = [&](LONGLONG offset, DWORD count) {
        std::string bytes(count, '\0');
        LARGE_INTEGER at;
        at.QuadPart = offset;
        DWORD got = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, &bytes[0], count, &got, nullptr))
            got = 0;
        bytes.resize(got);
        return bytes;
    };
    std::string text;
    if (size.QuadPart <= kLogReadBytes) text = readAt(0, (DWORD)size.QuadPart);
    else
        text = LogHeadAndTail(readAt(0, kLogReadBytes / 2),
                              readAt(size.QuadPart - kLogReadBytes / 2, kLogReadBytes / 2));
    CloseHandle(file);
    return text;
}

// The user answered Yes to the stop question.
bool StopAsked(HANDLE stopEvent) { return WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0; }

// The log is read again only when the encoder has written to it since; the
// percentage never goes down.
void ReadProgress(EncoderJob& job) {
    int64_t size = FileSize(job.logFile);
    if (size < 0 || size == job.logSizeRead) return;
    job.logSizeRead = size;
    LogProgress progress = NextProgress({job.inputLength, -1}, ReadLogText(job.logFile));
    job.inputLength = progress.inputLength;
    if (progress.percent > job.percent) job.percent = progress.percent;
}

// The one job's percentage, or the whole batch's by the files' lengths.
int RunPercent(const ConversionRun& run) {
    if (!run.batch) return run.jobs.empty() ? -1 : run.jobs[0]->percent;
    std::vector<BatchPart> parts;
    for (const auto& job : run.jobs) parts.push_back({job->seconds, job->state == JobState::Ended ? 100 : job->percent});
    return BatchPercent(parts);
}

// readLogs: a single run reads its log every second pass; a batch, whose
// files also count as they end, once a second.
void ShowRunProgress(HWND busy, ConversionRun& run, bool readLogs) {
    for (auto& job : run.jobs)
        if (readLogs && job->state == JobState::Running) ReadProgress(*job);
    int percent = RunPercent(run);
    if (percent > run.shownPercent) ShowPercent(busy, run.shownPercent = percent);
}

int EndedJobs(const ConversionRun& run) {
    int ended = 0;
    for (const auto& job : run.jobs) ended += job->state == JobState::Ended;
    return ended;
}

float SecondsSince(ULONGLONG startTicks) { return (float)(GetTickCount64() - startTicks) / 1000.0f; }

// The busy window's moving parts between two passes.
struct BusyAnimation {
    ColorRamp ramp = NewColorRamp();
    int frame = 0;
    int pass = 0;
    long shownSecond = -1;  // the read-out changes once a second
};

// One pass's changes: the blocks, every second pass the picture, the read-out
// and the percentage from the logs. What looks the same is not painted again:
// a pass changes one block, and the read-out every second.
void AnimateOnce(HWND busy, ULONGLONG startTicks, BusyAnimation& animation, ConversionRun& run) {
    ColorRamp before = animation.pass == 0 && animation.frame == 0 ? BuiltColorRamp() : animation.ramp;
    AdvanceColorRamp(animation.ramp);
    if (++animation.pass == 2) {
        animation.pass = 0;
        animation.frame = (animation.frame % 4) + 1;
        ShowAnimationFrame(busy, animation.frame);
        float elapsed = SecondsSince(startTicks);
        bool newSecond = (long)elapsed != animation.shownSecond;
        if (newSecond) {
            animation.shownSecond = (long)elapsed;
            ShowProcessingTime(busy, elapsed);
        }
        ShowRunProgress(busy, run, newSecond || !run.batch);
    }
    ShowColorRamp(busy, animation.ramp, before);
}

// One pass's rest, in which one queued message is handled so that the main
// window stays usable. A worker that ends cuts it short: its job is put in
// place and its slot filled at once.
void RestOnePass(const ConversionRun& run) {
    std::vector<HANDLE> workers;
    for (const auto& job : run.jobs)
        if (job->state == JobState::Running) workers.push_back(job->thread);
    DWORD count = (DWORD)workers.size();
    if (count == 0) Sleep(kPassRestMs);
    else if (WaitForMultipleObjects(count, workers.data(), FALSE, kPassRestMs) < WAIT_OBJECT_0 + count) return;
    tk::PumpEvents(kPassWaitMs, workers.data(), count);
}

void Refuse(EncoderJob& job, const std::string& refusal) {
    job.refusal = refusal;
    job.end = EncoderOutcome{EncoderEnd::NotStarted, 0};
    job.state = JobState::Ended;
}

void StartJob(const ConversionRun& run, EncoderJob& job, HANDLE stopEvent) {
    job.stopEvent = stopEvent;
    // A file of a batch may have gone since it was loaded, and each takes its
    // names when its turn comes; a single run checked both before it began.
    if (run.batch && !InputFileExists(job.inFile)) return Refuse(job, "The input file was not found.");
    // A dropped or named file may lie past MAX_PATH, where the encoder needs the extended form too.
    if (run.batch) job.inFile = RunFilePath(job.inFile);
    DWORD error = 0;
    if (job.temporaryFile.empty() && !ReserveTemporaryFiles(job, &error)) return Refuse(job, SystemErrorText(error));
    ENCODING.fetch_add(1, std::memory_order_release);
    job.thread = CreateThread(nullptr, kEncoderThreadStack, EncoderThread, &job, 0, nullptr);
    if (!job.thread) {
        ENCODING.fetch_sub(1, std::memory_order_release);
        DeleteFileW(tk::Widen(job.logFile).c_str());
        return Refuse(job, "The conversion could not be started.");
    }
    job.state = JobState::Running;
}

// Starts waiting jobs while slots are free; after a stop, none is started and
// the waiting ones end as stopped.
void StartWaitingJobs(ConversionRun& run, HANDLE stopEvent) {
    bool stopped = StopAsked(stopEvent);
    int running = 0;
    for (const auto& job : run.jobs) running += job->state == JobState::Running;
    for (auto& job : run.jobs) {
        if (job->state != JobState::Waiting) continue;
        if (stopped) {
            job->end = EncoderOutcome{EncoderEnd::Stopped, 0};
            job->state = JobState::Ended;
            continue;
        }
        if (running >= run.slots) return;
        StartJob(run, *job, stopEvent);
        running += job->state == JobState::Running;
    }
}

// After a whole run the output replaces the chosen file; after any other end
// the temporary file goes and the chosen file stays as it was. A run the user
// stopped has ended so, whatever the encoder did meanwhile: the question may
// have stayed open until it had finished. The log goes either way.
void PutOutputInPlace(EncoderJob& job, bool stopped) {
    EncoderOutcome outcome = job.outcome.load(std::memory_order_acquire);
    if (stopped) outcome.end = EncoderEnd::Stopped;
    else if (Succeeded(outcome) && FileSize(job.temporaryFile) <= 0) outcome.end = EncoderEnd::WroteNothing;
    job.end = outcome;
    if (outcome.end == EncoderEnd::NotStarted) job.reason = SystemErrorText(outcome.code);
    else if (outcome.end != EncoderEnd::Stopped && !Succeeded(outcome))
        job.reason = LastErrorLine(ReadLogText(job.logFile));
    DeleteFileW(tk::Widen(job.logFile).c_str());
    std::wstring temporary = tk::Widen(job.temporaryFile);
    if (!Succeeded(outcome)) {
        DeleteFileW(temporary.c_str());
        return;
    }
    if (!MoveFileExW(temporary.c_str(), tk::Widen(RunFilePath(job.outFile)).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        job.placeError = GetLastError();
}

// Puts in place what the workers that have ended left. Asked with nothing
// handled in between: once a single run's output is in place, its busy window
// closes before anything could ask to stop it.
void EndFinishedJobs(ConversionRun& run, HWND busy, HANDLE stopEvent) {
    for (auto& job : run.jobs) {
        if (job->state != JobState::Running || WaitForSingleObject(job->thread, 0) != WAIT_OBJECT_0) continue;
        // The worker is gone, and with it its last use of the job.
        CloseHandle(job->thread);
        job->thread = nullptr;
        bool stopped = StopAsked(stopEvent);
        if (!run.batch && !stopped && Succeeded(job->outcome.load(std::memory_order_acquire)))
            ShowPercent(busy, run.shownPercent = 100);
        PutOutputInPlace(*job, stopped);
        job->state = JobState::Ended;
    }
}

bool AnyJobRunning(const ConversionRun& run) {
    for (const auto& job : run.jobs)
        if (job->state == JobState::Running) return true;
    return false;
}

}  // namespace

bool RunJobs(ConversionRun& run) {
    HANDLE stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent) return false;
    int32_t font = NewBusyWindowFont();
    HWND busy = NewBusyWindow(MAIN_WINDOW, font, run.batch);
    ULONGLONG startTicks = GetTickCount64();  // monotonic: midnight or a clock change cannot upset it
    ShowBusyWindow(busy, stopEvent);
    tk::SetText(busy, L"Converting the Audio");
    REPORT_PENDING = 1;

    BusyAnimation animation;
    int shownDone = -1;
    for (StartWaitingJobs(run, stopEvent);; StartWaitingJobs(run, stopEvent)) {
        int done = EndedJobs(run);
        if (run.batch && done != shownDone) ShowFilesDone(busy, FilesDoneText(shownDone = done, (int)run.jobs.size()));
        if (!AnyJobRunning(run)) break;
        AnimateOnce(busy, startTicks, animation, run);
        RestOnePass(run);
        EndFinishedJobs(run, busy, stopEvent);
    }
    tk::FinishDialog(busy, 0);
    tk::FreeFont(font);
    CloseHandle(stopEvent);
    return true;
}

bool ReserveTemporaryFiles(EncoderJob& job, DWORD* error) {
    for (int attempt = 1; attempt <= kTemporaryNameAttempts; ++attempt) {
        std::string temporary = RunFilePath(TemporaryOutputPath(job.outFile, attempt));
        std::string log = EncoderLogPath(temporary);
        if (PathExists(temporary) || PathExists(log)) continue;
        HANDLE file = CreateFileW(tk::Widen(log).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            *error = GetLastError();
            if (*error == ERROR_FILE_EXISTS) continue;
            return false;
        }
        CloseHandle(file);
        job.temporaryFile = temporary;
        job.logFile = log;
        return true;
    }
    *error = ERROR_FILE_EXISTS;
    return false;
}

bool Succeeded(const EncoderOutcome& outcome) { return outcome.end == EncoderEnd::Exited && outcome.code == 0; }

std::string RunFilePath(const std::string& path) { return ExtendedLengthPath(tk::Narrow(FullPath(path))); }

std::string ExitCodeText(uint32_t code) {
    if (code < 0xC0000000u) return std::to_string(code);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += "0123456789ABCDEF"[(code >> shift) & 0xF];
    return text;
}

std::string UnwritableFolderText(const std::string& folder, DWORD error) {
    return "The converted file cannot be written into:\r\n" + folder + "\r\n\r\n" + SystemErrorText(error);
}

std::string SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, (LPWSTR)&text, 0, nullptr);
    std::wstring message = n ? std::wstring(text, n) : tk::Widen("Error " + std::to_string(code) + ".");
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    return tk::Narrow(message);
}

std::wstring FullPath(const std::string& path) {
    std::wstring wide = tk::Widen(tk::TrimSpaces(path));
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return wide;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
    full.resize(n);
    return full;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesW(tk::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IdentifyFile(const std::wstring& path, FileIdentity* identity) {
    // No access asked for: a file held open by another program still answers.
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    bool ok = GetFileInformationByHandle(file, &info) != FALSE;
    CloseHandle(file);
    *identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}
