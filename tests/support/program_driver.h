#pragma once
// Drives the real program from the test process, as a user would: windows
// found by caption, controls by id, clicks posted, file dialogs filled in.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace test {

// Captions of the program's windows.
extern const wchar_t* const kStartCaption;
extern const wchar_t* const kMainCaption;
extern const wchar_t* const kBusyCaption;

// The busy window's Stop button, its percentage and a batch's count of files done.
enum : int { kStopButton = 208, kPercentLabel = 321, kFilesDoneLabel = 322 };

enum : int { kStartButton = 2005, kLoadButton = 1005, kConvertButton = 1012, kExitButton = 1021,
             kHelpButton = 1022, kAboutButton = 1010, kInputPathField = 1006 };

// Copies the built DU_ZID.exe into folder.
bool InstallProgram(const std::wstring& folder);
// Puts the encoder double into folder\PLUG-IN as ffmpeg_III.exe.
bool InstallEncoderDouble(const std::wstring& folder);
// Puts the encoder built from source (the one the package ships) into
// folder\PLUG-IN as ffmpeg_III.exe; false when there is none.
bool InstallRealEncoder(const std::wstring& folder);
// The same with a ready-made FFmpeg build (from the npm registry), as a user
// who puts their own in its place would.
bool InstallUserEncoder(const std::wstring& folder);

// Acts as a user on the windows of one process (the program started by a
// test, or the test process itself when it runs the program's windows).
class ProgramUser {
public:
    explicit ProgramUser(DWORD processId = 0) : processId_(processId) {}

    // A visible top-level window of the program with exactly this caption, or nullptr.
    HWND FindWindowByCaption(const std::wstring& caption) const;
    HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs = 60000) const;
    bool WaitUntilGone(HWND window, DWORD timeoutMs = 60000) const;

    // Posts a click of control id, as BN_CLICKED from the button itself.
    static void Click(HWND dialog, int id);
    // Keys pressed together, as on the keyboard, into window made the foreground
    // window: each key down in the order given, then up in reverse order.
    static void PressKeys(HWND window, std::initializer_list<WORD> virtualKeys);
    // The window with the keyboard focus in the thread of window; nullptr for none.
    static HWND FocusOf(HWND window);
    static std::wstring ControlText(HWND dialog, int id);

    // Fills the Open or Save dialog with this caption: first the folder (the
    // dialog moves into it), then the file name; returns once it has closed.
    // With clickAtOnce, that button of the dialog's owner is clicked right
    // behind the confirmation, as by a user who does not wait.
    bool ChooseFile(const std::wstring& caption, const std::wstring& folder, const std::wstring& name,
                    int clickAtOnce = 0);
    bool CancelFileDialog(const std::wstring& caption);
    // Picks folder in the folder picker captioned "Convert Audio"; returns once it has closed.
    bool ChooseFolder(const std::wstring& folder);
    // The last question a file dialog asked (and was answered Yes) in ChooseFile.
    const std::wstring& lastQuestion() const { return lastQuestion_; }
    // The file name the dialog proposes.
    std::wstring ProposedName(const std::wstring& caption, DWORD timeoutMs = 20000);
    // The drop-down list of the dialog with this caption that holds entry
    // (the Save dialog's types, "Quality:", "Save as:"); nullptr when none
    // comes. Its entries, the one it shows, and choosing one as a user does.
    HWND DialogList(const std::wstring& caption, const std::wstring& entry);
    std::vector<std::wstring> ListTexts(const std::wstring& caption, const std::wstring& entry);
    std::wstring ListShows(const std::wstring& caption, const std::wstring& entry);
    bool ChooseInList(const std::wstring& caption, const std::wstring& entry);

    // Waits for a message box with this caption, returns its text and presses
    // OK, or the given button (IDYES, IDNO).
    std::wstring AnswerMessageBox(const std::wstring& caption, DWORD timeoutMs = 60000, int button = IDOK);

    // Start window → Start; returns the main window.
    HWND PassStartWindow();
    // Load Wav Audio, then Convert, each confirmed with folder and name.
    // After a confirmed Open dialog: waits until the program holds the file
    // named name, its input field showing it instead of shownBefore, what it
    // showed before Load was clicked. False at once when that already ended
    // with name: the field could not show that this load happened.
    bool WaitUntilLoaded(HWND mainWindow, const std::wstring& name, const std::wstring& shownBefore) const;
    bool LoadFile(HWND mainWindow, const std::wstring& folder, const std::wstring& name);
    // Load Wav Audio with several names of folder chosen at once.
    bool LoadFiles(HWND mainWindow, const std::wstring& folder, const std::vector<std::wstring>& names);
    bool ConvertInto(HWND mainWindow, const std::wstring& folder, const std::wstring& name);
    // Clicks the button that opens the window with this caption (Help, About),
    // closes that window from its title bar and waits for the main window to
    // take over again.
    bool OpenAndClose(HWND mainWindow, int buttonId, const std::wstring& caption);

protected:
    DWORD processId_;
    std::wstring lastQuestion_;
};

// One run of folder\DU_ZID.exe; the process is ended if still alive at the end.
class ProgramRun : public ProgramUser {
public:
    ProgramRun(const std::wstring& folder, const std::wstring& arguments, const std::wstring& currentFolder);
    bool started() const { return process_.started(); }
    DWORD id() const { return process_.id(); }

    // Exit on the main window, then waits for the process to end.
    bool ExitProgram(HWND mainWindow, DWORD* exitCode);
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) { return process_.Wait(timeoutMs, exitCode); }

private:
    ChildProcess process_;
};

// The texts the busy window's percentage showed, each change once, from now
// until the window is gone ("" while it showed none).
std::vector<std::wstring> WatchPercent(HWND busy);
// The number in a percentage text ("37 %"); -1 for none.
int PercentOf(const std::wstring& text);
// The files a batch's busy window counts as done ("2 of 3 files done"); -1
// while it shows no count.
int FilesDone(HWND busy);

// Starts the program with the given arguments and current folder, walks it
// through the start and main windows to its end, and returns its exit code.
bool RunProgramToEnd(const std::wstring& folder, const std::wstring& arguments, const std::wstring& currentFolder,
                     DWORD* exitCode);

}  // namespace test
