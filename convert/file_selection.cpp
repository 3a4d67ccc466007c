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
const std::string kOpenFilter(kOpenFilterText, sizeof(kOpenFilterText) - 1);

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

// The item dialogs are COM objects: the calling thread enters its apartment
// for the dialog's life. Where the process frame has entered it already, this
// only counts; where nothing has (a thread of a test), the dialog still comes.
struct ComApartment {
    HRESULT entered = CoInitialize(nullptr);  // single-threaded, as the dialogs want
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(entered)) CoUninitialize();
    }
};

// A dialog of the system's that cannot be made (COM or the shell missing) is
// told: Convert would otherwise do nothing without a word.
std::string TellNotOpened(const char* dialog, HRESULT made) {
    tk::ShowMessage(tk::Widen(std::string(dialog) + " could not be opened.\r\n\r\n" + tk::SystemErrorText(made)),
                    L"Attention", MB_OK | MB_ICONEXCLAMATION);
    return std::string();
}

// The controls the program adds to the system's item dialogs.
enum : DWORD { kTypeGroup = 1, kTypeList, kQualityGroup, kQualityList };

// The item dialogs' own file-type list is counted from 1.
constexpr UINT kFirstFileType = 1;

// A labelled list of texts with selected chosen; false when the dialog takes none.
bool AddList(IFileDialogCustomize* custom, DWORD group, const wchar_t* label, DWORD list,
             const std::vector<std::string>& texts, int selected) {
    bool ok = SUCCEEDED(custom->StartVisualGroup(group, label)) && SUCCEEDED(custom->AddComboBox(list));
    for (size_t i = 0; ok && i < texts.size(); ++i)
        ok = SUCCEEDED(custom->AddControlItem(list, (DWORD)i, tk::Widen(texts[i]).c_str()));
    custom->EndVisualGroup();
    return ok && SUCCEEDED(custom->SetSelectedControlItem(list, (DWORD)selected));
}

// The index of the entry a list shows; fallback when it tells none.
int ListSelection(IFileDialogCustomize* custom, DWORD list, int fallback) {
    DWORD selected = 0;
    return custom && SUCCEEDED(custom->GetSelectedControlItem(list, &selected)) ? (int)selected : fallback;
}

// The dialog's custom lists, or nullptr where the system offers none (the dialog then works without them).
IFileDialogCustomize* CustomizeOf(IFileDialog* dialog) {
    IFileDialogCustomize* custom = nullptr;
    if (FAILED(dialog->QueryInterface(IID_IFileDialogCustomize, (void**)&custom))) return nullptr;
    return custom;
}

std::string ItemPath(IShellItem* item) {
    std::string path;
    wchar_t* name = nullptr;
    if (item && SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &name))) {
        path = tk::Narrow(name);
        CoTaskMemFree(name);
    }
    return path;
}

// A remembered folder that has gone gives way to the current one, as the
// system's older dialogs did.
void StartIn(IFileDialog* dialog, const std::string& folder) {
    IShellItem* start = nullptr;
    for (const std::string& candidate : {folder, DialogFolder(std::string())}) {
        if (!candidate.empty() && SUCCEEDED(SHCreateItemFromParsingName(tk::Widen(candidate).c_str(), nullptr,
                                                                        IID_IShellItem, (void**)&start)))
            break;
    }
    if (!start) return;
    dialog->SetFolder(start);
    start->Release();
}

// The chosen item's path, or "" when the user cancelled.
std::string ShownResult(IFileDialog* dialog, HWND owner) {
    std::string chosen;
    IShellItem* result = nullptr;
    if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&result))) {
        chosen = ItemPath(result);
        result->Release();
    }
    return chosen;
}

