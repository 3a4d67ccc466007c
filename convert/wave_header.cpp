#include "convert/wave_header.h"

namespace {

uint32_t Little32(const std::string& bytes, size_t at) {
    return (uint32_t)(unsigned char)bytes[at] | (uint32_t)(unsigned char)bytes[at + 1] << 8 |
           (uint32_t)(unsigned char)bytes[at + 2] << 16 | (uint32_t)(unsigned char)bytes[at + 3] << 24;
}

bool TagAt(const std::string& bytes, size_t at, const char* tag) { return bytes.compare(at, 4, tag) == 0; }

}  // namespace

double WaveSeconds(const std::string& head, uint64_t fileSize) {
    if (head.size() < 12 || !(TagAt(head, 0, "RIFF") || TagAt(head, 0, "RF64")) || !TagAt(head, 8, "WAVE")) return -1;
    uint32_t byteRate = 0;
    // Chunks follow one another, each an id, a size and its bytes padded to an even count.
    for (uint64_t at = 12; at + 8 <= head.size();) {
        uint32_t size = Little32(head, (size_t)at + 4);
        uint64_t body = at + 8;
        if (TagAt(head, (size_t)at, "fmt ") && size >= 16 && body + 12 <= head.size())
            byteRate = Little32(head, (size_t)body + 8);
        if (TagAt(head, (size_t)at, "data")) {
            if (byteRate == 0 || body > fileSize) return -1;
            uint64_t available = fileSize - body;
            uint64_t audio = (size == 0 || size == 0xFFFFFFFFu || size > available) ? available : size;
            return (double)audio / byteRate;
        }
        at = body + size + (size & 1);
    }
    return -1;
}
