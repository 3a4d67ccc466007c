#pragma once
// Starting the external encoder, PLUG-IN\ffmpeg_III.exe beside the program.
#include <windows.h>

#include <atomic>
#include <string>

#include "app/globals.h"
#include "convert/encoder_command.h"

// Where a job stands in its run.
enum class JobState { Waiting, Running, Ended };

// One conversion, owned by the run that starts it and handed to its worker.
// The worker reads the paths and the stop event and writes outcome; the rest
// belongs to the main thread.
struct EncoderJob {
    std::string inFile;         // as chosen, read by the worker once
    std::string outFile;        // as chosen; receives the output once it is whole
    std::string temporaryFile;  // what the encoder writes
    std::string logFile;        // the encoder's standard error, beside temporaryFile
    Quality quality = Quality::Kbps128;  // the rate the user chose
    HANDLE stopEvent = nullptr; // borrowed from the run: end the encoder now
    int percent = -1;           // how far the encoder is by its log; -1: nothing yet
    int64_t logSizeRead = -1;   // the log's size when it was last read
    long long inputLength = -1; // hundredths of a second, once learnt from the log
    std::atomic<EncoderOutcome> outcome{EncoderOutcome{EncoderEnd::Pending, 0}};

    // The run's bookkeeping, on the main thread.
    JobState state = JobState::Waiting;
    HANDLE thread = nullptr;    // the worker while it runs
    double seconds = -1;        // the input's length, -1 when unknown: its weight in a batch
    EncoderOutcome end{EncoderEnd::Pending, 0};  // how it ended, a stop or an empty output told
    std::string reason;         // why it failed: the system's or the encoder's words, may be ""
    std::string refusal;        // why it was not started at all, as the user is told
    DWORD placeError = 0;       // a whole output that could not take the chosen name
};

// Starts the command line hidden and waits for the process without a time
// limit, or until stopEvent (when given) is set: then it ends the process and
// waits until it is gone. With a logPath the encoder's standard output and
// error go to that file, created anew, whose handle is the only one it inherits.
EncoderOutcome RunEncoder(const std::string& commandLine, const std::wstring& logPath = std::wstring(),
                          HANDLE stopEvent = nullptr);

// The worker thread of a conversion, given its EncoderJob: runs the encoder on
// the job's input into its temporary file, after a success puts right the
// byte rate a WAV output states, records the outcome in the job and
// then takes itself off ENCODING (which counts the workers at work), on every path.
DWORD WINAPI EncoderThread(LPVOID job);
