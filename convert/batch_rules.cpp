#include "convert/batch_rules.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "convert/path_rules.h"

namespace {

constexpr size_t kListedAtMost = 10;

// The names listed one a line, at most ten, then "and N more".
std::string ListedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size() && i < kListedAtMost; ++i) text += "\r\n" + lines[i];
    if (lines.size() > kListedAtMost) text += "\r\nand " + std::to_string(lines.size() - kListedAtMost) + " more";
    return text;
}

// name with " (n)" before its extension.
std::string Numbered(const std::string& name, int n) {
    size_t dot = std::min(name.size(), ExtensionStart(name));
    return name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
}

bool EndsWithNoCase(const std::string& text, const std::string& ending) {
    if (text.size() < ending.size()) return false;
    for (size_t i = 0; i < ending.size(); ++i) {
        char c = text[text.size() - ending.size() + i];
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        if (c != ending[i]) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> ChosenFiles(const std::string& answer) {
    std::vector<std::string> parts;
    for (size_t start = 0; start < answer.size();) {
        size_t end = answer.find('\0', start);
        if (end == std::string::npos) end = answer.size();
        if (end == start) break;  // the second NUL ends the list
        parts.push_back(answer.substr(start, end - start));
        start = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::string folder = parts[0];
    if (folder.back() != '\\') folder += '\\';
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
}

std::string LoadedFilesText(const std::vector<std::string>& files) {
    if (files.size() == 1) return PlainPath(files[0]);
    std::string count = std::to_string(files.size()) + " files";
    if (files.empty()) return std::string();
    std::string folder = PlainPath(FolderOfFile(files[0]));
    for (const std::string& file : files)
        if (PlainPath(FolderOfFile(file)) != folder) return count;
    return count + " in " + folder;
}

bool IsWaveName(const std::string& name) { return EndsWithNoCase(name, ".wav") || EndsWithNoCase(name, ".wave"); }

std::vector<std::string> BatchOutputNames(const std::vector<std::string>& inputs, NameOrder nameBefore,
                                          OutputType type) {
    std::vector<std::string> names;
    std::set<std::string, NameOrder> given(nameBefore);
    for (const std::string& input : inputs) {
        std::string proposal = NameWithExtension("_mp3_c_" + NameOf(input), type);
        std::string name = proposal;
        for (int n = 2; given.count(name) != 0; ++n) name = Numbered(proposal, n);
        given.insert(name);
        names.push_back(name);
    }
    return names;
}

static bool Known(double seconds) { return seconds >= 0 && std::isfinite(seconds); }

int BatchPercent(const std::vector<BatchPart>& parts) {
    if (parts.empty()) return -1;
    double known = 0;
    int knownCount = 0;
    bool allEnded = true;
    for (const BatchPart& part : parts) {
        if (Known(part.seconds)) known += part.seconds, ++knownCount;
        allEnded = allEnded && part.percent >= 100;
    }
    if (allEnded) return 100;
    double fallback = knownCount > 0 ? known / knownCount : 1.0;
    // Files of no length at all weigh alike.
    bool equal = known <= 0;
    double total = 0, done = 0;
    for (const BatchPart& part : parts) {
        double weight = equal ? 1.0 : (Known(part.seconds) ? part.seconds : fallback);
        int percent = part.percent < 0 ? 0 : (part.percent > 100 ? 100 : part.percent);
        total += weight;
        done += weight * percent;
    }
    int percent = total > 0 ? (int)(done / total) : 0;
    return percent > 99 ? 99 : percent;
}

std::string FilesDoneText(int done, int files) {
    return std::to_string(done) + " of " + std::to_string(files) + " files done";
}

// The "Failed:" lines and the skipped count, each when there are any.
static std::string FailedAndSkipped(const BatchTally& tally) {
    std::string text;
    if (!tally.failed.empty()) {
        std::vector<std::string> lines;
        for (const FileFailure& failure : tally.failed) lines.push_back(failure.name + ": " + failure.reason);
        text += "\r\nFailed:" + ListedLines(lines);
    }
    if (tally.skipped > 0) text += "\r\nSkipped, already there: " + std::to_string(tally.skipped);
    return text;
}

SummaryText BatchSummary(const BatchTally& tally, const std::string& folder) {
    std::string files = std::to_string(tally.files);
    std::string converted = std::to_string(tally.converted);
    if (tally.stopped) {
        std::string text = "The conversion was stopped.\r\n" + converted + " of " + files + " files were converted.";
        std::string more = FailedAndSkipped(tally);
        return {more.empty() ? text : text + "\r\n" + more, !tally.failed.empty()};
    }
    if (tally.failed.empty() && tally.skipped == 0) return {files + " files converted into:\r\n" + folder, false};
    return {converted + " of " + files + " files converted into:\r\n" + folder + "\r\n" + FailedAndSkipped(tally), true};
}

std::string NotFoundText(const std::vector<std::string>& names) {
    return "These files were not found:" + ListedLines(names);
}
