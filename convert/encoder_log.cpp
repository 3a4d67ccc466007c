#include "convert/encoder_log.h"

#include <cctype>
#include <vector>

namespace {

constexpr size_t kReasonBytes = 300;

bool Digits(const std::string& text, size_t at, size_t count) {
    if (at + count > text.size()) return false;
    for (size_t i = at; i < at + count; ++i)
        if (!std::isdigit((unsigned char)text[i])) return false;
    return true;
}

int Number(const std::string& text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

// "HH:MM:SS.cc" at text[at] in hundredths of a second; -1 when it is not one.
long long Hundredths(const std::string& text, size_t at) {
    if (!Digits(text, at, 2) || !Digits(text, at + 3, 2) || !Digits(text, at + 6, 2) || !Digits(text, at + 9, 2))
        return -1;
    if (text[at + 2] != ':' || text[at + 5] != ':' || text[at + 8] != '.') return -1;
    return ((Number(text, at, 2) * 60LL + Number(text, at + 3, 2)) * 60 + Number(text, at + 6, 2)) * 100 +
           Number(text, at + 9, 2);
}

// The encoder ends its progress reports with "\r" and its other lines with "\n".
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            if (i > start) lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}

bool IsProgressReport(const std::string& line) {
    return line.find("time=") != std::string::npos && line.find("size=") != std::string::npos;
}

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Cut to at most limit bytes, back to the start of a UTF-8 sequence.
std::string CutUtf8(const std::string& text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && ((unsigned char)text[end] & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

int ProgressPercent(const std::string& logText) {
    const std::string durationTag = "Duration: ";
    size_t duration = logText.find(durationTag);
    if (duration == std::string::npos) return -1;
    long long length = Hundredths(logText, duration + durationTag.size());
    if (length <= 0) return -1;

    long long position = 0;
    for (size_t at = logText.rfind("time="); at != std::string::npos;
         at = at == 0 ? std::string::npos : logText.rfind("time=", at - 1)) {
        long long value = Hundredths(logText, at + 5);
        if (value >= 0) {
            position = value;
            break;
        }
    }
    long long percent = position * 100 / length;
    return percent > 99 ? 99 : (int)percent;
}

std::string LastErrorLine(const std::string& logText) {
    std::vector<std::string> lines = Lines(logText);
    for (size_t i = lines.size(); i-- > 0;) {
        std::string clean;
        for (char c : lines[i])
            if ((unsigned char)c >= 0x20 && c != 0x7F) clean += c;
        clean = Trimmed(clean);
        if (clean.empty() || IsProgressReport(clean) || clean == "Conversion failed!") continue;
        return CutUtf8(clean, kReasonBytes);
    }
    return std::string();
}

