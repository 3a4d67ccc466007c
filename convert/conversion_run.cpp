#include "convert/conversion_run.h"

#include <algorithm>

#include "app/globals.h"
#include "convert/batch_rules.h"
#include "convert/busy_window.h"
#include "convert/conversion.h"
#include "convert/encoder_log.h"
#include "convert/paths.h"
#include "convert/wave_header.h"
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
// While another loop holds the run's (a question, a window dragged, a menu),
// a timer of the busy window makes the passes, one after this long without.
constexpr UINT kRunTimerMs = 50;
constexpr ULONGLONG kPassOverdueMs = 150;
constexpr UINT_PTR kRunTimer = 1;
const wchar_t* const kRunProperty = L"DU_ZID.run";

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

// The seconds of audio a file holds by its header; -1 when it tells none.
double InputSeconds(const std::string& path) {
    HANDLE file = CreateFileW(tk::Widen(RunFilePath(path)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    std::string head((size_t)std::min<LONGLONG>(size.QuadPart, (LONGLONG)kWaveHeadBytes), '\0');
    DWORD got = 0;
    if (!head.empty() && !ReadFile(file, &head[0], (DWORD)head.size(), &got, nullptr)) got = 0;
    CloseHandle(file);
    head.resize(got);
    return WaveSeconds(head, (uint64_t)size.QuadPart);
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

// A file of a batch may have gone since it was loaded, and each takes its
// names and its length when its turn comes: nothing of a file is read before
// the run is under way. A single run checked both before it began.
void StartJob(const ConversionRun& run, EncoderJob& job, HANDLE stopEvent) {
    job.stopEvent = stopEvent;
    if (run.batch && !InputFileExists(job.inFile)) return RefuseJob(job, "The input file was not found.");
    job.inFile = RunFilePath(job.inFile);
    if (run.batch) job.seconds = InputSeconds(job.inFile);
    DWORD error = 0;
    if (job.temporaryFile.empty() && !ReserveTemporaryFiles(job, &error))
        return RefuseJob(job, tk::SystemErrorText(error));
    ENCODING.fetch_add(1, std::memory_order_release);
    job.thread = CreateThread(nullptr, kEncoderThreadStack, EncoderThread, &job, 0, nullptr);
    if (!job.thread) {
        ENCODING.fetch_sub(1, std::memory_order_release);
        DeleteFileW(tk::Widen(job.logFile).c_str());
        return RefuseJob(job, "The conversion could not be started.");
    }
    job.state = JobState::Running;
}

// Starts waiting jobs while slots are free; after a stop, none is started and
// the waiting ones end as stopped. None starts while the question is open.
void StartWaitingJobs(ConversionRun& run, HWND busy, HANDLE stopEvent) {
    bool stopped = StopAsked(stopEvent);
    if (!stopped && StopQuestionOpen(busy)) return;
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
// the temporary file goes and the chosen file stays as it was. The log goes
// either way.
void PutOutputInPlace(EncoderJob& job, bool stopped) {
    EncoderOutcome outcome = job.outcome.load(std::memory_order_acquire);
    if (stopped) outcome.end = EncoderEnd::Stopped;
    else if (Succeeded(outcome) && FileSize(job.temporaryFile) <= 0) outcome.end = EncoderEnd::WroteNothing;
    job.end = outcome;
    if (outcome.end == EncoderEnd::NotStarted) job.reason = tk::SystemErrorText(outcome.code);
    else if (outcome.end != EncoderEnd::Stopped && !Succeeded(outcome))
        job.reason = LastErrorLine(ReadLogText(job.logFile), {job.inFile, job.temporaryFile});
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

// Puts in place what the workers that have ended left. A batch job ends as
// stopped only when its encoder was really ended: one that finished while the
// question was open is kept. A single run's Yes is about its one file, and
// always keeps the file that was there: its output waits for the answer and
// is discarded on Yes, even when the encoder finished meanwhile. Asked with
// nothing handled in between: once a single run's output is in place, its
// busy window closes before anything could ask to stop it.
void EndFinishedJobs(ConversionRun& run, HWND busy, HANDLE stopEvent) {
    bool asking = StopQuestionOpen(busy);
    for (auto& job : run.jobs) {
        if (job->state != JobState::Running || WaitForSingleObject(job->thread, 0) != WAIT_OBJECT_0) continue;
        if (!run.batch && asking) continue;
        // The worker is gone, and with it its last use of the job.
        CloseHandle(job->thread);
        job->thread = nullptr;
        bool stopped = !run.batch && StopAsked(stopEvent);
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

// What a pass needs, reachable from the busy window's timer.
struct RunLoop {
    ConversionRun& run;
    HWND busy;
    HANDLE stopEvent;
    ULONGLONG startTicks;
    ULONGLONG lastPassTicks;
    BusyAnimation animation;
    int shownDone;
    bool inPass;
};

// Ends what has finished, starts what may start, shows how far the run is.
void RunOnePass(RunLoop& state) {
    state.inPass = true;
    ConversionRun& run = state.run;
    EndFinishedJobs(run, state.busy, state.stopEvent);
    StartWaitingJobs(run, state.busy, state.stopEvent);
    int done = EndedJobs(run);
    if (run.batch && done != state.shownDone)
        ShowFilesDone(state.busy, FilesDoneText(state.shownDone = done, (int)run.jobs.size()));
    if (AnyJobRunning(run)) AnimateOnce(state.busy, state.startTicks, state.animation, run);
    state.lastPassTicks = GetTickCount64();
    state.inPass = false;
}

// Any loop that dispatches messages calls this: a message box's, the system's
// while a window is dragged or a menu is open. It makes a pass only when the
// run's own loop has made none for a while, that is, while such a loop holds it.
void CALLBACK OnRunTimer(HWND busy, UINT, UINT_PTR, DWORD) {
    auto* state = (RunLoop*)GetPropW(busy, kRunProperty);
    if (!state || state->inPass || GetTickCount64() - state->lastPassTicks < kPassOverdueMs) return;
    RunOnePass(*state);
}

}  // namespace

bool RunJobs(ConversionRun& run) {
    HANDLE stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent) return false;
    int32_t font = NewBusyWindowFont();
    HWND busy = NewBusyWindow(MAIN_WINDOW, font, run.batch);
    // monotonic: midnight or a clock change cannot upset it
    RunLoop state = {run, busy, stopEvent, GetTickCount64(), GetTickCount64(), BusyAnimation(), -1, false};
    ShowBusyWindow(busy, stopEvent);
    tk::SetText(busy, L"Converting the Audio");
    REPORT_PENDING = 1;
    SetPropW(busy, kRunProperty, (HANDLE)&state);
    SetTimer(busy, kRunTimer, kRunTimerMs, OnRunTimer);

    for (RunOnePass(state); AnyJobRunning(run); RunOnePass(state)) RestOnePass(run);
    KillTimer(busy, kRunTimer);
    RemovePropW(busy, kRunProperty);
    tk::FinishDialog(busy, 0);
    tk::FreeFont(font);
    CloseHandle(stopEvent);
    return true;
}

bool ReserveTemporaryFiles(EncoderJob& job, DWORD* error) {
    for (int attempt = 1; attempt <= kTemporaryNameAttempts; ++attempt) {
        // The log's name is made a run's file on its own: it may pass MAX_PATH where the output's does not.
        std::string plain = TemporaryOutputPath(job.outFile, attempt);
        std::string temporary = RunFilePath(plain);
        std::string log = RunFilePath(EncoderLogPath(plain));
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

void RefuseJob(EncoderJob& job, const std::string& refusal) {
    job.refusal = refusal;
    job.state = JobState::Ended;
}

bool Succeeded(const EncoderOutcome& outcome) { return outcome.end == EncoderEnd::Exited && outcome.code == 0; }
