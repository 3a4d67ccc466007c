#pragma once
// The texts the file dialogs are given: the proposed output name and the filters.
#include <string>

#include "convert/path_rules.h"

// "_mp3_c_" and the name part of inFile (after its last "\" or ":"); an input
// longer than 260 characters gives "_mp3_c_" alone.
std::string ProposedOutputName(const std::string& inFile);

// The filter text as the platform wants it: "|" turned into NUL; the text's own
// terminating NUL ends the list.
std::string FilterForPlatform(std::string filter);
