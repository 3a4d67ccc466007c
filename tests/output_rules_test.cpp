// What the output choice makes of names, and what MP3 frame headers say of a
// WAV output's rate.
#include <doctest.h>

#include "convert/mpeg_frames.h"
#include "convert/output_choice.h"

namespace {

// Frames whose header is the four bytes given, their bodies zero.
std::string Frames(const char* header, int count) {
    MpegFrame frame;
    REQUIRE(ReadMpegFrame((const unsigned char*)header, 4, &frame));
    std::string one(frame.bytes, '\0');
    one.replace(0, 4, header, 4);
    std::string all;
    for (int i = 0; i < count; ++i) all += one;
    return all;
}

const char kMpeg1At128[] = "\xFF\xFB\x90\x00";   // 44.1 kHz, 417 bytes
const char kMpeg1At320[] = "\xFF\xFB\xE0\x00";   // 44.1 kHz, 1044 bytes
const char kMpeg25At64[] = "\xFF\xE3\x88\x00";   // 8 kHz, 576 samples, 576 bytes

MpegFrameTally Tally(const std::string& bytes, size_t* taken = nullptr) {
    MpegFrameTally tally;
    size_t used = CountMpegFrames((const unsigned char*)bytes.data(), bytes.size(), &tally);
    if (taken) *taken = used;
    return tally;
}

std::string Little32(uint32_t value) {
    return std::string{(char)value, (char)(value >> 8), (char)(value >> 16), (char)(value >> 24)};
}

}  // namespace

TEST_CASE("names and types: the typed extension decides, others get the listed one; a switch replaces it") {
    OutputType type = OutputType::Wav;
    CHECK((TypeOfName("C:\\a\\SONG.MP3", &type) && type == OutputType::Mp3));
    CHECK_FALSE(TypeOfName("C:\\a.mp3\\song", &type));
    CHECK_FALSE(TypeOfName(".wav", &type));
    CHECK(ChosenOutputName("C:\\a\\song.WAV", OutputType::Mp3) == "C:\\a\\song.WAV");
    CHECK(ChosenOutputName("C:\\a\\song.mp3", OutputType::Wav) == "C:\\a\\song.mp3");
    CHECK(ChosenOutputName("C:\\a\\song.ogg", OutputType::Mp3) == "C:\\a\\song.ogg.mp3");
    CHECK(ChosenOutputName("C:\\a.b\\song", OutputType::Wav) == "C:\\a.b\\song.wav");
    CHECK(NameWithExtension("_mp3_c_song.wav", OutputType::Mp3) == "_mp3_c_song.mp3");
    CHECK(NameWithExtension("_mp3_c_song.mp3", OutputType::Wav) == "_mp3_c_song.wav");
    CHECK(NameWithExtension("_mp3_c_song.wave", OutputType::Mp3) == "_mp3_c_song.mp3");
    CHECK(NameWithExtension("_mp3_c_", OutputType::Mp3) == "_mp3_c_.mp3");
    // What the Save dialog added to the typed name is taken off again.
    CHECK(DialogOutputName("C:\\o\\SONG.WAV.wav", "SONG.WAV", OutputType::Wav) == "C:\\o\\SONG.WAV");
    CHECK(DialogOutputName("C:\\o\\song.wav", "song", OutputType::Wav) == "C:\\o\\song.wav");
    CHECK(DialogOutputName("C:\\o\\song", "C:\\o\\song", OutputType::Mp3) == "C:\\o\\song.mp3");
    CHECK(DialogOutputName("C:\\o\\x.mp3", "", OutputType::Wav) == "C:\\o\\x.mp3");
}

TEST_CASE("the lists' entries map to choices; out of range is the default") {
    CHECK(QualityTexts().size() == 6);
    CHECK(QualityTexts()[0] == "128 kbit/s (standard)");
    CHECK(QualityTexts()[5] == "Variable, best (about 245 kbit/s)");
    CHECK(QualityAt(3) == Quality::Kbps320);
    CHECK(QualityAt(6) == Quality::Kbps128);
    CHECK(QualityAt(-1) == Quality::Kbps128);
    CHECK(TypeAt(1) == OutputType::Mp3);
    CHECK(TypeAt(7) == OutputType::Wav);
}

