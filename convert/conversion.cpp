#include "convert/conversion.h"

#include "app/program_path.h"
#include "convert/conversion_run.h"
#include "convert/encoder_log.h"
#include "convert/paths.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

int32_t REPORT_PENDING = 0;

namespace {

// The checks before anything is started; false after warning the user.
bool PathsAreUsable() {
    if (tk::IsBlank(IN_FILE)) {
        tk::ShowMessage(L"Input file not found", L"Attention", kWarning);
        return false;
    }
    if (tk::IsBlank(OUT_FILE)) {
        tk::ShowMessage(L"Output file not found", L"Attention", kWarning);
        return false;
    }
    if (!InputFileExists(IN_FILE)) {
        WarnInputNotFound(IN_FILE);
        return false;
    }
    // The encoder would overwrite its own source.
    if (IsSameFile(IN_FILE, OUT_FILE)) {
        tk::ShowMessage(L"The output file must not be the input file.", L"Attention", kWarning);
        return false;
    }
    return true;
}

// What the user is told of the one job of a single run.
ClosingMessage MessageForJob(const EncoderJob& job) {
    if (!job.refusal.empty()) return {job.refusal, "Attention", kWarning};
    if (job.placeError == 0) return ClosingMessageFor(job.end, EncoderPath(ProgramFolder()), job.reason);
    return {"The converted file could not take the place of:\r\n" + PlainPath(job.outFile) + "\r\n\r\nIt is kept as:\r\n" +
                PlainPath(job.temporaryFile) + "\r\n\r\n" + tk::SystemErrorText(job.placeError),
            "Attention", kWarning};
}

}  // namespace

std::string UnwritableFolderText(const std::string& folder, DWORD error) {
    return "The converted file cannot be written into:\r\n" + folder + "\r\n\r\n" + tk::SystemErrorText(error);
}

void WarnInputNotFound(const std::string& path) {
    tk::ShowMessage(L"The input file was not found:\r\n" + tk::Widen(PlainPath(tk::TrimSpaces(path))), L"Attention",
                    kWarning);
}

ClosingMessage ClosingMessageFor(const EncoderOutcome& outcome, const std::string& encoderPath,
                                 const std::string& reason) {
    std::string because = reason.empty() ? std::string() : "\r\n\r\n" + reason;
    if (outcome.end == EncoderEnd::Stopped) return {"The conversion was stopped.", "Information", kInformation};
    if (outcome.end == EncoderEnd::NotStarted)
        return {"The encoder could not be started:\r\n" + encoderPath + because, "Attention", kWarning};
    if (outcome.end == EncoderEnd::WroteNothing)
        return {"The conversion failed: the encoder wrote no output." + because, "Attention", kWarning};
    if (outcome.code == 0) return {"Output conversion process finished", "Information", kInformation};
    return {"The conversion failed: the encoder ended with exit code " + ExitCodeText(outcome.code) + "." + because,
            "Attention", kWarning};
}

void RunConversion(Quality quality) {
    if (!PathsAreUsable()) return;

    ConversionRun run;
    run.jobs.push_back(std::unique_ptr<EncoderJob>(new EncoderJob));
    EncoderJob& job = *run.jobs[0];
    job.inFile = IN_FILE;
    job.outFile = tk::TrimSpaces(OUT_FILE);
    job.quality = quality;
    DWORD error = 0;
    if (!ReserveTemporaryFiles(job, &error)) {
        std::string text = UnwritableFolderText(FolderOfFile(job.outFile), error);
        MessageBoxA(MAIN_WINDOW, text.c_str(), "Attention", kWarning);
        return;
    }
    if (!RunJobs(run)) {
        DeleteFileW(tk::Widen(job.logFile).c_str());
        MessageBoxA(MAIN_WINDOW, "The conversion could not be started.", "Attention", kWarning);
        return;
    }
    ClosingMessage message = MessageForJob(job);
    if (REPORT_PENDING == 1) {
        MessageBoxA(MAIN_WINDOW, message.text.c_str(), message.caption.c_str(), message.flags);
        REPORT_PENDING = 0;
    }
}
