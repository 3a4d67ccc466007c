#pragma once
// What the encoder's standard error tells, read as text: how far the
// conversion is, and why it failed.
//
// The encoder first describes its input ("Input #0, ..." and, among its
// tags, the line "  Duration: 00:01:00.00, ..."), then its output, then
// reports its position about twice a second on lines of their own
// ("size=     512kB time=00:00:29.93 ...", ended by CR). The input's tags are
// printed in that description: their values only after a "key : " on
// indented lines, but their names as they are, so that a tag name holding
// line breaks can print whole lines of any content. Hence: the length comes
// from the one duration line the encoder prints, and is not known when there
// are two; the position only from a report that is the log's last line, since
// the encoder follows everything a tag name prints with more lines of its own.
#include <cstdint>
#include <string>
#include <vector>

// The whole percentage that the last report of a whole log has reached of the
// input's length, at most 99 (100 is for a finished run); 0 while the length
// is known but no report ends the log; -1 while no length is known.
int ProgressPercent(const std::string& logText);

// What the busy window has learnt from the log, read again and again while
// the encoder runs.
struct LogProgress {
    long long inputLength = -1;  // hundredths of a second; -1 until learnt
    int percent = -1;            // of the log's last report; -1 when none ends the log
};
// The progress after one more read of the log. The input's length is learnt
// from the first whole log that a report ends, when the encoder has printed
// all it prints of the input's tags, and is kept from then on: the joined
// head and tail of a large log (LogHeadAndTail) never teach it.
LogProgress NextProgress(LogProgress known, const std::string& logText);

// A log too large to read whole, as its first and its last bytes: each part
// without the half line at the cut, joined by a line that tells the reader
// that a part is missing.
std::string LogHeadAndTail(const std::string& head, const std::string& tail);

// The encoder's last line that is neither a progress report nor its closing
// "Conversion failed!", cut to 300 bytes, never inside a character. It is
// read as UTF-8: control characters (C0, DEL, C1) and the bidirectional
// embeddings, overrides and isolates are left out, so that a file name cannot
// reorder the message; every byte that starts no valid sequence becomes
// U+FFFD. "" when there is none. The encoder's own path before its reason
// (one of paths) is left out first, as WithoutEncoderPaths leaves it out.
std::string LastErrorLine(const std::string& logText, const std::vector<std::string>& paths = {});

// reason without the path the encoder put before it: one of paths (the input
// and the temporary output as the encoder was given them), in that form or
// the other of plain and extended ("\\?\"), any case of its letters, and ": ".
// "Z:\In\a.wav: Invalid data found when processing input" gives
// "Invalid data found when processing input".
std::string WithoutEncoderPaths(const std::string& reason, const std::vector<std::string>& paths);

// An encoder's exit code as the user reads it: exception codes such as
// 0xC0000005 in hexadecimal, the others in decimal.
std::string ExitCodeText(uint32_t code);
