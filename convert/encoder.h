#pragma once
// Starting the external encoder, PLUG-IN\ffmpeg_III.exe beside the program.
#include <windows.h>

#include <atomic>
#include <string>

#include "app/globals.h"
#include "convert/encoder_command.h"

// One conversion, owned by the run that starts it and handed to its worker.
// The worker reads the paths and the stop event and writes outcome; the rest
// belongs to the main thread.
struct EncoderJob {
    std::string inFile;         // as chosen, read by the worker once
    std::string outFile;        // as chosen; receives the output once it is whole
    std::string temporaryFile;  // what the encoder writes
    std::string logFile;        // the encoder's standard error, beside temporaryFile
    HANDLE stopEvent = nullptr; // set by the main thread: end the encoder now
    int percent = -1;           // what the busy window shows; -1: nothing yet
    int64_t logSizeRead = -1;   // the log's size when the busy window last read it
    long long inputLength = -1; // hundredths of a second, once learnt from the log
    std::atomic<EncoderOutcome> outcome{EncoderOutcome{EncoderEnd::Pending, 0}};
};

// Starts the command line hidden and waits for the process without a time
// limit, or until stopEvent (when given) is set: then it ends the process and
// waits until it is gone. With a logPath the encoder's standard output and
// error go to that file, created anew, whose handle is the only one it inherits.
EncoderOutcome RunEncoder(const std::string& commandLine, const std::wstring& logPath = std::wstring(),
                          HANDLE stopEvent = nullptr);

// The worker thread of a conversion, given its EncoderJob: runs the encoder on
// the job's input into its temporary file, records the outcome in the job and
// then clears ENCODING, on every path.
DWORD WINAPI EncoderThread(LPVOID job);
