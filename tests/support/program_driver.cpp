#include "tests/support/program_driver.h"

#include <cwchar>
#include <cwctype>

#include <algorithm>

namespace test {

const wchar_t* const kStartCaption = L"Veltrane Audio Converter for Adobe Flash. ";
const wchar_t* const kMainCaption = L"Veltrane Audio Converter for Adobe Flash.   https://www.veltrane.example/";
const wchar_t* const kBusyCaption = L"Converting the Audio";

// The file-name field of the common Open dialog (cmb13, a ComboBoxEx32) and
// of the item dialogs, the Save dialog and the folder picker (edt1, an Edit).
constexpr int kFileNameField = 0x47C;
constexpr int kItemFileNameField = 0x480;
// The static that holds a message box's text.
constexpr int kMessageBoxText = 0xFFFF;

static std::wstring InFolder(const std::wstring& folder, const std::wstring& leaf) {
    return (!folder.empty() && folder.back() == L'\\') ? folder + leaf : folder + L"\\" + leaf;
}

bool InstallProgram(const std::wstring& folder) {
    std::wstring built = EnvPath(L"DUZID_PROGRAM_DIR") + L"\\DU_ZID.exe";
    return CopyFileW(built.c_str(), InFolder(folder, L"DU_ZID.exe").c_str(), FALSE) != 0;
}

static bool InstallEncoder(const std::wstring& folder, const std::wstring& encoder) {
    std::wstring plugIn = InFolder(folder, L"PLUG-IN");
    CreateDirectoryW(plugIn.c_str(), nullptr);
    return FileExists(encoder) && CopyFileW(encoder.c_str(), (plugIn + L"\\ffmpeg_III.exe").c_str(), FALSE) != 0;
}

bool InstallEncoderDouble(const std::wstring& folder) { return InstallEncoder(folder, EnvPath(L"DUZID_ENCODER_DOUBLE")); }

bool InstallRealEncoder(const std::wstring& folder) { return InstallEncoder(folder, EnvPath(L"DUZID_REAL_ENCODER")); }

bool InstallUserEncoder(const std::wstring& folder) { return InstallEncoder(folder, EnvPath(L"DUZID_USER_ENCODER")); }

static std::wstring CommandLineFor(const std::wstring& folder, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + InFolder(folder, L"DU_ZID.exe") + L"\"";
    return arguments.empty() ? commandLine : commandLine + L" " + arguments;
}

ProgramRun::ProgramRun(const std::wstring& folder, const std::wstring& arguments, const std::wstring& currentFolder)
    : process_(CommandLineFor(folder, arguments), currentFolder) {
    processId_ = process_.id();
}

struct Search {
    DWORD process;
    const std::wstring* caption;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = (Search*)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) return TRUE;
    if (WindowText(window) != *search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

HWND ProgramUser::FindWindowByCaption(const std::wstring& caption) const {
    Search search{processId_, &caption, nullptr};
    EnumWindows(MatchWindow, (LPARAM)&search);
    return search.found;
}

HWND ProgramUser::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowByCaption(caption)) != nullptr; }, timeoutMs);
    return found;
}

bool ProgramUser::WaitUntilGone(HWND window, DWORD timeoutMs) const {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

void ProgramUser::Click(HWND dialog, int id) {
    // Posted: a sent click would block while what it opens stays open.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

std::wstring ProgramUser::ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void ProgramUser::PressKeys(HWND window, std::initializer_list<WORD> virtualKeys) {
    SetForegroundWindow(window);
    std::vector<INPUT> strokes;
    auto stroke = [&](WORD key, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        strokes.push_back(input);
    };
    for (WORD key : virtualKeys) stroke(key, 0);
    for (auto key = virtualKeys.end(); key != virtualKeys.begin();) stroke(*--key, KEYEVENTF_KEYUP);
    SendInput((UINT)strokes.size(), strokes.data(), sizeof(INPUT));
}

HWND ProgramUser::FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

static HWND FileNameField(HWND dialog) {
    HWND field = GetDlgItem(dialog, kFileNameField);
    return field ? field : GetDlgItem(dialog, kItemFileNameField);
}

static bool Confirm(HWND dialog, const std::wstring& text) {
    HWND field = FileNameField(dialog);
    if (!field) return false;
    SendMessageW(field, WM_SETTEXT, 0, (LPARAM)text.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    return true;
}

bool ProgramUser::ChooseFile(const std::wstring& caption, const std::wstring& folder, const std::wstring& name,
                             int clickAtOnce) {
    HWND dialog = WaitForWindow(caption);
    if (!dialog) return false;
    // Typing a whole path does not move Wine's current folder with it: go into
    // the folder first, as a user would, then pick the name. Going into a
    // folder opens nothing, so that confirmation is sent and waited for: a
    // name typed while the dialog is still on its way would land elsewhere.
    HWND field = FileNameField(dialog);
    if (!field) return false;
    SendMessageW(field, WM_SETTEXT, 0, (LPARAM)folder.c_str());
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK),
                        SMTO_NORMAL, 10000, &ignored);
    Sleep(100);
    if (!IsWindow(dialog) || !Confirm(dialog, name)) return false;
    if (clickAtOnce != 0) Click(GetWindow(dialog, GW_OWNER), clickAtOnce);
    // A question from the dialog itself (replace an existing file?) is answered Yes.
    return WaitFor(
        [&] {
            if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return true;
            HWND question = VisibleOwnedWindow(dialog);
            if (question && question != dialog && GetDlgItem(question, kMessageBoxText)) {
                lastQuestion_ = ControlText(question, kMessageBoxText);
                PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            }
            return false;
        },
        20000);
}

bool ProgramUser::CancelFileDialog(const std::wstring& caption) {
    HWND dialog = WaitForWindow(caption);
    if (!dialog) return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDCANCEL));
    return WaitUntilGone(dialog);
}

