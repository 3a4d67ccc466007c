#pragma once
// The program's command line, as Windows programs split it: what "Send To" and
// a drop onto the program's icon hand over are the names after the program's own.
#include <string>
#include <vector>

// The arguments after the first (the program), split as the platform's C
// runtime does: blanks (space, tab) separate arguments outside quotes; a
// quote opens or closes quoting ("" inside quotes is a quote); backslashes
// are plain except before a quote, where each pair gives one backslash and
// an odd one leaves the quote plain. The first argument ends at its closing
// quote, or at the first blank, with no backslash rule.
std::vector<std::string> CommandLineArguments(const std::string& commandLine);
