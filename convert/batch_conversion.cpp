// Several files converted into one folder side by side: the checks and the
// one question before anything starts, the run, and one message at the end.
#include <algorithm>

#include "app/program_path.h"
#include "convert/batch_rules.h"
#include "convert/conversion.h"
#include "convert/conversion_run.h"
#include "convert/encoder_log.h"
#include "convert/paths.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kMostAtOnce = 8;
// The checks before the question handle the main window's messages this often,
// so that many files on a slow share leave it answering.
constexpr ULONGLONG kPumpEveryMs = 50;
constexpr int kMessagesAtOnce = 20;

// Handles what waits for the main window when kPumpEveryMs have passed since *last.
void KeepAnswering(ULONGLONG* last) {
    if (GetTickCount64() - *last < kPumpEveryMs) return;
    for (int i = 0; i < kMessagesAtOnce && HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0; ++i) tk::PumpEvents(0);
    *last = GetTickCount64();
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
               tk::SystemErrorText(job.placeError);
    std::string because = job.reason.empty() ? std::string() : " " + job.reason;
    if (job.end.end == EncoderEnd::NotStarted) return "The encoder could not be started." + because;
    if (job.end.end == EncoderEnd::WroteNothing) return "The encoder wrote no output." + because;
    if (!job.reason.empty()) return job.reason;
    return "The encoder ended with exit code " + ExitCodeText(job.end.code) + ".";
}

bool Converted(const EncoderJob& job) { return Succeeded(job.end) && job.placeError == 0 && job.refusal.empty(); }

// The identities of the files that are there of paths, in order; none for
// those that are not.
std::vector<std::pair<bool, FileIdentity>> IdentitiesOf(const std::vector<std::string>& paths) {
    std::vector<std::pair<bool, FileIdentity>> identities;
    ULONGLONG pumped = GetTickCount64();
    for (const std::string& path : paths) {
        FileIdentity identity = {};
        bool there = IdentifyFile(path, &identity);
        identities.push_back({there, identity});
        KeepAnswering(&pumped);
    }
    return identities;
}

// The jobs of the batch, one a file, named in folder; those that must not
// run at all are refused already. *existing receives those whose outputs are
// there. An output that is one of the batch's inputs would be written over
// while it is read; the inputs are identified only when some output is there.
std::vector<std::unique_ptr<EncoderJob>> BatchJobs(const std::vector<std::string>& files, const std::string& folder,
                                                   const OutputChoice& output, std::vector<EncoderJob*>* existing) {
    std::vector<std::string> names = BatchOutputNames(files, NameBefore, output.type);
    std::vector<std::string> outFiles;
    for (const std::string& name : names) outFiles.push_back(JoinPath(folder, name));
    auto outputs = IdentitiesOf(outFiles);
    bool anyThere = std::any_of(outputs.begin(), outputs.end(), [](const auto& output) { return output.first; });
    auto inputs = anyThere ? IdentitiesOf(files) : decltype(outputs)();
    std::vector<std::unique_ptr<EncoderJob>> jobs;
    for (size_t i = 0; i < files.size(); ++i) {
        std::unique_ptr<EncoderJob> job(new EncoderJob);
        job->inFile = files[i];
        job->outFile = outFiles[i];
        job->quality = output.quality;
        if (Utf16Length(names[i]) > kLongestName) {
            RefuseJob(*job, tk::SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
        } else if (outputs[i].first || PathExists(outFiles[i])) {
            if (outputs[i].first && std::find(inputs.begin(), inputs.end(), outputs[i]) != inputs.end())
                RefuseJob(*job, "The output file must not be the input file.");
            else
                existing->push_back(job.get());
        }
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
                                                   tk::SystemErrorText(ERROR_FILE_NOT_FOUND));
        MessageBoxA(MAIN_WINDOW, missing.text.c_str(), missing.caption.c_str(), missing.flags);
        return false;
    }
    EncoderJob probe;
    probe.outFile = JoinPath(folder, "probe.wav");
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
bool DecideOnExisting(const std::vector<EncoderJob*>& existing, size_t files, const std::string& folder,
                      int* skipped) {
    if (existing.empty()) return true;
    std::string text = std::to_string(existing.size()) + " of the " + std::to_string(files) +
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
    std::vector<EncoderJob*> existing;
    std::vector<std::unique_ptr<EncoderJob>> jobs = BatchJobs(files, folder, output, &existing);
    BatchTally tally = {(int)files.size(), 0, 0, {}, false};
    if (!DecideOnExisting(existing, files.size(), folder, &tally.skipped)) return;

    // The tally lists the files in the order they were loaded.
    std::vector<EncoderJob*> inOrder;
    for (auto& job : jobs) inOrder.push_back(job.get());
    ConversionRun run;
    run.batch = true;
    run.slots = Slots();
    for (auto& job : jobs)
        if (job->state == JobState::Waiting) run.jobs.push_back(std::move(job));
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
