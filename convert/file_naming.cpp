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
    return outFile.substr(0, nameStart) + "DU_ZID-" + std::to_string(attempt) + ".converting" + outFile.substr(dot);
}

// UTF-16 units of a UTF-8 text: one per character, two for those past U+FFFF
// (their sequences start with 0xF0 or above).
static size_t Utf16Length(const std::string& text) {
    size_t units = 0;
    for (char c : text) {
        unsigned char byte = (unsigned char)c;
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

std::string ExtendedLengthPath(const std::string& path) {
    constexpr size_t kMaxPath = 260;
    if (Utf16Length(path) < kMaxPath) return path;
    bool extendedOrDevice = path.rfind("\\\\?\\", 0) == 0 || path.rfind("\\\\.\\", 0) == 0;
    if (extendedOrDevice) return path;
    if (path.rfind("\\\\", 0) == 0) return "\\\\?\\UNC\\" + path.substr(2);
    bool drivePath = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    return drivePath ? "\\\\?\\" + path : path;
}

std::string EncoderLogPath(const std::string& temporaryPath) { return temporaryPath + ".log"; }

std::string FolderOfFile(const std::string& path) {
    size_t cut = path.rfind('\\');
    if (cut == std::string::npos) return std::string();
    if (cut == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, cut);
}
