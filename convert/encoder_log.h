#pragma once
// What the encoder's standard error tells, read as text: how far the
// conversion is, and why it failed.
#include <string>

// The encoder reports the input's length once ("Duration: 00:01:00.00") and
// its position about twice a second ("time=00:00:29.93"). The whole percentage
// of the last position in that length, at most 99 (100 is for a finished
// run); -1 while no length is known.
int ProgressPercent(const std::string& logText);

// The encoder's last line that is neither a progress report nor its closing
// "Conversion failed!", without control characters and cut to 300 bytes
// (never inside a UTF-8 sequence); "" when there is none.
std::string LastErrorLine(const std::string& logText);

