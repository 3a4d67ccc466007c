#include "convert/mpeg_frames.h"

namespace {

// Layer III rates in kbit/s by index, MPEG 1 and MPEG 2/2.5; 0 is free format, 15 reserved.
constexpr uint32_t kMpeg1Kbps[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr uint32_t kMpeg2Kbps[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr uint32_t kMpeg1Rates[3] = {44100, 48000, 32000};

uint32_t Little32(const std::string& bytes, size_t at) {
    return (uint32_t)(unsigned char)bytes[at] | (uint32_t)(unsigned char)bytes[at + 1] << 8 |
           (uint32_t)(unsigned char)bytes[at + 2] << 16 | (uint32_t)(unsigned char)bytes[at + 3] << 24;
}

bool TagAt(const std::string& bytes, size_t at, const char* tag) { return bytes.compare(at, 4, tag) == 0; }

}  // namespace

bool ReadMpegFrame(const unsigned char* bytes, size_t size, MpegFrame* frame) {
    if (size < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return false;
    int version = (bytes[1] >> 3) & 3;  // 0: MPEG 2.5, 1: reserved, 2: MPEG 2, 3: MPEG 1
    int layer = (bytes[1] >> 1) & 3;    // 1: Layer III
    int rateIndex = bytes[2] >> 4;
    int sampleIndex = (bytes[2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3) return false;
    bool mpeg1 = version == 3;
    uint32_t kbps = mpeg1 ? kMpeg1Kbps[rateIndex] : kMpeg2Kbps[rateIndex];
    uint32_t sampleRate = kMpeg1Rates[sampleIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    uint32_t padding = (bytes[2] >> 1) & 1;
    *frame = MpegFrame{kbps, sampleRate, mpeg1 ? 1152u : 576u, (mpeg1 ? 144000 : 72000) * kbps / sampleRate + padding};
    return true;
}

size_t CountMpegFrames(const unsigned char* bytes, size_t size, MpegFrameTally* tally) {
    size_t at = 0;
    while (at + 4 <= size) {
        MpegFrame frame;
        if (!ReadMpegFrame(bytes + at, size - at, &frame)) {
            ++at;
            continue;
        }
        if (frame.bytes > size - at) break;
        if (tally->frames == 0) {
            tally->kbps = frame.kbps;
            tally->sampleRate = frame.sampleRate;
        }
        tally->constant = tally->constant && frame.kbps == tally->kbps && frame.sampleRate == tally->sampleRate;
        ++tally->frames;
        tally->samples += frame.samples;
        at += frame.bytes;
    }
    return at;
}

uint32_t MeanByteRate(const MpegFrameTally& tally, uint64_t dataBytes) {
    if (tally.frames == 0 || tally.samples == 0) return 0;
    if (tally.constant) return tally.kbps * 1000 / 8;
    // Bytes over seconds, rounded; a sample rate and a byte count of a real
    // file keep the product far inside 64 bits.
    long double rate = (long double)dataBytes * tally.sampleRate / tally.samples + 0.5L;
    return rate >= 4294967295.0L ? 0xFFFFFFFFu : (uint32_t)rate;
}

bool FindMp3WaveLayout(const std::string& head, uint64_t fileSize, Mp3WaveLayout* layout) {
    if (head.size() < 12 || !TagAt(head, 0, "RIFF") || !TagAt(head, 8, "WAVE")) return false;
    bool mp3 = false;
    // Chunks follow one another, each an id, a size and its bytes padded to an even count.
    for (uint64_t at = 12; at + 8 <= head.size();) {
        uint32_t size = Little32(head, (size_t)at + 4);
        uint64_t body = at + 8;
        if (TagAt(head, (size_t)at, "fmt ") && size >= 16 && body + 12 <= head.size()) {
            mp3 = ((unsigned char)head[body] | (unsigned char)head[body + 1] << 8) == 0x0055;
            layout->byteRateAt = (size_t)body + 8;
            layout->byteRate = Little32(head, (size_t)body + 8);
        }
        if (TagAt(head, (size_t)at, "data")) {
            if (!mp3 || body > fileSize) return false;
            layout->dataAt = body;
            layout->dataBytes = size > fileSize - body ? fileSize - body : size;
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}
