// Fuzz target of the reader of MP3 frame headers and of a WAV output's head,
// which put a converted file's stated byte rate right: any bytes as a file.
// It aborts when a reading breaks what the correction relies on:
//  - the layout found lies inside the file (the byte rate's four bytes in the
//    head, the data within the file's size);
//  - counting never takes more bytes than it was given, and counting the same
//    bytes in two pieces (the cut anywhere) counts the same frames;
//  - every frame counted has a known rate, and a constant tally gives the
//    first frame's rate.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "convert/mpeg_frames.h"

namespace {

void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "mpeg frames reader: %s\n", what);
    std::abort();
}

bool SameTally(const MpegFrameTally& a, const MpegFrameTally& b) {
    return a.frames == b.frames && a.samples == b.samples && a.kbps == b.kbps && a.sampleRate == b.sampleRate &&
           a.constant == b.constant;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes((const char*)data, size);
    Mp3WaveLayout layout;
    if (FindMp3WaveLayout(bytes, bytes.size(), &layout)) {
        Expect(layout.byteRateAt + 4 <= bytes.size(), "the byte rate lies outside the head");
        Expect(layout.dataAt <= bytes.size() && layout.dataBytes <= bytes.size() - layout.dataAt,
               "the data lie outside the file");
    }

    MpegFrameTally whole;
    size_t taken = CountMpegFrames(data, size, &whole);
    Expect(taken <= size, "more bytes taken than given");
    if (whole.frames > 0) Expect(whole.kbps >= 8 && whole.kbps <= 320 && whole.sampleRate >= 8000, "an unknown rate");
    uint32_t rate = MeanByteRate(whole, taken);
    if (whole.constant && whole.frames > 0) Expect(rate == whole.kbps * 125, "a constant rate that is not the frames'");

    // The same bytes in two pieces, as a file is read a block at a time.
    size_t cut = size == 0 ? 0 : data[0] * size / 256;
    MpegFrameTally pieces;
    size_t first = CountMpegFrames(data, cut, &pieces);
    size_t second = CountMpegFrames(data + first, size - first, &pieces);
    Expect(first + second == taken, "two pieces took other bytes than the whole");
    Expect(SameTally(pieces, whole), "two pieces counted other frames than the whole");
    return 0;
}
