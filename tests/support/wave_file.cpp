#include "tests/support/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "convert/mpeg_frames.h"

namespace test {

static void Put32(std::string& out, uint32_t v) { out.append((const char*)&v, 4); }
static void Put16(std::string& out, uint16_t v) { out.append((const char*)&v, 2); }

static std::string PcmWave(uint32_t rate, const std::string& samples) {
    std::string wav = "RIFF";
    Put32(wav, 36 + (uint32_t)samples.size());
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1);  // PCM
    Put16(wav, 2);
    Put32(wav, rate);
    Put32(wav, rate * 4);
    Put16(wav, 4);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, (uint32_t)samples.size());
    return wav + samples;
}

std::string StereoWave(uint32_t seconds, double leftHz, double rightHz) {
    const uint32_t rate = 44100, frames = rate * seconds;
    const double kTwoPi = 6.283185307179586;
    std::string samples;
    samples.reserve((size_t)frames * 4);
    for (uint32_t i = 0; i < frames; ++i) {
        double t = (double)i / rate;
        Put16(samples, (uint16_t)(int16_t)(8000 * std::sin(kTwoPi * leftHz * t)));
        Put16(samples, (uint16_t)(int16_t)(8000 * std::sin(kTwoPi * rightHz * t)));
    }
    return PcmWave(rate, samples);
}

std::string WithInfoTags(const std::string& wave,
                         const std::vector<std::pair<std::string, std::string>>& tags) {
    std::string list = "INFO";
    for (const auto& tag : tags) {
        std::string text = tag.second + std::string(2 - tag.second.size() % 2, '\0');  // ended, of even length
        list += tag.first;
        Put32(list, (uint32_t)text.size());
        list += text;
    }
    std::string tagged = wave.substr(0, 36) + "LIST";  // after the RIFF header and the 16-byte fmt chunk
    Put32(tagged, (uint32_t)list.size());
    tagged += list + wave.substr(36);
    uint32_t riffSize = (uint32_t)tagged.size() - 8;
    return tagged.replace(4, 4, (const char*)&riffSize, 4);
}

std::string MakeWave(const WaveFormat& format, const std::string& data, uint32_t samples) {
    std::string fmt;
    Put16(fmt, format.tag);
    Put16(fmt, format.channels);
    Put32(fmt, format.rate);
    Put32(fmt, format.bytesPerSecond);
    Put16(fmt, format.blockAlign);
    Put16(fmt, format.bits);
    fmt += format.extra;
    std::string wav = "RIFF----WAVEfmt ";
    Put32(wav, (uint32_t)fmt.size());
    wav += fmt;
    if (samples) {
        wav += "fact";
        Put32(wav, 4);
        Put32(wav, samples);
    }
    wav += "data";
    Put32(wav, (uint32_t)data.size());
    wav += data;
    if (data.size() & 1) wav += '\0';
    uint32_t riffSize = (uint32_t)wav.size() - 8;
    return wav.replace(4, 4, (const char*)&riffSize, 4);
}

std::string ToneSamples(uint32_t rate, uint16_t channels, uint16_t bits, bool floating, double seconds) {
    const uint32_t frames = (uint32_t)(rate * seconds);
    std::string out;
    out.reserve((size_t)frames * channels * bits / 8);
    for (uint32_t i = 0; i < frames; ++i) {
        for (uint16_t c = 0; c < channels; ++c) {
            double v = 0.25 * std::sin(6.283185307179586 * (330.0 + 110.0 * c) * i / rate);
            if (floating && bits == 32) {
                float f = (float)v;
                out.append((const char*)&f, 4);
            } else if (floating) {
                out.append((const char*)&v, 8);
            } else if (bits == 8) {
                out += (char)(uint8_t)(128 + v * 127);
            } else {
                int64_t s = (int64_t)(v * (double)((uint64_t)1 << (bits - 1)));
                out.append((const char*)&s, bits / 8);  // little-endian: the low bytes first
            }
        }
    }
    return out;
}

std::string MusicLikeWave(uint32_t seconds, uint32_t sampleRate) {
    const double kTwoPi = 6.283185307179586;
    const double notes[] = {220, 247, 262, 294, 330, 349, 392, 440, 494, 523};
    uint32_t random = 12345;
    auto next = [&random] { return (random = random * 1103515245u + 12345u) >> 8; };
    std::string samples;
    samples.reserve((size_t)sampleRate * seconds * 4);
    double chord[3] = {};
    for (uint32_t i = 0; i < sampleRate * seconds; ++i) {
        double t = (double)i / sampleRate, beat = t * 4 - std::floor(t * 4);
        if (i % (sampleRate / 4) == 0)
            for (double& note : chord) note = notes[next() % 10] * (1 << (next() % 3));
        double value = 0;
        for (double note : chord)
            for (int harmonic = 1; harmonic <= 3; ++harmonic) value += std::sin(kTwoPi * note * harmonic * t) / (harmonic * 2.5);
        double envelope = std::exp(-beat * 3);
        double noise = ((next() % 1000) / 1000.0 - 0.5) * 0.3;
        double level = std::max(-1.0, std::min(1.0, (value * 0.18 + noise) * envelope));
        Put16(samples, (uint16_t)(int16_t)(level * 30000));
        Put16(samples, (uint16_t)(int16_t)(level * 24000));
    }
    return PcmWave(sampleRate, samples);
}

