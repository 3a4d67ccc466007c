// Fuzz target of the WAV header reader, which weighs each file of a batch:
// the first 8 bytes say how much longer than the head the whole file is, the
// rest is the head. It aborts when a reading breaks what the batch relies on:
//  - the length is -1 or a finite number of seconds, at least 0;
//  - a file that grows never gives less audio than before;
//  - bytes after a head that told a length change nothing (the reader stops
//    at the data chunk).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert/wave_header.h"

namespace {

void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "wave header reader: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    uint64_t beyond = 0;
    std::memcpy(&beyond, data, 8);
    beyond %= (uint64_t)1 << 40;  // up to a terabyte past the head
    std::string head((const char*)data + 8, size - 8);
    uint64_t fileSize = head.size() + beyond;

    double seconds = WaveSeconds(head, fileSize);
    Expect(seconds == -1 || (std::isfinite(seconds) && seconds >= 0), "a length that is no number of seconds");
    if (seconds < 0) return 0;
    Expect(WaveSeconds(head, fileSize + 4096) >= seconds, "a longer file gave less audio");
    Expect(WaveSeconds(head + std::string(16, '\x7F'), fileSize + 16) >= seconds, "bytes after the data chunk lost audio");
    Expect(WaveSeconds(head + "data\xFF\xFF\xFF\xFF", fileSize) == seconds, "bytes after the data chunk were read");
    return 0;
}
