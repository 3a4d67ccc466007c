// What the output choice makes of names, and what MP3 frame headers say of a
// WAV output's rate.
#include <doctest.h>

#include "convert/mpeg_frames.h"
#include "convert/output_choice.h"

namespace {

// count frames of the four header bytes given, their bodies zero.
std::string Frames(const char* header, int count) {
    MpegFrame frame;
    REQUIRE(ReadMpegFrame((const unsigned char*)header, 4, &frame));
    std::string one = std::string(header, 4) + std::string(frame.bytes - 4, '\0'), all;
    for (int i = 0; i < count; ++i) all += one;
    return all;
}

MpegFrameTally Tally(const std::string& bytes, size_t* taken = nullptr) {
    MpegFrameTally tally;
    size_t used = CountMpegFrames((const unsigned char*)bytes.data(), bytes.size(), &tally);
    if (taken) *taken = used;
    return tally;
}

}  // namespace

TEST_CASE("names: the typed extension decides, others get the listed one; a switch or a batch replaces it") {
    CHECK(ChosenOutputName("C:\\a\\song.WAV", OutputType::Mp3) == "C:\\a\\song.WAV");
    CHECK(ChosenOutputName("C:\\a\\song.mp3", OutputType::Wav) == "C:\\a\\song.mp3");
    CHECK(ChosenOutputName("C:\\a.b\\song.ogg", OutputType::Mp3) == "C:\\a.b\\song.ogg.mp3");
    CHECK(NameWithExtension("_mp3_c_song.wave", OutputType::Mp3) == "_mp3_c_song.mp3");
    CHECK(NameWithExtension("_mp3_c_", OutputType::Wav) == "_mp3_c_.wav");
    // What Wine's Save dialog added to the typed name is taken off again.
    CHECK(DialogOutputName("C:\\o\\SONG.WAV.wav", "SONG.WAV", OutputType::Wav) == "C:\\o\\SONG.WAV");
    CHECK(DialogOutputName("C:\\o\\song", "C:\\o\\song", OutputType::Mp3) == "C:\\o\\song.mp3");
    CHECK(QualityAt(6) == Quality::Kbps128);
}

TEST_CASE("frames: MPEG 1 and 2.5 headers; a constant rate from the headers, a variable one as bytes over seconds") {
    MpegFrame frame;
    REQUIRE(ReadMpegFrame((const unsigned char*)"\xFF\xE3\x88\x00", 4, &frame));  // 8 kHz, 64 kbit/s
    CHECK((frame.kbps == 64 && frame.sampleRate == 8000 && frame.samples == 576 && frame.bytes == 576));
    CHECK_FALSE(ReadMpegFrame((const unsigned char*)"\xFF\xFD\x90\x00", 4, &frame));  // layer II
    CHECK_FALSE(ReadMpegFrame((const unsigned char*)"\xFF\xFB\xF0\x00", 4, &frame));  // rate index 15
    CHECK(MeanByteRate(Tally(Frames("\xFF\xE3\x88\x00", 50)), 50 * 576) == 8000);

    std::string variable = Frames("\xFF\xFB\x90\x00", 30) + Frames("\xFF\xFB\xE0\x00", 10);  // 417 and 1044 bytes
    CHECK(MeanByteRate(Tally(variable), variable.size()) == (uint32_t)(variable.size() / (40 * 1152 / 44100.0) + 0.5));
    // Counted in pieces, a frame cut by a piece's end is counted with the next; junk is passed over.
    size_t taken = 0;
    MpegFrameTally pieces = Tally(variable.substr(0, 1000), &taken);
    CHECK(taken == 834);
    std::string rest = "junk" + variable.substr(taken);
    CountMpegFrames((const unsigned char*)rest.data(), rest.size(), &pieces);
    CHECK(pieces.frames == 40);
}

TEST_CASE("a WAV holding MP3 audio: where its byte rate stands and its data lie; other WAV files are left") {
    auto le32 = [](uint32_t v) { return std::string{(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)}; };
    std::string head = "RIFF" + le32(0) + "WAVE" + "LIST" + le32(3) + "abc" + '\0' + "fmt " + le32(16) +
                       std::string("\x55\x00\x02\x00", 4) + le32(8000) + le32(16000) + le32(1) + "data" + le32(1000);
    Mp3WaveLayout layout;
    REQUIRE(FindMp3WaveLayout(head, head.size() + 600, &layout));
    CHECK((layout.byteRateAt == 40 && layout.byteRate == 16000 && layout.dataAt == head.size()));
    CHECK(layout.dataBytes == 600);  // the chunk claims more than the file holds
    head[32] = 1;                    // PCM
    CHECK_FALSE(FindMp3WaveLayout(head, head.size() + 600, &layout));
}
