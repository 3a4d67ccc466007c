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

// The fmt chunk of a WAV of any coding; extra is what follows its 16 bytes
// (its own size field included), such as ADPCM block facts or the extensible layout.
struct WaveFormat {
    uint16_t tag = 1;  // PCM
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint32_t bytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 16;
    std::string extra;
};
// A RIFF WAVE file of format holding data; a fact chunk when samples is given.
std::string MakeWave(const WaveFormat& format, const std::string& data, uint32_t samples = 0);
// seconds of a tone in every channel as interleaved little-endian samples of
// bits each: unsigned for 8, signed for 16 to 64, or IEEE floats of 32 or 64.
std::string ToneSamples(uint32_t rate, uint16_t channels, uint16_t bits, bool floating, double seconds);
// seconds of stereo 16-bit PCM at sampleRate that an encoder finds as hard as
// music: chords changing four times a second, struck and decaying, with noise.
std::string MusicLikeWave(uint32_t seconds, uint32_t sampleRate = 44100);
// A WAV with an "id3 " chunk holding tag after its data.
std::string WithId3Chunk(const std::string& wave, const std::string& tag);
// An ID3v2.3 tag of the frames given (a four-letter id such as TIT2 or APIC, and its body).
std::string Id3v2Tag(const std::vector<std::pair<std::string, std::string>>& frames);
// The body of the first frame id of the ID3v2 tag at the start of bytes; "" for none.
std::string Id3Frame(const std::string& bytes, const std::string& id);
// The text of the LIST/INFO entry id (INAM, IART...) of a WAV file, without its NULs; "" for none.
std::string InfoTag(const std::string& bytes, const std::string& id);

// What an MP3 stream's frames say: from its first byte (an ID3v2 tag, then
// the frames) or from a WAV file's data chunk.
struct Mp3Facts {
    bool id3AtStart = false, frameAtStart = false;  // "ID3", then a frame header
    int frames = 0;
    uint32_t constantKbps = 0;  // every frame's rate, 0 when they differ
    bool xingOrInfo = false;    // the first frame is a Xing or Info header
    double meanKbps = 0;        // the audio frames' bytes over their length
};
Mp3Facts ReadMp3Facts(const std::string& bytes);

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
