#pragma once
// The rules of converting several files at once, as values: what the Open
// dialog answered, what the input field shows, the outputs' names, the whole
// batch's percentage and what its closing message says.
#include <string>
#include <vector>

#include "convert/output_choice.h"

// The files an Open dialog with multi-select answered, its buffer up to the
// list's closing NUL: one full path, or the folder followed by the names,
// each ended by NUL.
std::vector<std::string> ChosenFiles(const std::string& answer);

// What the input-path field shows for the loaded files: the one path; "N
// files in FOLDER" when they share a folder; "N files" otherwise.
std::string LoadedFilesText(const std::vector<std::string>& files);

// A name ending in ".wav" or ".wave", in any case: what a dropped folder gives.
bool IsWaveName(const std::string& name);

// The output names (without folder) for the inputs, in order: "_mp3_c_" and
// the input's own name, however long its path, with type's extension in place
// of the input's; a name given before taking " (2)", " (3)"... before its
// extension. Names are the same when neither comes before the other in
// nameBefore, the file system's order of names.
using NameOrder = bool (*)(const std::string&, const std::string&);
std::vector<std::string> BatchOutputNames(const std::vector<std::string>& inputs, NameOrder nameBefore,
                                          OutputType type = OutputType::Wav);

// How far a batch is: each file's percentage (-1 none yet, 100 ended, however)
// weighted by its length in seconds (below 0 when unknown: then the mean of
// the known lengths, or 1 each when none is known). At most 99 until every
// file has ended.
struct BatchPart {
    double seconds;
    int percent;
};
int BatchPercent(const std::vector<BatchPart>& parts);

// "K of N files done".
std::string FilesDoneText(int done, int files);

// The closing message of a batch of files (N in all) into folder.
struct FileFailure {
    std::string name;
    std::string reason;
};
struct BatchTally {
    int files;
    int converted;
    int skipped;  // there already, and the user chose not to replace them
    std::vector<FileFailure> failed;
    bool stopped;
};
struct SummaryText {
    std::string text;
    bool warning;  // some failed or were skipped
};
SummaryText BatchSummary(const BatchTally& tally, const std::string& folder);

// "These files were not found:" and each name on a line of its own, at most
// ten, then "and N more".
std::string NotFoundText(const std::vector<std::string>& names);
