// Fuzz target of the settings reader: any bytes as the content of DU_ZID.ini,
// read the way ReadSettings reads the file. It aborts when a read breaks what
// the rest of the program relies on:
//  - a folder holds no "/" and neither starts nor ends with a space;
//  - a folder whose tag is missing, or encloses nothing but spaces, is the
//    default folder; any other folder is exactly the text its tags enclose;
//  - nothing past the 64 KiB limit is looked at: those bytes are poisoned for
//    AddressSanitizer, and other bytes there give the same settings;
//  - a file without an OUTPUT_TYPE or QUALITY tag gives the default output;
//  - settings whose folders hold no tag are written and read back unchanged,
//    the output choice with them.
// The input is read twice: as a whole file, and placed so that the limit cuts
// it in the middle (behind spaces), so that short inputs reach the limit too.
#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "convert/settings_text.h"

namespace {

const std::string kDefaultFolder = "C:\\Program Files\\DU ZID";
const std::string kTags[] = {"<IN_DIR>", "<OUT_DIR>", "<MODE>", "<OUTPUT_TYPE>", "<QUALITY>"};
// What stands past the limit in the second reading of a straddling file.
const std::string kDecoy = "<IN_DIR>C:\\Decoy</IN_DIR><OUT_DIR>D:\\Decoy</OUT_DIR><MODE>77</MODE>\r\n";

void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "settings reader: %s\n", what);
    std::abort();
}

bool Same(const Settings& a, const Settings& b) {
    return a.inDir == b.inDir && a.outDir == b.outDir && a.mode == b.mode && a.output == b.output;
}

std::string WithoutSlashes(const char* bytes, size_t size) {
    std::string text;
    text.reserve(size);
    const char* end = bytes + size;
    while (bytes < end) {
        const char* slash = static_cast<const char*>(std::memchr(bytes, '/', (size_t)(end - bytes)));
        const char* stop = slash ? slash : end;
        text.append(bytes, stop);
        bytes = stop + (slash ? 1 : 0);
    }
    return text;
}

bool StartsAt(const std::string& text, size_t at, const std::string& part) {
    return at <= text.size() && text.size() - at >= part.size() && std::equal(part.begin(), part.end(), text.begin() + at);
}

// Checks one folder against the slash-free text the reader saw, worked out
// here without the reader's own code.
void CheckFolder(const std::string& folder, const std::string& seen, const std::string& tag) {
    Expect(folder.find('/') == std::string::npos, "a folder holds a slash");
    Expect(folder.empty() || (folder.front() != ' ' && folder.back() != ' '), "a folder starts or ends with a space");

    size_t open = seen.find(tag);
    if (open == std::string::npos) {
        Expect(folder == kDefaultFolder, "a folder without its tag is not the default folder");
        return;
    }
    size_t at = open + tag.size();
    while (at < seen.size() && seen[at] == ' ') ++at;
    // A tag begins with "<", so the next one cannot start among the spaces.
    if (at == seen.size() || StartsAt(seen, at, tag)) {
        Expect(folder == kDefaultFolder, "a folder with an empty value is not the default folder");
        return;
    }
    Expect(StartsAt(seen, at, folder), "a folder is not the text after its tag");
    size_t end = at + folder.size();
    Expect(folder.find(tag) == std::string::npos, "a folder runs past the next occurrence of its tag");
    while (end < seen.size() && seen[end] == ' ') ++end;
    Expect(end == seen.size() || StartsAt(seen, end, tag), "a folder stops before the next occurrence of its tag");
}

bool HoldsTag(const std::string& folder) {
    for (const std::string& tag : kTags)
        if (folder.find(tag) != std::string::npos) return true;
    return false;
}

// Reads bytes as a file of that content; the bytes past the limit are
// poisoned meanwhile, so that looking at them is an AddressSanitizer report.
Settings ReadPoisoned(std::vector<char>& file) {
    size_t limit = SettingsBytesToRead(file.size());
    ASAN_POISON_MEMORY_REGION(file.data() + limit, file.size() - limit);
    Settings settings = ReadSettingsBytes(file.data(), file.size(), kDefaultFolder);
    ASAN_UNPOISON_MEMORY_REGION(file.data() + limit, file.size() - limit);
    return settings;
}

void CheckRead(const Settings& settings, const std::vector<char>& file) {
    size_t limit = SettingsBytesToRead(file.size());
    Expect(limit == std::min(file.size(), kSettingsReadLimit), "the limit is not 64 KiB");
    std::string seen = WithoutSlashes(file.data(), limit);
    CheckFolder(settings.inDir, seen, "<IN_DIR>");
    CheckFolder(settings.outDir, seen, "<OUT_DIR>");
    if (seen.find("<MODE>") == std::string::npos) Expect(settings.mode == 0, "a file without a MODE tag gives a mode");
    if (seen.find("<OUTPUT_TYPE>") == std::string::npos)
        Expect(settings.output.type == OutputType::Wav, "a file without an OUTPUT_TYPE tag gives another type");
    if (seen.find("<QUALITY>") == std::string::npos)
        Expect(settings.output.quality == Quality::Kbps128, "a file without a QUALITY tag gives another quality");

    if (HoldsTag(settings.inDir) || HoldsTag(settings.outDir)) return;
    Settings reread = ParseSettingsText(FormatSettingsText(settings), "elsewhere");
    Expect(Same(reread, settings), "written settings do not read back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);

    std::vector<char> whole(bytes, bytes + size);
    CheckRead(ReadPoisoned(whole), whole);

    // The limit falls after the first half of the input.
    size_t inside = (size + 1) / 2;
    if (inside > kSettingsReadLimit) return 0;
    std::vector<char> straddling(kSettingsReadLimit - inside, ' ');
    straddling.insert(straddling.end(), bytes, bytes + size);
    Settings read = ReadPoisoned(straddling);
    CheckRead(read, straddling);

    std::vector<char> otherTail(straddling.begin(), straddling.begin() + kSettingsReadLimit);
    otherTail.insert(otherTail.end(), kDecoy.begin(), kDecoy.end());
    Expect(Same(read, ReadPoisoned(otherTail)), "the bytes past the limit change what is read");
    return 0;
}
