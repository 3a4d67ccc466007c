#include "convert/output_header.h"

#include <windows.h>

#include <algorithm>

#include "convert/mpeg_frames.h"
#include "convert/wave_header.h"
#include "toolkit/text.h"

namespace {

constexpr DWORD kReadBlock = 1 << 20;

// Reads up to count bytes at offset; what was read.
std::string ReadAt(HANDLE file, uint64_t offset, DWORD count) {
    std::string bytes(count, '\0');
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)offset;
    DWORD got = 0;
    if (count == 0 || !SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, &bytes[0], count, &got, nullptr))
        got = 0;
    bytes.resize(got);
    return bytes;
}

// The frames of the data chunk, read a block at a time.
MpegFrameTally CountDataFrames(HANDLE file, const Mp3WaveLayout& layout) {
    MpegFrameTally tally;
    std::string carried;
    for (uint64_t at = layout.dataAt, end = layout.dataAt + layout.dataBytes; at < end;) {
        std::string block = ReadAt(file, at, (DWORD)std::min<uint64_t>(kReadBlock, end - at));
        if (block.empty()) break;
        at += block.size();
        carried += block;
        size_t taken = CountMpegFrames((const unsigned char*)carried.data(), carried.size(), &tally);
        carried.erase(0, taken);
    }
    return tally;
}

}  // namespace

void CorrectMp3WaveByteRate(const std::string& path) {
    HANDLE file = CreateFileW(tk::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    Mp3WaveLayout layout;
    std::string head = ReadAt(file, 0, (DWORD)std::min<LONGLONG>(size.QuadPart, (LONGLONG)kWaveHeadBytes));
    if (FindMp3WaveLayout(head, (uint64_t)size.QuadPart, &layout)) {
        uint32_t rate = MeanByteRate(CountDataFrames(file, layout), layout.dataBytes);
        if (rate != 0 && rate != layout.byteRate) {
            unsigned char field[4] = {(unsigned char)rate, (unsigned char)(rate >> 8), (unsigned char)(rate >> 16),
                                      (unsigned char)(rate >> 24)};
            LARGE_INTEGER at;
            at.QuadPart = (LONGLONG)layout.byteRateAt;
            DWORD written = 0;
            if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) WriteFile(file, field, 4, &written, nullptr);
        }
    }
    CloseHandle(file);
}
