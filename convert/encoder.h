#pragma once
// Starting the external encoder, PLUG-IN\ffmpeg_III.exe beside the program.
#include <windows.h>

#include <string>

#include "app/globals.h"
#include "convert/encoder_command.h"

// Starts the command line hidden, waits for the process without a time limit
// and closes its handles.
EncoderOutcome RunEncoder(const std::string& commandLine);

// The worker thread of a conversion: reads IN_FILE and OUT_FILE once, runs the
// encoder, records ENCODER_OUTCOME and then clears ENCODING, on every path.
DWORD WINAPI EncoderThread(LPVOID unused);
