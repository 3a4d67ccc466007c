#include "convert/encoder_log.h"

#include "convert/path_rules.h"

#include <string_view>
#include <vector>

namespace {

constexpr size_t kReasonBytes = 300;
// Stands between the head and the tail of a large log. The encoder never
// prints this byte: its log routine prints such control characters, a tag's
// included, as "?".
constexpr char kGapMark = '\x01';
// Hours have two digits or more; ten keep the arithmetic far from overflow.
constexpr size_t kLongestHours = 10;

// The encoder ends its progress reports with CR and its other lines with LF
// (CR LF on Windows); a tag name may hold either. Empty lines do not count.
struct LogLines {
    std::vector<std::string_view> finished;
    std::string_view unfinished;  // after the last line end: still being written
};

LogLines SplitLines(std::string_view text) {
    LogLines lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        if (i > start) lines.finished.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    lines.unfinished = text.substr(start);
    return lines;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of the digits text[at, at + count); -1 when one is no digit.
long long Number(std::string_view text, size_t at, size_t count) {
    if (at + count > text.size()) return -1;
    long long value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "HH:MM:SS.cc" (two or more digits of hours) at the start of text, in
// hundredths of a second; -1 when it is not one.
long long Hundredths(std::string_view text) {
    size_t hourDigits = 0;
    while (hourDigits < text.size() && hourDigits <= kLongestHours && IsDigit(text[hourDigits])) ++hourDigits;
    if (hourDigits < 2 || hourDigits > kLongestHours) return -1;
    std::string_view rest = text.substr(hourDigits);
    if (rest.size() < 9 || rest[0] != ':' || rest[3] != ':' || rest[6] != '.') return -1;
    long long hours = Number(text, 0, hourDigits), minutes = Number(rest, 1, 2), seconds = Number(rest, 4, 2),
              hundredths = Number(rest, 7, 2);
    if (minutes < 0 || seconds < 0 || hundredths < 0) return -1;
    return ((hours * 60 + minutes) * 60 + seconds) * 100 + hundredths;
}

// The encoder follows a tag's name with ": " on the same line; its reports hold no ": ".
bool HoldsTagSeparator(std::string_view text) { return text.find(": ") != std::string_view::npos; }

// The position a report line tells, 0 for a negative one; -1 for any other line.
long long ReportedTime(std::string_view line) {
    if (!StartsWith(line, "size=") && !StartsWith(line, "frame=")) return -1;
    if (HoldsTagSeparator(line)) return -1;
    size_t time = line.find(" time=");
    if (time == std::string_view::npos) return -1;
    std::string_view clock = line.substr(time + 6);
    bool negative = StartsWith(clock, "-");
    long long value = Hundredths(negative ? clock.substr(1) : clock);
    return negative && value >= 0 ? 0 : value;
}

// The position of the report that ends the log; -1 when another line ends it.
// Text after it, unfinished, is the next report being written, unless it
// holds the end of a tag name: then the report was one the tag printed.
long long LastReportedTime(const LogLines& lines) {
    if (lines.finished.empty() || HoldsTagSeparator(lines.unfinished)) return -1;
    return ReportedTime(lines.finished.back());
}

bool IsCut(const LogLines& lines) {
    for (std::string_view line : lines.finished)
        if (line[0] == kGapMark) return true;
    return false;
}

bool EndsInputSection(std::string_view line) {
    return StartsWith(line, "Output #0") || StartsWith(line, "Stream mapping:");
}

// The length the input's own duration line tells: the only line of the log
// that starts with "  Duration:", standing in the input's section (after
// "Input #0", before the output's or the stream mapping). -1 when there is
// none, or more than one (a tag printed the others), or the log is cut.
long long InputLength(const LogLines& lines) {
    const std::string_view durationTag = "  Duration: ";
    if (IsCut(lines)) return -1;
    size_t found = lines.finished.size(), count = 0;
    for (size_t i = 0; i < lines.finished.size(); ++i)
        if (StartsWith(lines.finished[i], "  Duration:")) found = i, ++count;
    if (count != 1) return -1;
    bool inInput = false;
    for (size_t i = 0; i < found; ++i) {
        if (!inInput) inInput = StartsWith(lines.finished[i], "Input #0");
        else if (EndsInputSection(lines.finished[i])) return -1;
    }
    if (!inInput || !StartsWith(lines.finished[found], durationTag)) return -1;
    return Hundredths(lines.finished[found].substr(durationTag.size()));
}

int PercentOf(long long position, long long length) {
    long long percent = position * 100 / length;
    return percent > 99 ? 99 : (int)percent;
}

// The length of the valid UTF-8 sequence at text[at] and its code point; 0
// when none starts there (overlong forms, surrogates and values past U+10FFFF
// included).
size_t Utf8Sequence(std::string_view text, size_t at, char32_t* codePoint) {
    unsigned char lead = (unsigned char)text[at];
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    }
    if (length == 0 || at + length > text.size()) return 0;
    char32_t value = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        unsigned char next = (unsigned char)text[at + i];
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    *codePoint = value;
    return length;
}

// Controls, and the bidirectional embeddings, overrides and isolates.
bool IsHiddenCharacter(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The line as valid UTF-8 without hidden characters.
std::string Shown(std::string_view line) {
    std::string shown;
    for (size_t at = 0; at < line.size();) {
        char32_t c = 0;
        size_t length = Utf8Sequence(line, at, &c);
        if (length == 0) shown += "\xEF\xBF\xBD";
        else if (!IsHiddenCharacter(c)) shown.append(line.substr(at, length));
        at += length ? length : 1;
    }
    return shown;
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Cut valid UTF-8 to at most limit bytes, back to the start of a character.
std::string CutUtf8(const std::string& text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && ((unsigned char)text[end] & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

int ProgressPercent(const std::string& logText) {
    LogLines lines = SplitLines(logText);
    long long length = InputLength(lines);
    if (length <= 0) return -1;
    long long position = LastReportedTime(lines);
    return PercentOf(position < 0 ? 0 : position, length);
}

LogProgress NextProgress(LogProgress known, const std::string& logText) {
    LogLines lines = SplitLines(logText);
    long long position = LastReportedTime(lines);
    // Until its first report ends the log, the encoder may still be printing
    // the input's tags, and a duration line from one may stand alone.
    if (position >= 0 && known.inputLength <= 0) known.inputLength = InputLength(lines);
    known.percent = position >= 0 && known.inputLength > 0 ? PercentOf(position, known.inputLength) : -1;
    return known;
}

std::string LogHeadAndTail(const std::string& head, const std::string& tail) {
    size_t headEnd = head.find_last_of("\r\n");
    size_t tailStart = tail.find_first_of("\r\n");
    return head.substr(0, headEnd == std::string::npos ? 0 : headEnd + 1) + kGapMark + "\n" +
           tail.substr(tailStart == std::string::npos ? tail.size() : tailStart + 1);
}

static bool StartsWithNoCase(const std::string& text, const std::string& start) {
    if (start.empty() || text.size() < start.size()) return false;
    for (size_t i = 0; i < start.size(); ++i) {
        char a = text[i], b = start[i];
        if (a >= 'A' && a <= 'Z') a = (char)(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = (char)(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

std::string WithoutEncoderPaths(const std::string& reason, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        for (const std::string& form : {path, PlainPath(path), VerbatimPath(path)}) {
            if (StartsWithNoCase(reason, form + ": ")) return reason.substr(form.size() + 2);
        }
    }
    return reason;
}

std::string LastErrorLine(const std::string& logText, const std::vector<std::string>& paths) {
    LogLines lines = SplitLines(logText);
    lines.finished.push_back(lines.unfinished);
    for (size_t i = lines.finished.size(); i-- > 0;) {
        std::string clean = Trimmed(Shown(lines.finished[i]));
        if (clean.empty() || StartsWith(clean, "size=") || StartsWith(clean, "frame=") || clean == "Conversion failed!")
            continue;
        return Trimmed(CutUtf8(WithoutEncoderPaths(clean, paths), kReasonBytes));
    }
    return std::string();
}

std::string ExitCodeText(uint32_t code) {
    if (code < 0xC0000000u) return std::to_string(code);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += "0123456789ABCDEF"[(code >> shift) & 0xF];
    return text;
}
