// The encoder's command line and the paths beside the program, character for character.
#include <doctest.h>

#include "app/path_text.h"
#include "convert/encoder_command.h"

TEST_CASE("the command line, character for character") {
    CHECK(EncoderCommandLine("C:\\Tools\\", "C:\\Music\\a.wav", "C:\\Out\\b.wav") ==
          "\"C:\\Tools\\PLUG-IN\\ffmpeg_III.exe\" -i \"C:\\Music\\a.wav\" -acodec mp3 -ab 128k  -y \"C:\\Out\\b.wav\"");
    // Paths are trimmed of spaces only and quoted as they are.
    CHECK(EncoderCommandLine("C:\\My Tools\\", " C:\\Music\\a b.wav ", "  C:\\Out\\\tb.wav ") ==
          "\"C:\\My Tools\\PLUG-IN\\ffmpeg_III.exe\" -i \"C:\\Music\\a b.wav\" -acodec mp3 -ab 128k  -y \"C:\\Out\\\tb.wav\"");
}

TEST_CASE("each quality changes only the rate piece; a .mp3 output copies the cover picture") {
    const char* pieces[] = {"-ab 128k", "-ab 192k", "-ab 256k", "-ab 320k", "-q:a 2", "-q:a 0"};
    for (int i = 0; i < 6; ++i) {
        CHECK(EncoderCommandLine("C:\\T", "C:\\a.wav", "C:\\b.wav", QualityAt(i)) ==
              std::string("\"C:\\T\\PLUG-IN\\ffmpeg_III.exe\" -i \"C:\\a.wav\" -acodec mp3 ") + pieces[i] +
                  "  -y \"C:\\b.wav\"");
        CHECK(EncoderCommandLine("C:\\T", "C:\\a.wav", " C:\\b.MP3 ", QualityAt(i)) ==
              std::string("\"C:\\T\\PLUG-IN\\ffmpeg_III.exe\" -i \"C:\\a.wav\" -acodec mp3 ") + pieces[i] +
                  " -c:v copy  -y \"C:\\b.MP3\"");
    }
}

TEST_CASE("the encoder path has a single backslash before PLUG-IN, also at a drive root") {
    CHECK(EncoderPath("D:\\") == "D:\\PLUG-IN\\ffmpeg_III.exe");
    CHECK(EncoderPath("C:\\Tools\\\\") == "C:\\Tools\\PLUG-IN\\ffmpeg_III.exe");
    CHECK(EncoderPath("C:\\Tools") == "C:\\Tools\\PLUG-IN\\ffmpeg_III.exe");
}

TEST_CASE("files beside the program: one backslash after the folder, also at a drive root") {
    CHECK(PathBesideProgram("C:\\Tools\\", "DU_ZID.ini") == "C:\\Tools\\DU_ZID.ini");
    CHECK(PathBesideProgram("D:\\", "DU_ZID.ini") == "D:\\DU_ZID.ini");
    CHECK(FolderPart(L"C:\\Tools\\conv.exe") == L"C:\\Tools\\");
    CHECK(FolderPart(L"D:\\conv.exe") == L"D:\\");
    CHECK(FolderPart(L"conv.exe") == L"");
}