// The Save dialog's answers to the user: a new type changes the name's
// extension, and a name whose extension the program adds is asked about as
// the dialog asks about the names it returns. The dialog is given no default
// extension: Wine's adds it to a name whose own differs only in case
// ("SONG.WAV.wav"). Lives on the stack for the dialog's Show.
class SaveDialogEvents : public IFileDialogEvents {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid != IID_IUnknown && iid != IID_IFileDialogEvents) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IFileDialogEvents*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    explicit SaveDialogEvents(OutputType shown) : shownType(shown) {}

    // Also called as the dialog opens, when the proposal must stay as it is.
    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog* dialog) override {
        OutputType type = ListedType(dialog);
        if (type == shownType) return S_OK;
        shownType = type;
        wchar_t* name = nullptr;
        if (FAILED(dialog->GetFileName(&name))) return S_OK;
        std::string typed = tk::Narrow(name);
        CoTaskMemFree(name);
        if (!tk::IsBlank(typed)) dialog->SetFileName(tk::Widen(NameWithExtension(typed, type)).c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog* dialog) override {
        IShellItem* result = nullptr;
        if (FAILED(dialog->GetResult(&result))) return S_OK;
        std::string returned = ItemPath(result);
        result->Release();
        wchar_t* name = nullptr;
        std::string typed;
        if (SUCCEEDED(dialog->GetFileName(&name))) {
            typed = tk::Narrow(name);
            CoTaskMemFree(name);
        }
        chosen = DialogOutputName(returned, typed, ListedType(dialog));
        if (chosen == returned || !PathIsThere(chosen) || AskToReplace(dialog, chosen)) return S_OK;
        chosen.clear();
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override {
        return E_NOTIMPL;
    }

    static OutputType ListedType(IFileDialog* dialog) {
        UINT index = kFirstFileType;
        dialog->GetFileTypeIndex(&index);
        return TypeAt((int)index - (int)kFirstFileType);
    }

    std::string chosen;  // the output, once the user has confirmed it
    OutputType shownType;  // the type the file name has been given

private:
    static bool PathIsThere(const std::string& path) {
        return GetFileAttributesW(tk::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The question the system asks before the dialog returns a name that exists.
    static bool AskToReplace(IFileDialog* dialog, const std::string& path) {
        HWND window = nullptr;
        IOleWindow* ole = nullptr;
        if (SUCCEEDED(dialog->QueryInterface(IID_IOleWindow, (void**)&ole))) {
            ole->GetWindow(&window);
            ole->Release();
        }
        size_t cut = path.find_last_of('\\');
        std::wstring text = tk::Widen(path.substr(cut + 1)) + L" already exists.\nDo you want to replace it?";
        return MessageBoxW(window, text.c_str(), L"Confirm Save As", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    }
};

// The Save dialog itself: the types, the proposal, the quality; "" on cancel.
std::string SaveOutputDialog(HWND owner, const std::string& proposal, const std::string& folder,
                             OutputChoice& output) {
    ComApartment apartment;
    IFileSaveDialog* dialog = nullptr;
    HRESULT made = CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileSaveDialog,
                                    (void**)&dialog);
    if (FAILED(made)) return TellNotOpened("The Save dialog", made);
    std::vector<std::wstring> names;
    for (const std::string& text : SaveTypeTexts()) names.push_back(tk::Widen(text));
    const COMDLG_FILTERSPEC types[] = {{names[0].c_str(), L"*.wav"}, {names[1].c_str(), L"*.mp3"}};
    dialog->SetFileTypes(2, types);
    dialog->SetFileTypeIndex(kFirstFileType + (UINT)output.type);
    DWORD options = 0;
    dialog->GetOptions(&options);
    // Replacing an existing file is confirmed by the user before the encoder's -y does it.
    dialog->SetOptions(options | FOS_OVERWRITEPROMPT | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST |
                       FOS_NODEREFERENCELINKS);
    dialog->SetTitle(L"Convert Audio");
    dialog->SetFileName(tk::Widen(proposal).c_str());
    StartIn(dialog, folder);
    IFileDialogCustomize* custom = CustomizeOf(dialog);
    if (custom && !AddList(custom, kQualityGroup, L"&Quality:", kQualityList, QualityTexts(), (int)output.quality)) {
        custom->Release();
        custom = nullptr;
    }
    SaveDialogEvents events(output.type);
    DWORD cookie = 0;
    bool advised = SUCCEEDED(dialog->Advise(&events, &cookie));
    std::string chosen = ShownResult(dialog, owner);
    if (!chosen.empty()) {
        OutputType listed = SaveDialogEvents::ListedType(dialog);
        chosen = events.chosen.empty() ? ChosenOutputName(chosen, listed) : events.chosen;
        TypeOfName(chosen, &output.type);
        output.quality = QualityAt(ListSelection(custom, kQualityList, (int)output.quality));
    }
    if (advised) dialog->Unadvise(cookie);
    if (custom) custom->Release();
    dialog->Release();
    return chosen;
}

// The folder picker with its two lists; "" on cancel.
std::string OutputFolderDialog(HWND owner, const std::string& folder, OutputChoice& output) {
    ComApartment apartment;
    IFileOpenDialog* dialog = nullptr;
    HRESULT made = CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                    (void**)&dialog);
    if (FAILED(made)) return TellNotOpened("The folder picker", made);
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(L"Convert Audio");
    StartIn(dialog, folder);
    IFileDialogCustomize* custom = CustomizeOf(dialog);
    if (custom && !(AddList(custom, kTypeGroup, L"Save &as:", kTypeList, FolderTypeTexts(), (int)output.type) &&
                    AddList(custom, kQualityGroup, L"&Quality:", kQualityList, QualityTexts(), (int)output.quality))) {
        custom->Release();
        custom = nullptr;
    }
    std::string chosen = ShownResult(dialog, owner);
    if (!chosen.empty()) {
        output.type = TypeAt(ListSelection(custom, kTypeList, (int)output.type));
        output.quality = QualityAt(ListSelection(custom, kQualityList, (int)output.quality));
    }
    if (custom) custom->Release();
    dialog->Release();
    return chosen;
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

std::string ConvertAudio(HWND owner, std::string& folder, OutputChoice& output) {
    // The Wav type proposes the name as it has always been; the MP3 type its own extension.
    std::string proposal = ProposedOutputName(IN_FILE);
    if (output.type == OutputType::Mp3) proposal = NameWithExtension(proposal, output.type);
    proposal = ProposalFitting(proposal, folder);
    std::string chosen = SaveOutputDialog(owner, proposal, DialogFolder(folder), output);
    if (chosen.empty()) return chosen;
    RepaintMainWindow();
    if (tk::IsBlank(chosen)) return std::string();
    folder = FolderOfFile(chosen);
    return chosen;
}

std::string ChooseOutputFolder(HWND owner, std::string& folder, OutputChoice& output) {
    std::string chosen = OutputFolderDialog(owner, folder, output);
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
