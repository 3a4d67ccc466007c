// Every kind of WAV a user may load, converted by the program with the encoder
// built from source in one batch: each becomes MP3-coded audio of its length.
#include <doctest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/installation.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/wave_file.h"

namespace {

struct Sample {
    std::wstring name;
    std::string bytes;
    double seconds;
};

std::string Le16(uint16_t v) { return std::string((const char*)&v, 2); }

Sample Pcm(const std::wstring& name, uint32_t rate, uint16_t channels, uint16_t bits, uint16_t tag = 1) {
    test::WaveFormat f{tag, channels, rate, rate * channels * bits / 8u, (uint16_t)(channels * bits / 8), bits, ""};
    return {name, test::MakeWave(f, test::ToneSamples(rate, channels, bits, tag == 3, 4), 0), 4};
}

// Blocks of a block coding at 8 kHz mono: a header made by header(), then noise.
Sample Blocks(const std::wstring& name, test::WaveFormat f, uint16_t perBlock, std::string (*header)(), int blocks) {
    std::string data;
    uint32_t noise = 12345;
    for (int b = 0; b < blocks; ++b) {
        std::string block = header();
        while (block.size() < f.blockAlign) block += (char)((noise = noise * 1103515245u + 12345u) >> 24);
        data += block;
    }
    f.bytesPerSecond = f.rate * f.blockAlign / perBlock;
    return {name, test::MakeWave(f, data, perBlock * blocks), (double)perBlock * blocks / f.rate};
}

std::string ImaHeader() { return std::string(4, '\0'); }  // first sample 0, step index 0
std::string MsHeader() { return std::string(1, '\0') + Le16(16) + Le16(0) + Le16(0); }  // predictor, delta, two samples
std::string NoHeader() { return ""; }

std::vector<Sample> EveryKind() {
    std::vector<Sample> kinds = {
        Pcm(L"u8 8k mono.wav", 8000, 1, 8), Pcm(L"s16 11k.wav", 11025, 2, 16), Pcm(L"s16 44k.wav", 44100, 2, 16),
        Pcm(L"s16 192k.wav", 192000, 2, 16), Pcm(L"s24 96k.wav", 96000, 2, 24), Pcm(L"s32.wav", 44100, 2, 32),
        Pcm(L"f32.wav", 44100, 2, 32, 3), Pcm(L"f64.wav", 44100, 2, 64, 3), Pcm(L"alaw.wav", 8000, 1, 8, 6),
        Pcm(L"mulaw.wav", 8000, 1, 8, 7)};
    // Six channels in the extensible layout (5.1, PCM sub-format): mixed down by the encoder.
    test::WaveFormat six{0xFFFE, 6, 48000, 48000 * 12, 12, 16,
                         Le16(22) + Le16(16) + std::string("\x3F\0\0\0", 4) +
                             std::string("\x01\0\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 16)};
    kinds.push_back({L"extensible 6ch.wav", test::MakeWave(six, test::ToneSamples(48000, 6, 16, false, 4)), 4});
    kinds.push_back(Blocks(L"ima adpcm.wav", {0x11, 1, 8000, 0, 256, 4, Le16(2) + Le16(505)}, 505, ImaHeader, 64));
    std::string coefficients;
    for (int c : {256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232}) coefficients += Le16((uint16_t)c);
    kinds.push_back(Blocks(L"ms adpcm.wav", {0x02, 1, 8000, 0, 256, 4, Le16(32) + Le16(500) + Le16(7) + coefficients},
                           500, MsHeader, 64));
    kinds.push_back(Blocks(L"gsm.wav", {0x31, 1, 8000, 0, 65, 0, Le16(2) + Le16(320)}, 320, NoHeader, 100));
    return kinds;
}

}  // namespace

TEST_CASE("every kind of WAV becomes MP3-coded audio of its length; a file that is no audio fails with the encoder's reason") {
    test::TempFolder program(L" program");
    test::TempFolder data(L" kinds");
    test::TempFolder out(L" converted");
    REQUIRE(test::InstallProgram(program.path()));
    REQUIRE(test::InstallRealEncoder(program.path()));
    std::vector<Sample> kinds = EveryKind();
    for (const Sample& kind : kinds) REQUIRE(test::WriteBytes(data / kind.name, kind.bytes));
    // MP3 in a WAV: what the encoder itself writes.
    test::ChildProcess mp3(L"\"" + program / L"PLUG-IN\\ffmpeg_III.exe" + L"\" -i \"" + data / L"s16 44k.wav" +
                           L"\" -acodec mp3 -ab 128k -y \"" + data / L"mp3.wav" + L"\"");
    REQUIRE(mp3.Wait(60000));
    kinds.push_back({L"mp3.wav", "", 4});
    std::vector<std::wstring> names;
    for (const Sample& kind : kinds) names.push_back(kind.name);
    REQUIRE(test::WriteBytes(data / L"notes.wav", "RIFF this is no recording at all, only words"));
    names.push_back(L"notes.wav");

    CHECK(test::Utf8(test::ConvertBatch(program.path(), data.path(), names, out.path(), L"Attention")) ==
          test::Utf8(std::to_wstring(kinds.size()) + L" of " + std::to_wstring(names.size()) +
                     L" files converted into:\r\n" + out.path() +
                     L"\r\n\r\nFailed:\r\nnotes.wav: Invalid data found when processing input"));
    for (const Sample& kind : kinds) {
        INFO(test::Utf8(kind.name));
        std::wstring converted = out / (L"_mp3_c_" + kind.name);
        CHECK(test::ReadWaveFacts(test::ReadBytes(converted)).formatTag == 0x0055);  // MPEG Layer 3
        CHECK(std::fabs(test::DecodedSeconds(program.path(), converted) - kind.seconds) <= 0.25);
    }
}
