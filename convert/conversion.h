#pragma once
// One conversion run: the path checks, the busy window, the encoder thread,
// putting the output in place and the closing message.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/globals.h"
#include "convert/output_choice.h"

constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;      // 0x30
constexpr UINT kInformation = MB_OK | MB_ICONINFORMATION;  // 0x40

// 1 from the start of the encoder thread until the closing message is dismissed.
extern int32_t REPORT_PENDING;

// Runs the encoder on IN_FILE into a temporary file beside OUT_FILE while the
// busy window animates, puts the output in place when it is whole, and tells
// the user how it ended. Returns when all of that is over.
void RunConversion(Quality quality = Quality::Kbps128);

// Converts files into folder side by side, as many at once as the machine
// has processors (at most eight), each output of output's type and quality:
// asks once before replacing files there, and tells the user in one message
// how each went. Returns when that is over.
void RunBatchConversion(const std::vector<std::string>& files, const std::string& folder,
                        const OutputChoice& output = OutputChoice());

// What the closing message says for an outcome of the encoder thread. reason:
// the system's text for an encoder that could not be started, the encoder's
// last error line for one that failed; it follows the message after a blank line.
struct ClosingMessage {
    std::string text;
    std::string caption;
    UINT flags;
};
ClosingMessage ClosingMessageFor(const EncoderOutcome& outcome, const std::string& encoderPath,
                                 const std::string& reason = std::string());

// "The converted file cannot be written into:", the folder and the system's reason.
std::string UnwritableFolderText(const std::string& folder, DWORD error);

// "The input file was not found:", CR LF and the path, as a warning box.
void WarnInputNotFound(const std::string& path);
