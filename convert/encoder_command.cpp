#include "convert/encoder_command.h"

#include "app/path_text.h"
#include "toolkit/spaces.h"

std::string EncoderPath(const std::string& programFolder) {
    return PathBesideProgram(programFolder, "PLUG-IN\\ffmpeg_III.exe");
}

std::string EncoderCommandLine(const std::string& programFolder, const std::string& inFile,
                               const std::string& outFile) {
    // The two spaces between "128k" and "-y" are part of the line the encoder
    // has always been given.
    return "\"" + EncoderPath(programFolder) + "\"" + " -i " + "\"" + tk::TrimSpaces(inFile) + "\"" +
           " -acodec mp3 -ab 128k " + " -y " + "\"" + tk::TrimSpaces(outFile) + "\"";
}
