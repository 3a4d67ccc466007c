#pragma once
// The process-wide variables through which the parts of the program meet.
// They live for the whole run; texts are byte strings in the ANSI code page.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// How the encoder thread's run ended; written by the worker before it clears
// ENCODING, read by the main thread once ENCODING is 0.
enum class EncoderEnd : int32_t {
    Pending = 0,     // no run has ended yet
    NotStarted = 1,  // the process could not be created; code is GetLastError()
    Exited = 2,      // the process ended; code is its exit code
    Stopped = 3,     // the user stopped it and the process was ended
    WroteNothing = 4,  // it ended with 0 but left no output, or an empty one:
                       // told by the run, which looks at what was left
};

struct EncoderOutcome {
    EncoderEnd end;
    uint32_t code;
};

extern HCURSOR HAND_CURSOR;
extern HWND MAIN_WINDOW;
extern std::string IN_DIR;
extern std::string OUT_DIR;
extern int32_t MODE;
extern std::string IN_FILE;
extern std::string OUT_FILE;
// Every file loaded, in order; IN_FILE is the first. More than one makes a batch.
extern std::vector<std::string> IN_FILES;

// The encoder threads at work: the run adds one before it starts a worker,
// the worker takes it off with release ordering after recording its outcome;
// the main thread loads it with acquire.
extern std::atomic<int32_t> ENCODING;

// Gives back the memory of the process-wide texts at the end of the run.
void ReleaseProcessTexts();