bool ProgramUser::ChooseFolder(const std::wstring& folder) {
    // The folder picker's name field is edt1; a folder typed there and confirmed is the choice.
    HWND dialog = WaitForWindow(L"Convert Audio");
    HWND field = dialog ? GetDlgItem(dialog, kItemFileNameField) : nullptr;
    if (!field) return false;
    SendMessageW(field, WM_SETTEXT, 0, (LPARAM)folder.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    return WaitUntilGone(dialog, 20000);
}

std::wstring ProgramUser::ProposedName(const std::wstring& caption, DWORD timeoutMs) {
    HWND dialog = WaitForWindow(caption, timeoutMs);
    return dialog ? WindowText(FileNameField(dialog)) : std::wstring();
}

static std::wstring ListEntry(HWND list, int index) {
    LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, (WPARAM)index, 0);
    if (length == CB_ERR) return std::wstring();
    std::wstring text((size_t)length + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, (WPARAM)index, (LPARAM)&text[0]);
    text.resize((size_t)length);
    return text;
}

static std::vector<std::wstring> ListEntries(HWND list) {
    std::vector<std::wstring> entries;
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < (int)count; ++i) entries.push_back(ListEntry(list, i));
    return entries;
}

struct ListSearch {
    const std::wstring* entry;
    HWND found;
};

static BOOL CALLBACK MatchList(HWND window, LPARAM param) {
    auto* search = (ListSearch*)param;
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (_wcsicmp(className, L"ComboBox") != 0) return TRUE;
    std::vector<std::wstring> entries = ListEntries(window);
    if (std::find(entries.begin(), entries.end(), *search->entry) == entries.end()) return TRUE;
    search->found = window;
    return FALSE;
}

HWND ProgramUser::DialogList(const std::wstring& caption, const std::wstring& entry) {
    HWND dialog = WaitForWindow(caption);
    ListSearch search{&entry, nullptr};
    if (dialog) WaitFor([&] { return EnumChildWindows(dialog, MatchList, (LPARAM)&search), search.found != nullptr; }, 10000);
    return search.found;
}

std::vector<std::wstring> ProgramUser::ListTexts(const std::wstring& caption, const std::wstring& entry) {
    HWND list = DialogList(caption, entry);
    return list ? ListEntries(list) : std::vector<std::wstring>();
}

std::wstring ProgramUser::ListShows(const std::wstring& caption, const std::wstring& entry) {
    HWND list = DialogList(caption, entry);
    return list ? ListEntry(list, (int)SendMessageW(list, CB_GETCURSEL, 0, 0)) : std::wstring();
}

bool ProgramUser::ChooseInList(const std::wstring& caption, const std::wstring& entry) {
    HWND list = DialogList(caption, entry);
    if (!list) return false;
    LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)entry.c_str());
    if (index == CB_ERR || SendMessageW(list, CB_SETCURSEL, (WPARAM)index, 0) == CB_ERR) return false;
    // As a user's choice: the list's owner hears of it.
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), (LPARAM)list);
    return true;
}

