// Several files converted into one folder side by side: the checks and the
// one question before anything starts, the run, and one message at the end.
#include <algorithm>

#include "app/path_text.h"
#include "app/program_path.h"
#include "convert/batch_rules.h"
#include "convert/conversion.h"
#include "convert/conversion_run.h"
#include "convert/file_naming.h"
#include "convert/wave_header.h"
#include "toolkit/text.h"

namespace {

constexpr int kMostAtOnce = 8;
constexpr size_t kLongestName = 255;  // UTF-16 units in one name of a path

std::string NameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The seconds of audio a file holds by its header; -1 when it tells none.
double InputSeconds(const std::string& path) {
    HANDLE file = CreateFileW(tk::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
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

// How many encoders run at once: one a logical processor, at most eight.
int Slots() {
    DWORD processors = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    return (int)std::max<DWORD>(1, std::min<DWORD>(processors, kMostAtOnce));
}

// Why a file of the batch was not converted, on one line after its name.
std::string FailureReason(const EncoderJob& job) {
    if (!job.refusal.empty()) return job.refusal;
    if (job.placeError != 0)
        return "It could not take the place of the file there and is kept as " + NameOf(job.temporaryFile) + ". " +
               SystemErrorText(job.placeError);
    std::string because = job.reason.empty() ? std::string() : " " + job.reason;
    if (job.end.end == EncoderEnd::NotStarted) return "The encoder could not be started." + because;
    if (job.end.end == EncoderEnd::WroteNothing) return "The encoder wrote no output." + because;
    if (!job.reason.empty()) return job.reason;
    return "The encoder ended with exit code " + ExitCodeText(job.end.code) + ".";
}

bool Converted(const EncoderJob& job) { return Succeeded(job.end) && job.placeError == 0 && job.refusal.empty(); }

// The jobs of the batch, one a file, named in folder; those that must not
// run at all are refused already.
std::vector<std::unique_ptr<EncoderJob>> BatchJobs(const std::vector<std::string>& files, const std::string& folder,
                                                   const OutputChoice& output) {
    std::vector<FileIdentity> inputs;
    for (const std::string& file : files) {
        FileIdentity identity;
        if (IdentifyFile(FullPath(file), &identity)) inputs.push_back(identity);
    }
    std::vector<std::string> names = BatchOutputNames(files, tk::UpperCase, output.type);
    std::vector<std::unique_ptr<EncoderJob>> jobs;
    for (size_t i = 0; i < files.size(); ++i) {
        std::unique_ptr<EncoderJob> job(new EncoderJob);
        job->inFile = files[i];
        job->outFile = PathBesideProgram(folder, names[i]);
        job->quality = output.quality;
        FileIdentity output;
        bool exists = IdentifyFile(FullPath(job->outFile), &output);
        // An output that is one of the batch's inputs would be written over while it is read.
        if (exists && std::find(inputs.begin(), inputs.end(), output) != inputs.end())
            job->refusal = "The output file must not be the input file.";
        else if (tk::Widen(names[i]).size() > kLongestName)
            job->refusal = SystemErrorText(ERROR_FILENAME_EXCED_RANGE);
        if (!job->refusal.empty()) job->state = JobState::Ended;
        jobs.push_back(std::move(job));
    }
    return jobs;
}

// The encoder is there and the folder takes new files, or the user is told
// as a single run tells it; false then.
bool BatchCanStart(const std::string& folder) {
    std::string encoder = EncoderPath(ProgramFolder());
    if (!InputFileExists(encoder)) {
        ClosingMessage missing = ClosingMessageFor(EncoderOutcome{EncoderEnd::NotStarted, ERROR_FILE_NOT_FOUND}, encoder,
                                                   SystemErrorText(ERROR_FILE_NOT_FOUND));
        MessageBoxA(MAIN_WINDOW, missing.text.c_str(), missing.caption.c_str(), missing.flags);
        return false;
    }
    EncoderJob probe;
    probe.outFile = PathBesideProgram(folder, "probe.wav");
    DWORD error = 0;
    if (ReserveTemporaryFiles(probe, &error)) {
        DeleteFileW(tk::Widen(probe.logFile).c_str());
        return true;
    }
    MessageBoxA(MAIN_WINDOW, UnwritableFolderText(folder, error).c_str(), "Attention", kWarning);
    return false;
}

// Asks once about the outputs that are there already; No marks them skipped.
// False when the user cancels.
bool DecideOnExisting(std::vector<std::unique_ptr<EncoderJob>>& jobs, const std::string& folder, int* skipped) {
    std::vector<EncoderJob*> existing;
    for (auto& job : jobs)
        if (job->state == JobState::Waiting && PathExists(RunFilePath(job->outFile)))
            existing.push_back(job.get());
    if (existing.empty()) return true;
    std::string text = std::to_string(existing.size()) + " of the " + std::to_string(jobs.size()) +
                       " converted files already exist in:\r\n" + folder + "\r\n\r\nReplace them?";
    int answer = MessageBoxA(MAIN_WINDOW, text.c_str(), "Question", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) return true;
    for (EncoderJob* job : existing) job->state = JobState::Ended;
    *skipped = (int)existing.size();
    return true;
}

}  // namespace

void RunBatchConversion(const std::vector<std::string>& files, const std::string& folder,
                        const OutputChoice& output) {
    if (files.empty() || !BatchCanStart(folder)) return;
    std::vector<std::unique_ptr<EncoderJob>> jobs = BatchJobs(files, folder, output);
    BatchTally tally = {(int)files.size(), 0, 0, {}, false};
    if (!DecideOnExisting(jobs, folder, &tally.skipped)) return;

    // The tally lists the files in the order they were loaded.
    std::vector<EncoderJob*> inOrder;
    for (auto& job : jobs) inOrder.push_back(job.get());
    ConversionRun run;
    run.batch = true;
    run.slots = Slots();
    for (auto& job : jobs) {
        if (job->state != JobState::Waiting) continue;
        job->seconds = InputSeconds(job->inFile);
        run.jobs.push_back(std::move(job));
    }
    if (!run.jobs.empty() && !RunJobs(run)) {
        MessageBoxA(MAIN_WINDOW, "The conversion could not be started.", "Attention", kWarning);
        return;
    }
    for (EncoderJob* job : inOrder) {
        if (job->end.end == EncoderEnd::Stopped) tally.stopped = true;
        else if (Converted(*job)) ++tally.converted;
        else if (!job->refusal.empty() || job->end.end != EncoderEnd::Pending)  // not one skipped
            tally.failed.push_back({NameOf(job->inFile), FailureReason(*job)});
    }
    SummaryText summary = BatchSummary(tally, folder);
    const char* caption = summary.warning ? "Attention" : "Information";
    MessageBoxA(MAIN_WINDOW, summary.text.c_str(), caption, summary.warning ? kWarning : kInformation);
    REPORT_PENDING = 0;
}
