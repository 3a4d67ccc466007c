#include "convert/file_selection.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/globals.h"
#include "app/main_window_ids.h"
#include "app/program_path.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

namespace {

constexpr size_t kFileNameBufferSize = 0x7777;
constexpr size_t kTextBufferSize = 512;
constexpr size_t kExtensionBufferSize = 10;
constexpr size_t kLongestName = 255;  // characters in one name of a path

// Each description and pattern ends with NUL; the string's own NUL ends the list.
const char kOpenFilterText[] = "All audio files\0*.wav;*.wave;\0"
                               "WAV  audio (*.WAV)\0*.wav\0"
                               "MP3  audio (*.MP3)\0*.mp3\0";
const char kSaveFilterText[] = " WAV audio files (*.WAV)\0*.wav\0";
const std::string kOpenFilter(kOpenFilterText, sizeof(kOpenFilterText) - 1);
const std::string kSaveFilter(kSaveFilterText, sizeof(kSaveFilterText) - 1);

// A zero-filled buffer of size bytes holding text, cut to leave its NUL.
std::vector<char> BufferWith(const std::string& text, size_t size) {
    std::vector<char> buffer(size, '\0');
    std::memcpy(buffer.data(), text.data(), std::min(text.size(), size - 1));
    return buffer;
}

// After a confirmed dialog the main window repaints what the dialog covered.
void RepaintMainWindow() {
    UpdateWindow(MAIN_WINDOW);
    tk::PumpEvents(1);
}

void ShowInputPath(const std::string& text) {
    HWND field = GetDlgItem(MAIN_WINDOW, kInputPathField);
    tk::SetText(field, tk::Widen(text));
    tk::Redraw(field);
}

// Wine's dialogs copy the initial folder with "\*" added into MAX_PATH
// characters and end the process when it does not fit. A folder that long
// (which a settings file can name) is not handed over: the current folder,
// or failing that none, is.
bool DialogCanTake(const std::string& folder) { return tk::Widen(folder).size() + 3 <= MAX_PATH; }

std::string DialogFolder(const std::string& folder) {
    if (!folder.empty() && DialogCanTake(folder)) return folder;
    std::string current = CurrentFolder();
    return DialogCanTake(current) ? current : std::string();
}

// The dialogs also join the folder they show and the name in their file-name
// field in MAX_PATH characters, and no name may pass 255: a proposal that
// would not fit falls back to the prefix alone, as one for an over-long input does.
std::string ProposalFitting(const std::string& proposal, const std::string& folder) {
    std::wstring shown = tk::Widen(DialogFolder(folder));
    size_t separator = (!shown.empty() && shown.back() == L'\\') ? 0 : 1;
    size_t name = tk::Widen(proposal).size();
    if (name <= kLongestName && shown.size() + separator + name < MAX_PATH) return proposal;
    return ProposedOutputName(std::string());
}

}  // namespace

int32_t FileDialog(HWND owner, const std::string& title, std::string& fileName, const std::string& initialFolder,
                   const std::string& filter, const std::string& defaultExtension, DWORD& flags, int mode) {
    std::string platformFilter = FilterForPlatform(filter);
    std::vector<char> file = BufferWith(fileName, kFileNameBufferSize);
    // The folder whole, even where its UTF-8 bytes pass the usual buffer: a
    // folder cut inside a character names no folder at all.
    std::string shownFolder = DialogFolder(initialFolder);
    std::vector<char> folder = BufferWith(shownFolder, std::max(kTextBufferSize, shownFolder.size() + 1));
    std::vector<char> titleBuffer = BufferWith(title, kTextBufferSize);
    std::vector<char> extension = BufferWith(defaultExtension, kExtensionBufferSize);
    std::vector<char> fileTitle(kTextBufferSize, '\0');

    OPENFILENAMEA record = {};
    record.lStructSize = sizeof(record);
    record.hwndOwner = owner;
    record.lpstrFilter = platformFilter.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = file.data();
    record.nMaxFile = (DWORD)file.size();
    record.lpstrFileTitle = fileTitle.data();
    record.nMaxFileTitle = (DWORD)fileTitle.size();
    record.lpstrInitialDir = folder.data();
    record.lpstrTitle = title.empty() ? nullptr : titleBuffer.data();
    record.Flags = flags;
    record.lpstrDefExt = extension.data();
    record.lpfnHook = FileDialogHook;

    BOOL result = (mode == 0) ? GetOpenFileNameA(&record) : GetSaveFileNameA(&record);
    // With several files chosen the buffer holds the folder first: that is what is kept.
    fileName = std::string(file.data());
    flags = record.Flags;
    return result;
}

std::string LoadAudio(HWND owner, std::string& folder) {
    std::string chosen;
    DWORD flags = kFileDialogFlags;
    if (!FileDialog(owner, "Load Audio", chosen, folder, kOpenFilter, "", flags, 0)) {
        ShowInputPath("");
        return std::string();
    }
    RepaintMainWindow();
    if (tk::IsBlank(chosen)) return std::string();
    folder = CurrentFolder();
    ShowInputPath(chosen);
    return chosen;
}

std::string LoadDroppedAudio(const std::string& path, std::string& folder) {
    folder = FolderOfFile(path);
    ShowInputPath(path);
    return path;
}

std::string ConvertAudio(HWND owner, std::string& folder) {
    std::string chosen = ProposalFitting(ProposedOutputName(IN_FILE), folder);
    // Replacing an existing file is confirmed by the user before the encoder's -y does it.
    DWORD flags = kFileDialogFlags | OFN_OVERWRITEPROMPT;
    if (!FileDialog(owner, "Convert Audio", chosen, folder, kSaveFilter, "", flags, 1)) return std::string();
    RepaintMainWindow();
    if (tk::IsBlank(chosen)) return std::string();
    folder = CurrentFolder();
    return chosen;
}

UINT_PTR CALLBACK FileDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_NOTIFY) {
        HWND view = FindWindowExA(GetParent(dialog), nullptr, "SHELLDLL_DefView", "");
        if (view) SendMessageA(view, WM_COMMAND, 0x702C, 0);  // the shell view's details command
    }
    return 0;
}
