#include "convert/file_naming.h"

#include <algorithm>

constexpr size_t kLongestInputForProposal = 260;

// Characters of a UTF-8 text (the process code page): every byte that does not
// continue a character starts one.
static size_t CharacterCount(const std::string& text) {
    return (size_t)std::count_if(text.begin(), text.end(), [](char c) { return ((unsigned char)c & 0xC0) != 0x80; });
}

std::string ProposedOutputName(const std::string& inFile) {
    std::string name;
    if (CharacterCount(inFile) <= kLongestInputForProposal) {
        size_t cut = inFile.find_last_of("\\:");
        name = (cut == std::string::npos) ? inFile : inFile.substr(cut + 1);
    }
    return "_mp3_c_" + name;
}

std::string FilterForPlatform(std::string filter) {
    std::replace(filter.begin(), filter.end(), '|', '\0');
    return filter;
}

std::string TemporaryOutputPath(const std::string& outFile, int attempt) {
    size_t nameStart = outFile.find_last_of("\\:");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = outFile.rfind('.');
    if (dot == std::string::npos || dot < nameStart) dot = outFile.size();
    std::string mark = ".converting";
    if (attempt > 1) mark += std::to_string(attempt);
    return outFile.substr(0, dot) + mark + outFile.substr(dot);
}

std::string EncoderLogPath(const std::string& temporaryPath) { return temporaryPath + ".log"; }

std::string FolderOfFile(const std::string& path) {
    size_t cut = path.rfind('\\');
    if (cut == std::string::npos) return std::string();
    if (cut == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, cut);
}
