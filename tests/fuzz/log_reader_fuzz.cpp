// Fuzz target of the encoder's log reader: any bytes as the encoder's standard
// error, read as the busy window and the closing message read it. It aborts
// when a read breaks what the rest of the program relies on:
//  - a percentage is -1 to 99; -1, and no length learnt, unless exactly one
//    finished line starts with "  Duration:" and some line with "Input #0";
//    no position and no length learnt unless the log ends in a line that
//    starts with "size=" or "frame=" and holds no ": ", and none when a tag
//    name's ": " follows that line;
//  - tag values (" : " and text, at the end of every line but the last) change
//    no percentage;
//  - a log cut into head and tail never teaches the length, a learnt length
//    is kept, and the half lines at the cut are never read;
//  - the reason is at most 300 bytes of valid UTF-8 without controls or
//    bidirectional controls, without spaces at its ends, neither a report nor
//    "Conversion failed!", and made of the log's bytes in their order (the
//    U+FFFD that stands for bytes of no character aside).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "convert/encoder_log.h"

namespace {

// Starts with a space, so that it completes no "Stream mapping:" and no "  Duration:".
const std::string kTagValue = " : Duration: 00:00:01.00 size=  9kB time=00:00:59.00 frame=9";
const std::string kHalfLine = "size=       9kB time=00:00:59.00 bitrate=   1.0kbits/s";
const std::string kReplacement = "\xEF\xBF\xBD";
constexpr long long kLearnt = 6000;

void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "log reader: %s\n", what);
    std::abort();
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool StartsLine(const std::string& log, size_t at) { return at == 0 || IsLineEnd(log[at - 1]); }

size_t FinishedLinesStartingWith(const std::string& log, const std::string& prefix) {
    size_t count = 0, lastEnd = log.find_last_of("\r\n");
    for (size_t at = 0; lastEnd != std::string::npos && at < lastEnd; ++at)
        if (StartsLine(log, at) && log.compare(at, prefix.size(), prefix) == 0) ++count;
    return count;
}

// Where the last non-empty line ended by CR or LF starts; npos for none.
size_t LastFinishedLine(const std::string& log) {
    size_t end = log.find_last_of("\r\n");
    while (end != std::string::npos && end > 0 && IsLineEnd(log[end - 1])) --end;
    if (end == std::string::npos || end == 0) return std::string::npos;
    size_t before = log.find_last_of("\r\n", end - 1);
    return before == std::string::npos ? 0 : before + 1;
}

// Starts with "size=" or "frame=", and holds no ": " as every line of a tag name's end does.
bool LastLineIsReport(const std::string& log) {
    size_t start = LastFinishedLine(log);
    if (start == std::string::npos) return false;
    std::string line = log.substr(start, log.find_first_of("\r\n", start) - start);
    return (line.rfind("size=", 0) == 0 || line.rfind("frame=", 0) == 0) && line.find(": ") == std::string::npos;
}

// The log with kTagValue at the end of every finished line but the last.
std::string WithTagValues(const std::string& log) {
    size_t last = LastFinishedLine(log);
    std::string out;
    for (size_t at = 0; at < log.size(); ++at) {
        if (IsLineEnd(log[at]) && !StartsLine(log, at) && at < last) out += kTagValue;
        out += log[at];
    }
    return out;
}

void CheckProgress(const std::string& log) {
    int percent = ProgressPercent(log);
    LogProgress learning = NextProgress({}, log), known = NextProgress({kLearnt, -1}, log);
    Expect(percent >= -1 && percent <= 99, "a percentage outside -1 to 99");
    Expect(learning.percent >= -1 && learning.percent <= 99 && known.percent >= -1 && known.percent <= 99,
           "a busy window's percentage outside -1 to 99");
    Expect(known.inputLength == kLearnt, "a learnt length is not kept");
    if (FinishedLinesStartingWith(log, "  Duration:") != 1 || FinishedLinesStartingWith(log, "Input #0") == 0)
        Expect(percent == -1 && learning.inputLength == -1, "a length without one duration line after an input's");
    if (!LastLineIsReport(log))
        Expect(percent <= 0 && known.percent == -1 && learning.inputLength == -1,
               "a position, or a length learnt, from a log that no report ends");
    Expect(ProgressPercent(log + ": ") <= 0 && NextProgress({kLearnt, -1}, log + ": ").percent == -1,
           "a report followed by a tag name's \": \" counts");

    std::string valued = WithTagValues(log);
    Expect(ProgressPercent(valued) == percent && NextProgress({}, valued).percent == learning.percent,
           "tag values change the percentage");
}

void CheckCut(const std::string& log) {
    std::string head = log.substr(0, log.size() / 3), tail = log.substr(log.size() - log.size() / 3);
    std::string cut = LogHeadAndTail(head, tail);
    Expect(ProgressPercent(cut) == -1 && NextProgress({}, cut).inputLength == -1, "a cut log tells the length");
    Expect(LogHeadAndTail(head + kHalfLine, tail) == cut && LogHeadAndTail(head, kHalfLine + tail) == cut,
           "a half line at the cut is read");
}

// The code points of valid UTF-8; false for anything else.
bool DecodeUtf8(const std::string& text, std::u32string* decoded) {
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = (unsigned char)text[i];
        size_t length = lead < 0x80 ? 1 : lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k) {
            if (((unsigned char)text[i + k] & 0xC0) != 0x80) return false;
            c = (c << 6) | ((unsigned char)text[i + k] & 0x3F);
        }
        if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        decoded->push_back(c);
        i += length;
    }
    return true;
}

bool IsSubsequence(const std::string& part, const std::string& whole) {
    size_t at = 0;
    for (char c : part) {
        at = whole.find(c, at);
        if (at == std::string::npos) return false;
        ++at;
    }
    return true;
}

void CheckReason(const std::string& log) {
    std::string reason = LastErrorLine(log);
    std::u32string characters;
    Expect(reason.size() <= 300, "a reason longer than 300 bytes");
    Expect(DecodeUtf8(reason, &characters), "a reason that is no valid UTF-8");
    for (char32_t c : characters)
        Expect(c >= 0x20 && !(c >= 0x7F && c <= 0x9F) && !(c >= 0x202A && c <= 0x202E) && !(c >= 0x2066 && c <= 0x2069),
               "a control or bidirectional control in the reason");
    if (reason.empty()) return;
    Expect(reason.front() != ' ' && reason.back() != ' ', "a reason with spaces at an end");
    Expect(reason != "Conversion failed!" && reason.rfind("size=", 0) != 0 && reason.rfind("frame=", 0) != 0,
           "a report or the closing line as the reason");
    for (size_t at = reason.find(kReplacement); at != std::string::npos; at = reason.find(kReplacement, at))
        reason.erase(at, kReplacement.size());
    Expect(IsSubsequence(reason, log), "a reason that is not the log's own bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string log(reinterpret_cast<const char*>(data), size);
    CheckProgress(log);
    CheckCut(log);
    CheckReason(log);
    CheckReason(LogHeadAndTail(log.substr(0, size / 2), log.substr(size / 2)));
    return 0;
}