std::string WithId3Chunk(const std::string& wave, const std::string& tag) {
    std::string tagged = wave + "id3 ";
    Put32(tagged, (uint32_t)tag.size());
    tagged += tag + std::string(tag.size() % 2, '\0');
    uint32_t riffSize = (uint32_t)tagged.size() - 8;
    return tagged.replace(4, 4, (const char*)&riffSize, 4);
}

std::string Id3v2Tag(const std::vector<std::pair<std::string, std::string>>& frames) {
    std::string body;
    for (const auto& frame : frames) {
        uint32_t size = (uint32_t)frame.second.size();
        body += frame.first + std::string{(char)(size >> 24), (char)(size >> 16), (char)(size >> 8), (char)size} +
                std::string(2, '\0') + frame.second;
    }
    uint32_t size = (uint32_t)body.size();  // synchsafe: seven bits a byte
    return std::string("ID3\x03\0\0", 6) +
           std::string{(char)((size >> 21) & 127), (char)((size >> 14) & 127), (char)((size >> 7) & 127), (char)(size & 127)} +
           body;
}

static uint32_t Big32(const std::string& bytes, size_t at, int bitsPerByte) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << bitsPerByte) | (unsigned char)bytes[at + i];
    return value;
}

// Where the audio starts: after the ID3v2 tag at byte 0, if any.
static size_t AfterId3(const std::string& bytes) {
    if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0) return 0;
    return 10 + Big32(bytes, 6, 7);
}

std::string Id3Frame(const std::string& bytes, const std::string& id) {
    size_t end = std::min(bytes.size(), AfterId3(bytes));
    int bitsPerByte = bytes.size() > 3 && bytes[3] == 4 ? 7 : 8;  // version 2.4 sizes frames synchsafe
    for (size_t at = 10; at + 10 <= end;) {
        uint32_t size = Big32(bytes, at + 4, bitsPerByte);
        if (bytes[at] == '\0' || size > end - at - 10) break;
        if (bytes.compare(at, 4, id) == 0) return bytes.substr(at + 10, size);
        at += 10 + size;
    }
    return std::string();
}

std::string InfoTag(const std::string& bytes, const std::string& id) {
    size_t list = bytes.find("INFO");
    for (size_t at = list == std::string::npos ? bytes.size() : list + 4; at + 8 <= bytes.size();) {
        uint32_t size;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        if (bytes.compare(at, 4, "data") == 0 || size > bytes.size() - at - 8) break;
        if (bytes.compare(at, 4, id) == 0) {
            std::string text = bytes.substr(at + 8, size);
            return text.substr(0, text.find('\0'));
        }
        at += 8 + size + (size & 1);
    }
    return std::string();
}

Mp3Facts ReadMp3Facts(const std::string& bytes) {
    Mp3Facts facts;
    size_t at = AfterId3(bytes), data = bytes.find("data");
    facts.id3AtStart = at > 0;
    if (bytes.compare(0, 4, "RIFF") == 0) at = data == std::string::npos ? bytes.size() : data + 8;
    const auto* start = (const unsigned char*)bytes.data() + std::min(at, bytes.size());
    size_t size = bytes.size() - std::min(at, bytes.size());
    MpegFrame first;
    facts.frameAtStart = ReadMpegFrame(start, size, &first);
    std::string head = bytes.substr(std::min(at, bytes.size()), 64);
    facts.xingOrInfo = facts.frameAtStart && (head.find("Xing") != std::string::npos || head.find("Info") != std::string::npos);
    MpegFrameTally tally;
    CountMpegFrames(start, size, &tally);
    facts.frames = (int)tally.frames;
    facts.constantKbps = tally.constant ? tally.kbps : 0;
    // The Xing or Info frame holds no audio.
    double seconds = (double)(tally.samples - (facts.xingOrInfo ? first.samples : 0)) / std::max(1u, tally.sampleRate);
    facts.meanKbps = seconds > 0 ? (size - (facts.xingOrInfo ? first.bytes : 0)) * 8 / seconds / 1000 : 0;
    return facts;
}

WaveFacts ReadWaveFacts(const std::string& bytes) {
    WaveFacts facts;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return facts;
    facts.riffWave = true;
    size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        uint32_t size;
        std::memcpy(&size, bytes.data() + pos + 4, 4);
        if (bytes.compare(pos, 4, "fmt ") == 0 && pos + 24 <= bytes.size()) {
            std::memcpy(&facts.formatTag, bytes.data() + pos + 8, 2);
            std::memcpy(&facts.channels, bytes.data() + pos + 10, 2);
            std::memcpy(&facts.sampleRate, bytes.data() + pos + 12, 4);
            std::memcpy(&facts.bytesPerSecond, bytes.data() + pos + 16, 4);
        }
        if (bytes.compare(pos, 4, "data") == 0) facts.dataBytes = (uint32_t)std::min<size_t>(size, bytes.size() - pos - 8);
        pos += 8 + (size_t)size + (size & 1);
    }
    return facts;
}

}  // namespace test
