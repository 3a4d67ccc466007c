#include "convert/encoder_command.h"

#include "app/path_text.h"
#include "toolkit/spaces.h"

std::string EncoderPath(const std::string& programFolder) {
    return PathBesideProgram(programFolder, "PLUG-IN\\ffmpeg_III.exe");
}

std::string RatePiece(Quality quality) {
    switch (quality) {
        case Quality::Kbps192: return "-ab 192k";
        case Quality::Kbps256: return "-ab 256k";
        case Quality::Kbps320: return "-ab 320k";
        case Quality::VariableHigh: return "-q:a 2";
        case Quality::VariableBest: return "-q:a 0";
        default: return "-ab 128k";
    }
}

std::string EncoderCommandLine(const std::string& programFolder, const std::string& inFile,
                               const std::string& outFile, Quality quality) {
    std::string output = tk::TrimSpaces(outFile);
    OutputType type = OutputType::Wav;
    // Copied, never encoded: an encoder built without image encoders has
    // nothing to make a picture again with.
    std::string picture = TypeOfName(output, &type) && type == OutputType::Mp3 ? " -c:v copy" : "";
    // The two spaces before "-y" are part of the line the encoder has always been given.
    return "\"" + EncoderPath(programFolder) + "\"" + " -i " + "\"" + tk::TrimSpaces(inFile) + "\"" +
           " -acodec mp3 " + RatePiece(quality) + picture + " " + " -y " + "\"" + output + "\"";
}
