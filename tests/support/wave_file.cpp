#include "tests/support/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace test {

static void Put32(std::string& out, uint32_t v) { out.append((const char*)&v, 4); }
static void Put16(std::string& out, uint16_t v) { out.append((const char*)&v, 2); }

std::string StereoWave(uint32_t seconds, double leftHz, double rightHz) {
    const uint32_t rate = 44100, frames = rate * seconds;
    const double kTwoPi = 6.283185307179586;
    std::string wav = "RIFF";
    Put32(wav, 36 + frames * 4);
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1);  // PCM
    Put16(wav, 2);
    Put32(wav, rate);
    Put32(wav, rate * 4);
    Put16(wav, 4);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, frames * 4);
    wav.reserve(wav.size() + frames * 4);
    for (uint32_t i = 0; i < frames; ++i) {
        double t = (double)i / rate;
        Put16(wav, (uint16_t)(int16_t)(8000 * std::sin(kTwoPi * leftHz * t)));
        Put16(wav, (uint16_t)(int16_t)(8000 * std::sin(kTwoPi * rightHz * t)));
    }
    return wav;
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
