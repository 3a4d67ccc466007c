#include "convert/file_naming.h"

#include <algorithm>

constexpr size_t kLongestInputForProposal = 260;

std::string ProposedOutputName(const std::string& inFile) {
    std::string name;
    if (inFile.size() <= kLongestInputForProposal) {
        size_t cut = inFile.find_last_of("\\:");
        name = (cut == std::string::npos) ? inFile : inFile.substr(cut + 1);
    }
    return "_mp3_c_" + name;
}

std::string FilterForPlatform(std::string filter) {
    std::replace(filter.begin(), filter.end(), '|', '\0');
    return filter;
}
