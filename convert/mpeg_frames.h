#pragma once
// What the frame headers of MPEG Layer III audio say of its rate, and where a
// WAV file holding such audio states its mean byte rate: how an output that
// the encoder's WAV writer labelled with the requested rate (not the rate
// used) is put right.
#include <cstddef>
#include <cstdint>
#include <string>

// One Layer III frame header (MPEG 1, 2 or 2.5).
struct MpegFrame {
    uint32_t kbps;
    uint32_t sampleRate;
    uint32_t samples;  // per frame: 1152, or 576 below 32 kHz
    uint32_t bytes;    // the whole frame, header and padding included
};

// The frame whose header starts at bytes; false when the four bytes are no
// Layer III header (free-format and reserved values included).
bool ReadMpegFrame(const unsigned char* bytes, size_t size, MpegFrame* frame);

// The frames met so far, in the order read.
struct MpegFrameTally {
    uint64_t frames = 0;
    uint64_t samples = 0;
    uint32_t sampleRate = 0;  // of the first frame
    uint32_t kbps = 0;        // of the first frame
    bool constant = true;     // every frame at the first one's rate and sample rate
};

// Counts the frames from the start of bytes on, a byte that starts none being
// passed over; returns how many bytes were taken. It stops before a header
// whose frame runs past size: the caller gives those bytes again with the next.
size_t CountMpegFrames(const unsigned char* bytes, size_t size, MpegFrameTally* tally);

// The mean bytes a second of audio that tally counted in dataBytes: the frames'
// own rate when every frame has it, else the bytes over the frames' length;
// 0 when no frame was counted.
uint32_t MeanByteRate(const MpegFrameTally& tally, uint64_t dataBytes);

// Where a WAV file holding MPEG Layer III audio (format tag 0x0055) states its
// byte rate, and where its data lie.
struct Mp3WaveLayout {
    size_t byteRateAt;  // offset of the format chunk's average bytes a second
    uint32_t byteRate;  // what it says now
    uint64_t dataAt;    // offset of the data chunk's first byte
    uint64_t dataBytes; // as many as the chunk claims and the file holds
};

// The layout of a file whose first bytes are head and whose size is fileSize;
// false when it is no RIFF/WAVE file of that format or the chunks are not in head.
bool FindMp3WaveLayout(const std::string& head, uint64_t fileSize, Mp3WaveLayout* layout);
