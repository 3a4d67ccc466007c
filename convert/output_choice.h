#pragma once
// What the user chooses of the output where it is asked for: the file type
// and the quality, their texts in the dialogs, the names they give and how
// DU_ZID.ini keeps them.
#include <string>
#include <vector>

// MP3 audio inside a WAV file, as the program has always written, or a plain MP3 stream.
enum class OutputType { Wav, Mp3 };

// The encoder's rate: constant, or variable at LAME's quality 2 and 0.
enum class Quality { Kbps128, Kbps192, Kbps256, Kbps320, VariableHigh, VariableBest };

struct OutputChoice {
    OutputType type = OutputType::Wav;
    Quality quality = Quality::Kbps128;
    bool operator==(const OutputChoice& other) const { return type == other.type && quality == other.quality; }
};

// The lists' entries, in the order shown; an entry's index is its enum value.
const std::vector<std::string>& QualityTexts();
const std::vector<std::string>& SaveTypeTexts();    // the Save dialog's file types
const std::vector<std::string>& FolderTypeTexts();  // the folder picker's "Save as:" list
Quality QualityAt(int index);                       // out of range: the default
OutputType TypeAt(int index);

// Where a name's extension starts: its last "." after the last "\", "/" or
// ":", unless the dot starts the name; npos for none.
size_t ExtensionStart(const std::string& name);

// ".wav" or ".mp3".
std::string ExtensionOf(OutputType type);

// The type a name's extension gives (".wav" or ".mp3" in any case); false for
// another extension or none.
bool TypeOfName(const std::string& name, OutputType* type);

// A name with type's extension in place of its own (the part from its last
// dot, unless that starts the name), or added when it has none: what
// switching the type does to a proposal, and the name of a batch's output.
std::string NameWithExtension(const std::string& name, OutputType type);

// The output a typed name gives: its own ".wav" or ".mp3" decides whatever the
// list shows; any other name takes the chosen type's extension.
std::string ChosenOutputName(const std::string& typed, OutputType listed);

// The output of a Save dialog that returned returned for the text typed in
// its name field: the name typed, whatever the dialog added to it (Wine's
// adds the list's extension even to "SONG.WAV"), through ChosenOutputName.
std::string DialogOutputName(const std::string& returned, const std::string& typed, OutputType listed);

// The settings file's values: "MP3"; "192", "256", "320", "VBR_HIGH", "VBR_BEST".
// The defaults are stored as nothing.
std::string TypeSettingText(OutputType type);
std::string QualitySettingText(Quality quality);
// Any other text (case aside) gives the default.
OutputType TypeFromSetting(const std::string& text);
Quality QualityFromSetting(const std::string& text);
