#pragma once
// The length of a WAV file, read from its header: what a batch weighs its
// files by.
#include <cstddef>
#include <cstdint>
#include <string>

// How much of a file's head WaveSeconds looks at.
constexpr size_t kWaveHeadBytes = 64 * 1024;

// Seconds of audio of a RIFF/WAVE (or RF64) file whose first bytes are head
// and whose whole size is fileSize: its data chunk's size over the byte rate
// of its format chunk. A data chunk that claims more than the file holds, or
// whose size is left open (0 or 0xFFFFFFFF, as recorders that are cut off
// leave it), runs to the end of the file. -1 when head is no such file or the
// chunks are not found in it.
double WaveSeconds(const std::string& head, uint64_t fileSize);