std::wstring ProgramUser::AnswerMessageBox(const std::wstring& caption, DWORD timeoutMs, int button) {
    HWND box = WaitForWindow(caption, timeoutMs);
    if (!box) return L"(no message box \"" + caption + L"\")";
    std::wstring text = ControlText(box, kMessageBoxText);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
    WaitUntilGone(box);
    return text;
}

HWND ProgramUser::PassStartWindow() {
    HWND start = WaitForWindow(kStartCaption);
    if (!start) return nullptr;
    // On a loaded machine the first click can come before the window listens:
    // press Start again every 2 s while it stays open.
    HWND main = nullptr;
    for (int attempt = 0; attempt < 30 && !main; ++attempt) {
        if (IsWindow(start) && IsWindowVisible(start)) Click(start, kStartButton);
        main = WaitForWindow(kMainCaption, 2000);
    }
    return main;
}

bool ProgramUser::LoadFile(HWND mainWindow, const std::wstring& folder, const std::wstring& name) {
    std::wstring before = ControlText(mainWindow, kInputPathField);
    Click(mainWindow, kLoadButton);
    return ChooseFile(L"Load Audio", folder, name) && WaitUntilLoaded(mainWindow, name, before);
}

using TextMatch = bool (*)(const std::wstring& text, const std::wstring& wanted);

// The input field comes to show what matches wanted, which it did not show
// before the load: only the load can have put it there.
static bool WaitUntilShown(HWND mainWindow, const std::wstring& before, TextMatch shows, const std::wstring& wanted) {
    if (shows(before, wanted)) return false;
    return WaitFor([&] { return shows(ProgramUser::ControlText(mainWindow, kInputPathField), wanted); }, 20000);
}

static bool EndsWith(const std::wstring& text, const std::wstring& ending) {
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

static bool Equals(const std::wstring& text, const std::wstring& wanted) { return text == wanted; }

bool ProgramUser::LoadFiles(HWND mainWindow, const std::wstring& folder, const std::vector<std::wstring>& names) {
    std::wstring quoted;
    for (const std::wstring& name : names) quoted += L"\"" + name + L"\" ";
    std::wstring before = ControlText(mainWindow, kInputPathField);
    Click(mainWindow, kLoadButton);
    std::wstring shown = std::to_wstring(names.size()) + L" files in " + folder;
    return ChooseFile(L"Load Audio", folder, quoted) && WaitUntilShown(mainWindow, before, Equals, shown);
}

bool ProgramUser::WaitUntilLoaded(HWND mainWindow, const std::wstring& name, const std::wstring& shownBefore) const {
    // The program pumps a message before it stores the choice (a click then is
    // kept until Load is over). It shows the path in the input field and
    // stores it with nothing handled in between.
    return WaitUntilShown(mainWindow, shownBefore, EndsWith, L"\\" + name);
}

bool ProgramUser::ConvertInto(HWND mainWindow, const std::wstring& folder, const std::wstring& name) {
    Click(mainWindow, kConvertButton);
    return ChooseFile(L"Convert Audio", folder, name);
}

bool ProgramUser::OpenAndClose(HWND mainWindow, int buttonId, const std::wstring& caption) {
    Click(mainWindow, buttonId);
    HWND window = WaitForWindow(caption);
    if (!window) return false;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitUntilGone(window) && WaitFor([&] { return IsWindowEnabled(mainWindow) != FALSE; }, 20000);
}

bool ProgramRun::ExitProgram(HWND mainWindow, DWORD* exitCode) {
    Click(mainWindow, kExitButton);
    return process_.Wait(30000, exitCode);
}

bool RunProgramToEnd(const std::wstring& folder, const std::wstring& arguments, const std::wstring& currentFolder,
                     DWORD* exitCode) {
    ProgramRun run(folder, arguments, currentFolder);
    if (!run.started()) return false;
    HWND main = run.PassStartWindow();
    if (!main) return false;
    return run.ExitProgram(main, exitCode);
}

std::vector<std::wstring> WatchPercent(HWND busy) {
    std::vector<std::wstring> seen;
    for (;;) {
        HWND label = GetDlgItem(busy, kPercentLabel);
        std::wstring text = WindowText(label);
        if (!label || !IsWindow(label)) return seen;  // read while it closed: not shown
        if (seen.empty() || seen.back() != text) seen.push_back(text);
        Sleep(10);
    }
}

int FilesDone(HWND busy) { return PercentOf(WindowText(GetDlgItem(busy, kFilesDoneLabel))); }

int PercentOf(const std::wstring& text) {
    if (text.empty() || !iswdigit(text[0])) return -1;
    return (int)wcstol(text.c_str(), nullptr, 10);
}

}  // namespace test