TEST_CASE("frame headers: rates, sample rates and lengths of MPEG 1 and 2.5; other layers are no frames") {
    MpegFrame frame;
    REQUIRE(ReadMpegFrame((const unsigned char*)kMpeg1At128, 4, &frame));
    CHECK((frame.kbps == 128 && frame.sampleRate == 44100 && frame.samples == 1152 && frame.bytes == 417));
    REQUIRE(ReadMpegFrame((const unsigned char*)"\xFF\xFB\x92\x00", 4, &frame));
    CHECK(frame.bytes == 418);  // padded
    REQUIRE(ReadMpegFrame((const unsigned char*)kMpeg25At64, 4, &frame));
    CHECK((frame.kbps == 64 && frame.sampleRate == 8000 && frame.samples == 576 && frame.bytes == 576));
    CHECK_FALSE(ReadMpegFrame((const unsigned char*)"\xFF\xFD\x90\x00", 4, &frame));  // layer II
    CHECK_FALSE(ReadMpegFrame((const unsigned char*)"\xFF\xFB\xF0\x00", 4, &frame));  // rate index 15
    CHECK_FALSE(ReadMpegFrame((const unsigned char*)"\xFF\xFB\x0C\x00", 4, &frame));  // free format
    CHECK_FALSE(ReadMpegFrame((const unsigned char*)"\xFF\xFB", 2, &frame));
}

TEST_CASE("the mean byte rate: a constant rate from the headers, a variable one as bytes over seconds") {
    std::string constant = Frames(kMpeg25At64, 50);
    MpegFrameTally tally = Tally(constant);
    CHECK(tally.frames == 50);
    CHECK(MeanByteRate(tally, constant.size()) == 8000);

    std::string variable = Frames(kMpeg1At128, 30) + Frames(kMpeg1At320, 10);
    tally = Tally(variable);
    CHECK_FALSE(tally.constant);
    double seconds = 40 * 1152 / 44100.0;
    CHECK(MeanByteRate(tally, variable.size()) == (uint32_t)(variable.size() / seconds + 0.5));
    CHECK(MeanByteRate(MpegFrameTally(), 1000) == 0);

    // Counted in pieces, a frame cut by a piece's end is counted with the next.
    size_t taken = 0;
    MpegFrameTally pieces = Tally(variable.substr(0, 1000), &taken);
    CHECK(taken == 834);
    std::string rest = variable.substr(taken);
    CountMpegFrames((const unsigned char*)rest.data(), rest.size(), &pieces);
    CHECK(pieces.frames == 40);
    // Bytes that start no frame are passed over.
    CHECK(Tally("junk" + Frames(kMpeg1At128, 3)).frames == 3);
}

TEST_CASE("a WAV holding MP3 audio: where its byte rate stands and its data lie; other WAV files are left") {
    std::string format = std::string("\x55\x00\x02\x00", 4) + Little32(8000) + Little32(16000) +
                         std::string("\x01\x00\x00\x00", 4);
    std::string head = "RIFF" + Little32(0) + "WAVE" + "LIST" + Little32(3) + "abc" + '\0' + "fmt " +
                       Little32((uint32_t)format.size()) + format + "data" + Little32(1000);
    Mp3WaveLayout layout;
    REQUIRE(FindMp3WaveLayout(head, head.size() + 600, &layout));
    CHECK(layout.byteRateAt == 40);
    CHECK(layout.byteRate == 16000);
    CHECK(layout.dataAt == head.size());
    CHECK(layout.dataBytes == 600);  // the chunk claims more than the file holds
    std::string pcm = head;
    pcm[32] = 1;  // PCM
    CHECK_FALSE(FindMp3WaveLayout(pcm, pcm.size() + 600, &layout));
    CHECK_FALSE(FindMp3WaveLayout(head.substr(0, head.size() - 4), head.size(), &layout));
    CHECK_FALSE(FindMp3WaveLayout("ID3\x04", 4, &layout));
}
