#include "convert/file_selection.h"

#include <commdlg.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "app/globals.h"
#include "app/main_window_ids.h"
#include "app/program_path.h"
#include "convert/batch_rules.h"
#include "convert/paths.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

namespace {

// Characters: enough for the folder and some hundreds of names chosen at once.
constexpr size_t kFileNameBufferSize = 0x10000;
constexpr size_t kTextBufferSize = 512;
constexpr size_t kExtensionBufferSize = 10;

// Each description and pattern ends with NUL; the string's own NUL ends the list.
const char kOpenFilterText[] = "All audio files\0*.wav;*.wave;\0"
                               "WAV  audio (*.WAV)\0*.wav\0"
                               "MP3  audio (*.MP3)\0*.mp3\0";
const char kSaveFilterText[] = " WAV audio files (*.WAV)\0*.wav\0";
const std::string kOpenFilter(kOpenFilterText, sizeof(kOpenFilterText) - 1);
const std::string kSaveFilter(kSaveFilterText, sizeof(kSaveFilterText) - 1);

// A zero-filled buffer of size characters holding text, cut to leave its NUL.
std::vector<wchar_t> BufferWith(const std::string& text, size_t size) {
    std::wstring wide = tk::Widen(text);
    std::vector<wchar_t> buffer(size, L'\0');
    std::copy_n(wide.begin(), std::min(wide.size(), size - 1), buffer.begin());
    return buffer;
}

// The strings a file dialog left in its buffer, up to the NUL that ends the list.
std::string AnswerIn(const std::vector<wchar_t>& buffer) {
    size_t end = 0;
    while (end + 1 < buffer.size() && !(buffer[end] == L'\0' && buffer[end + 1] == L'\0')) ++end;
    return tk::Narrow(std::wstring(buffer.data(), end + 1));
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
                   const std::string& filter, const std::string& defaultExtension, DWORD& flags, int mode,
                   std::string* answer) {
    std::wstring platformFilter = tk::Widen(FilterForPlatform(filter));
    std::vector<wchar_t> file = BufferWith(fileName, kFileNameBufferSize);
    // The folder whole, even where it passes the usual buffer.
    std::string shownFolder = DialogFolder(initialFolder);
    std::vector<wchar_t> folder = BufferWith(shownFolder, std::max(kTextBufferSize, shownFolder.size() + 1));
    std::vector<wchar_t> titleBuffer = BufferWith(title, kTextBufferSize);
    std::vector<wchar_t> extension = BufferWith(defaultExtension, kExtensionBufferSize);
    std::vector<wchar_t> fileTitle(kTextBufferSize, L'\0');

    OPENFILENAMEW record = {};
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

    BOOL result = (mode == 0) ? GetOpenFileNameW(&record) : GetSaveFileNameW(&record);
    fileName = tk::Narrow(file.data());
    if (answer) *answer = AnswerIn(file);
    flags = record.Flags;
    return result;
}

std::vector<std::string> LoadAudio(HWND owner, std::string& folder) {
    std::string first;
    std::string answer;
    DWORD flags = kFileDialogFlags;
    if (!FileDialog(owner, "Load Audio", first, folder, kOpenFilter, "", flags, 0, &answer)) {
        // More names than the buffer holds: say so rather than load part of them.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            tk::ShowMessage(L"More files were chosen than can be loaded at once.\r\n"
                            L"Choose fewer, or drop them or their folder onto the window.",
                            L"Attention", MB_OK | MB_ICONEXCLAMATION);
        ShowInputPath("");
        return {};
    }
    RepaintMainWindow();
    std::vector<std::string> files = ChosenFiles(answer);
    if (files.empty() || tk::IsBlank(files[0])) return {};
    // One file keeps the folder the dialog left current, as it always has.
    folder = files.size() == 1 ? CurrentFolder() : FolderOfFile(files[0]);
    ShowInputPath(LoadedFilesText(files));
    return files;
}

std::vector<std::string> DroppedAudio(const std::vector<std::string>& paths, std::vector<std::string>* missing) {
    std::vector<std::string> files;
    // Full and plain: a file found in a folder and named again is one.
    std::set<std::string, NameOrder> taken(NameBefore);
    auto take = [&](const std::string& file) {
        if (taken.insert(PlainPath(RunFilePath(file))).second) files.push_back(file);
    };
    for (const std::string& path : paths) {
        if (!PathExists(path)) {
            if (missing) missing->push_back(path);
        } else if (!InputFileExists(path)) {
            for (const std::string& file : FilesIn(path, IsWaveName)) take(file);
        } else {
            take(path);
        }
    }
    return files;
}

void ShowLoadedAudio(const std::vector<std::string>& files, std::string& folder) {
    if (files.empty()) return;
    folder = PlainPath(FolderOfFile(files[0]));
    ShowInputPath(LoadedFilesText(files));
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

std::string ChooseOutputFolder(HWND owner, std::string& folder) {
    IFileOpenDialog* dialog = nullptr;
    HRESULT made = CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                    (void**)&dialog);
    if (FAILED(made)) {
        tk::ShowMessage(tk::Widen("The folder picker could not be opened.\r\n\r\n" + tk::SystemErrorText(made)),
                        L"Attention", MB_OK | MB_ICONEXCLAMATION);
        return std::string();
    }
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(L"Convert Audio");
    IShellItem* start = nullptr;
    if (SUCCEEDED(SHCreateItemFromParsingName(tk::Widen(folder).c_str(), nullptr, IID_IShellItem, (void**)&start))) {
        dialog->SetFolder(start);
        start->Release();
    }
    std::string chosen;
    IShellItem* result = nullptr;
    if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&result))) {
        wchar_t* path = nullptr;
        if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            chosen = tk::Narrow(path);
            CoTaskMemFree(path);
        }
        result->Release();
    }
    dialog->Release();
    if (chosen.empty()) return chosen;
    RepaintMainWindow();
    folder = chosen;
    return chosen;
}

UINT_PTR CALLBACK FileDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_NOTIFY) {
        HWND view = FindWindowExA(GetParent(dialog), nullptr, "SHELLDLL_DefView", "");
        if (view) SendMessageA(view, WM_COMMAND, 0x702C, 0);  // the shell view's details command
    }
    return 0;
}
