#pragma once
// WAV files for the tests and tools: a test tone in, the facts of what came out.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace test {

// seconds of stereo 16-bit PCM at 44.1 kHz: a tone on each channel.
std::string StereoWave(uint32_t seconds, double leftHz, double rightHz);
// A WAV with a LIST/INFO chunk of tags (a four-letter id such as ICMT, and its text) before its data.
std::string WithInfoTags(const std::string& wave,
                         const std::vector<std::pair<std::string, std::string>>& tags);

struct WaveFacts {
    bool riffWave = false;
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t bytesPerSecond = 0;
    uint32_t dataBytes = 0;
    double seconds() const { return bytesPerSecond ? (double)dataBytes / bytesPerSecond : 0.0; }
};
WaveFacts ReadWaveFacts(const std::string& bytes);

}  // namespace test
