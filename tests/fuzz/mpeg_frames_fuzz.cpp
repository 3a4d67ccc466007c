// Fuzz target of the reader of a WAV output's head and of its MP3 frames: any
// bytes as a file. It aborts when the layout found lies outside the file, when
// counting takes more bytes than given or counts other frames when the bytes
// come in two pieces (as a file is read a block at a time), or when a constant
// tally gives another rate than its frames'.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "convert/mpeg_frames.h"

static void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "mpeg frames reader: %s\n", what);
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes((const char*)data, size);
    Mp3WaveLayout layout;
    if (FindMp3WaveLayout(bytes, bytes.size(), &layout))
        Expect(layout.byteRateAt + 4 <= size && layout.dataAt <= size && layout.dataBytes <= size - layout.dataAt,
               "the layout lies outside the file");
    MpegFrameTally whole, pieces;
    size_t taken = CountMpegFrames(data, size, &whole);
    Expect(taken <= size, "more bytes taken than given");
    if (whole.constant && whole.frames > 0) Expect(MeanByteRate(whole, taken) == whole.kbps * 125, "a constant rate not the frames'");
    size_t first = CountMpegFrames(data, size == 0 ? 0 : data[0] * size / 256, &pieces);
    size_t second = CountMpegFrames(data + first, size - first, &pieces);
    Expect(first + second == taken && pieces.frames == whole.frames && pieces.samples == whole.samples &&
               pieces.constant == whole.constant,
           "two pieces counted other frames than the whole");
    return 0;
}
