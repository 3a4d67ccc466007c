#include "convert/output_choice.h"

#include <algorithm>


namespace {

const char* const kQualitySettings[] = {"128", "192", "256", "320", "VBR_HIGH", "VBR_BEST"};
constexpr int kQualityCount = 6;

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    return text;
}

}  // namespace

// Where a name's extension starts: its last "." after the last "\", "/" or
// ":", unless the dot starts the name; npos for none.
size_t ExtensionStart(const std::string& name) {
    size_t dot = name.rfind('.');
    size_t folder = name.find_last_of("\\/:");
    size_t nameStart = folder == std::string::npos ? 0 : folder + 1;
    if (dot == std::string::npos || dot <= nameStart) return std::string::npos;
    return dot;
}

const std::vector<std::string>& QualityTexts() {
    static const std::vector<std::string> texts = {"128 kbit/s (standard)", "192 kbit/s", "256 kbit/s",
                                                   "320 kbit/s (best)", "Variable, high (about 190 kbit/s)",
                                                   "Variable, best (about 245 kbit/s)"};
    return texts;
}

const std::vector<std::string>& SaveTypeTexts() {
    static const std::vector<std::string> texts = {"Wav Audio (*.wav)", "MP3 Audio (*.mp3)"};
    return texts;
}

const std::vector<std::string>& FolderTypeTexts() {
    static const std::vector<std::string> texts = {"WAV files holding MP3 audio (.wav)", "MP3 files (.mp3)"};
    return texts;
}

Quality QualityAt(int index) { return index > 0 && index < kQualityCount ? (Quality)index : Quality::Kbps128; }

OutputType TypeAt(int index) { return index == 1 ? OutputType::Mp3 : OutputType::Wav; }

std::string ExtensionOf(OutputType type) { return type == OutputType::Mp3 ? ".mp3" : ".wav"; }

bool TypeOfName(const std::string& name, OutputType* type) {
    size_t dot = ExtensionStart(name);
    if (dot == std::string::npos) return false;
    std::string extension = Upper(name.substr(dot));
    if (extension != ".WAV" && extension != ".MP3") return false;
    *type = extension == ".MP3" ? OutputType::Mp3 : OutputType::Wav;
    return true;
}

std::string NameWithExtension(const std::string& name, OutputType type) {
    return name.substr(0, std::min(name.size(), ExtensionStart(name))) + ExtensionOf(type);
}

std::string ChosenOutputName(const std::string& typed, OutputType listed) {
    OutputType own;
    return TypeOfName(typed, &own) ? typed : typed + ExtensionOf(listed);
}

std::string DialogOutputName(const std::string& returned, const std::string& typed, OutputType listed) {
    size_t typedCut = typed.find_last_of("\\/");
    std::string typedLeaf = typedCut == std::string::npos ? typed : typed.substr(typedCut + 1);
    size_t returnedCut = returned.find_last_of('\\');
    size_t leafStart = returnedCut == std::string::npos ? 0 : returnedCut + 1;
    std::string path = returned;
    // Only what was added after the typed name is taken off.
    if (!typedLeaf.empty() && returned.size() - leafStart > typedLeaf.size() &&
        returned.compare(leafStart, typedLeaf.size(), typedLeaf) == 0)
        path = returned.substr(0, leafStart + typedLeaf.size());
    return ChosenOutputName(path, listed);
}

std::string TypeSettingText(OutputType type) { return type == OutputType::Mp3 ? "MP3" : std::string(); }

std::string QualitySettingText(Quality quality) {
    return quality == Quality::Kbps128 ? std::string() : kQualitySettings[(int)quality];
}

OutputType TypeFromSetting(const std::string& text) {
    return Upper(text) == "MP3" ? OutputType::Mp3 : OutputType::Wav;
}

Quality QualityFromSetting(const std::string& text) {
    std::string upper = Upper(text);
    for (int i = 0; i < kQualityCount; ++i)
        if (upper == kQualitySettings[i]) return (Quality)i;
    return Quality::Kbps128;
}
