#include "convert/file_naming.h"

#include <algorithm>

constexpr size_t kLongestInputForProposal = 260;

// Characters of a UTF-8 text (the process code page): every byte that does not
// continue a character starts one.
static size_t CharacterCount(const std::string& text) {
    return (size_t)std::count_if(text.begin(), text.end(), [](char c) { return ((unsigned char)c & 0xC0) != 0x80; });
}

std::string ProposedOutputName(const std::string& inFile) {
    std::string name = CharacterCount(inFile) <= kLongestInputForProposal ? NameOf(inFile) : std::string();
    return "_mp3_c_" + name;
}

std::string FilterForPlatform(std::string filter) {
    std::replace(filter.begin(), filter.end(), '|', '\0');
    return filter;
}
