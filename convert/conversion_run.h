#pragma once
// What a single conversion and a batch share: their job records run side by
// side under the busy window, each output put in place as soon as it is whole.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "convert/encoder.h"

// The jobs of one run, owned by it; at most slots of them run at once.
struct ConversionRun {
    std::vector<std::unique_ptr<EncoderJob>> jobs;
    int slots = 1;
    bool batch = false;  // the busy window shows the whole batch's percentage and the files done
    int shownPercent = -1;
};

// Runs every job of run, the busy window over the main window meanwhile: the
// next is started as soon as one ends, each output takes its chosen name as
// soon as it is whole, a job that fails does not stop the others. While the
// stop question is open no job starts, and a batch's finished outputs are
// still put in place; a Yes ends those running and starts no more. Returns
// once every job has ended; false, with none started, when the run cannot begin.
bool RunJobs(ConversionRun& run);

// Picks free names for the temporary output and the log in the folder of the
// job's output and takes the log's name by creating it; false, with the
// system's error code, when the folder takes no new file.
bool ReserveTemporaryFiles(EncoderJob& job, DWORD* error);

// The job will not run; refusal says why, as the user is told.
void RefuseJob(EncoderJob& job, const std::string& refusal);

bool Succeeded(const EncoderOutcome& outcome);
