#pragma once
// One conversion run: the path checks, the busy window, the encoder thread and
// the closing message.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/globals.h"

// 1 from the start of the encoder thread until the closing message is dismissed.
extern int32_t REPORT_PENDING;

// Runs the encoder on IN_FILE and OUT_FILE while the busy window animates, and
// tells the user how it ended. Returns when all of that is over.
void RunConversion();

// What the closing message says for an outcome of the encoder thread.
struct ClosingMessage {
    std::string text;
    std::string caption;
    UINT flags;
};
ClosingMessage ClosingMessageFor(const EncoderOutcome& outcome, const std::string& encoderPath);

// Both name the same file: full paths compared without regard to case.
bool IsSameFile(const std::string& a, const std::string& b);
