#include "app/main_window.h"

#include <shellapi.h>

#include <string>

#include "app/artwork.h"
#include "app/globals.h"
#include "app/main_buttons.h"
#include "app/main_window_ids.h"
#include "app/maker_info.h"
#include "app/version.h"
#include "convert/batch_rules.h"
#include "convert/conversion.h"
#include "convert/paths.h"
#include "convert/file_selection.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"
#include "windows/common_handlers.h"
#include "windows/secondary_windows.h"

using tk::ControlKind;

namespace {

constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 350;
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;  // 0x80CA0000

constexpr tk::Color kBackground = 0x555555;
constexpr tk::Color kDefaultText = 0x808080;
constexpr tk::Color kBlack = 0x000000;
constexpr tk::Color kDodgerBlue = 0xFF901E;
constexpr tk::Color kPureBlue = 0xFF0000;
constexpr tk::Color kSilver = 0xC0C0C0;
constexpr tk::Color kWhite = 0xFFFFFF;

const char* const kCaptionStart = "Veltrane Audio Converter for Adobe Flash. ";
const char* const kTitleText = "DU_ZID audio Converter";
const char* const kInstructions =
    "1.Load a Wav audio with any codec.\r\n"
    "2.Press the button \"Convert\". \r\n"
    "3.Wait a finish of a process.";

struct Fonts {
    int32_t title;
    int32_t subtitle;
};

// A label with its own colours and, when font is not 0, its own font.
void AddLabel(HWND window, int id, const char* text, int x, int y, int w, int h, DWORD style, DWORD exStyle,
              tk::Color text_color, tk::Color background, int32_t font) {
    tk::AddControl(ControlKind::Label, window, id, tk::Widen(text), x, y, w, h, style, exStyle);
    tk::SetColors(window, id, text_color, background);
    if (font != 0) tk::SetControlFont(window, id, font);
}

// Tab and Shift+Tab visit the five buttons in the order they are made.
void AddFaceButton(HWND window, int id, const char* text, int x, int y, int w) {
    tk::AddControl(ControlKind::Button, window, id, tk::Widen(text), x, y, w, 25, BS_OWNERDRAW | WS_TABSTOP,
                   WS_EX_STATICEDGE);
}

// Ctrl+O loads, Ctrl+S converts, F1 opens Help: the buttons' own commands,
// refused when and as the buttons are.
void AddShortcuts(HWND window) {
    const ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'O', kLoadButton},
        {FVIRTKEY | FCONTROL, 'S', kConvertButton},
        {FVIRTKEY, VK_F1, kHelpButton},
    };
    tk::SetShortcuts(window, keys, 3);
}

void AddControls(HWND window, const Fonts& fonts) {
    const tk::Color clear = tk::ColorTransparent;
    AddLabel(window, kShadowTitle, kTitleText, 6, 16, 1000, 65, SS_CENTER, 0, kBlack, clear, fonts.title);
    AddLabel(window, kTitle, kTitleText, 5, 15, 1000, 65, SS_CENTER, 0, kDodgerBlue, clear, fonts.title);
    AddLabel(window, kTitleFirstWord, "DU_ZID", 187, 15, 200, 65, SS_LEFT, 0, kPureBlue, clear, fonts.title);
    AddLabel(window, kSubtitle, "for Tessaro (Internet version)", 100, 80, 800, 43, SS_CENTER, 0, kBlack, clear,
             fonts.subtitle);
    AddFaceButton(window, kLoadButton, "Load Wav Audio", 5, 150, 120);
    AddFaceButton(window, kConvertButton, "Convert", 127, 150, 120);
    AddLabel(window, kBuildLabel, "Build v" DUZID_VERSION_TEXT, 935, 100, 100, 20, 0, 0, kBlack, clear, 0);
    AddLabel(window, kInputCaption, "Input audio path:", 5, 185, 150, 18, 0, 0, kSilver, kBackground, 0);
    AddLabel(window, kInputPathField, IN_DIR.c_str(), 5, 205, 990, 22, SS_PATHELLIPSIS | SS_SUNKEN, WS_EX_CLIENTEDGE,
             kPureBlue, kWhite, 0);
    AddFaceButton(window, kHelpButton, "Help", 691, 310, 99);
    AddFaceButton(window, kAboutButton, "About", 793, 310, 99);
    AddFaceButton(window, kExitButton, "Exit", 895, 310, 99);
    tk::AddControl(ControlKind::Frame, window, -1, L"", 1, 120, 998, 4, 0, WS_EX_CLIENTEDGE);
    AddLabel(window, kInstructionHeading, "Short Instruction:", 320, 130, 300, 28, SS_CENTER, 0, kSilver, clear,
             fonts.subtitle);
    AddLabel(window, kInstructionText, kInstructions, 630, 140, 370, 50, 0, 0, kSilver, clear, 0);
}

// Posted to itself once it is up: load the names of the command line. They
// are the window's own, under kNamedProperty, and taken once: the message
// carries nothing, so one posted by another program loads nothing.
constexpr UINT kLoadNamedFiles = WM_APP + 1;
const wchar_t* const kNamedProperty = L"DU_ZID.named";

bool IsFaceButton(UINT id) {
    return id == kLoadButton || id == kAboutButton || id == kConvertButton || id == kExitButton || id == kHelpButton;
}

// From a Load or Convert click until its dialogs, its run and its closing
// message are over. Their loops dispatch the main window's messages, also a
// click queued as a dialog closes, which would nest a second command in the first.
struct CommandInProgress {
    explicit CommandInProgress(bool keepsClick = false);
    ~CommandInProgress();
    CommandInProgress(const CommandInProgress&) = delete;
    CommandInProgress& operator=(const CommandInProgress&) = delete;

    bool keepsClick;     // a button clicked meanwhile is handled once this command is over
    int keptClick = 0;   // that button's id
    CommandInProgress* outer;
};

CommandInProgress* g_command = nullptr;

CommandInProgress::CommandInProgress(bool keepsClick) : keepsClick(keepsClick), outer(g_command) { g_command = this; }

// Posted, the kept click comes back through the main window's own loop, with
// this command over.
CommandInProgress::~CommandInProgress() {
    g_command = outer;
    if (keptClick != 0)
        PostMessageW(MAIN_WINDOW, WM_COMMAND, MAKEWPARAM(keptClick, BN_CLICKED),
                     (LPARAM)GetDlgItem(MAIN_WINDOW, keptClick));
}

bool RunInProgress() { return g_command != nullptr || ENCODING.load(std::memory_order_acquire) != 0; }

// Load's dialog closed, the main window pumps a message to repaint what it
// covered: a click then (Convert at once after Open, Ctrl+S typed ahead) is
// what the user did next, on the file just chosen. It is kept, one, rather
// than refused: nothing shows the user that Load was still busy.
bool KeptForLater(int id) {
    if (!g_command || !g_command->keepsClick || g_command->keptClick != 0) return false;
    g_command->keptClick = id;
    return true;
}

int32_t OnDrawItem(const DRAWITEMSTRUCT* item) {
    if (!item) return 0;
    if (!IsFaceButton(item->CtlID)) return 1;
    buttons::DrawMainButton(item);
    return 0;
}

int32_t OnSetCursor(HWND window, HWND under) { return ShowHandOver(window, under, {kLoadButton, kAboutButton}); }

int32_t OnSysCommand(WPARAM command) {
    // The close command is dropped while a run lasts; otherwise the toolkit's
    // default ends the window with 0.
    return (command == SC_CLOSE && RunInProgress()) ? 1 : 0;
}

// The loaded files replace those before; IN_FILE is the first of them.
void TakeLoadedFiles(const std::vector<std::string>& files) {
    IN_FILES = files;
    IN_FILE = files.empty() ? std::string() : files[0];
}

// Files dropped or named on the command line, taken as a confirmed Open dialog's.
void ShowLoadedFiles(const std::vector<std::string>& files) {
    TakeLoadedFiles(files);
    ShowLoadedAudio(files, IN_DIR);
}

// While a run lasts, a Load could replace IN_FILE under its thread and a
// Convert would nest a second run in the first: both only beep then. A click
// while Load itself ends is kept until it is over.
void OnLoad() {
    if (RunInProgress()) return tk::AlertBeep();
    CommandInProgress command(true);
    TakeLoadedFiles(LoadAudio(MAIN_WINDOW, IN_DIR));
}

// The window's output choice lives with RunMainWindow's caller; the window
// holds it as a property for its life.
const wchar_t kOutputProperty[] = L"DU_ZID.OutputChoice";

OutputChoice* OutputOf(HWND window) { return (OutputChoice*)GetPropW(window, kOutputProperty); }

// Several files loaded: the folder picker, then the batch.
void ConvertSeveral(OutputChoice& output) {
    std::string folder = ChooseOutputFolder(MAIN_WINDOW, OUT_DIR, output);
    if (!folder.empty()) RunBatchConversion(IN_FILES, folder, output);
}

void OnConvert(HWND window) {
    if (RunInProgress() || tk::IsBlank(IN_FILE)) return tk::AlertBeep();
    CommandInProgress command;
    OutputChoice unheld;  // a window that RunMainWindow did not build
    OutputChoice& output = OutputOf(window) ? *OutputOf(window) : unheld;
    if (IN_FILES.size() > 1) return ConvertSeveral(output);
    // Moved or deleted since it was loaded: say so before asking for an output.
    if (!InputFileExists(IN_FILE)) return WarnInputNotFound(IN_FILE);
    OUT_FILE = ConvertAudio(MAIN_WINDOW, OUT_DIR, output);
    if (!tk::IsBlank(OUT_FILE)) RunConversion(output.quality);
}

// The paths of a drop, in its order.
std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, &path[0], length + 1));
        // Made full again, a dropped "con.wav" would become the console.
        if (!path.empty()) paths.push_back(HandedOverPath(tk::Narrow(path)));
    }
    return paths;
}

// Another window of the program is open over the main window (a file dialog,
// a message, About or Help), or the main window waits for one: what the user
// agreed to there must not change under it.
bool AnotherWindowIsOpen(HWND window) { return !IsWindowEnabled(window) || tk::HasOtherOpenWindow(window); }

// Files and folders dragged from Explorer load as if chosen in the Open
// dialog, a folder as the .wav and .wave files in it. A drop during a run or
// while another window is open, or one that brings no file, only beeps.
int32_t OnDropFiles(HWND window, HDROP drop) {
    bool refused = RunInProgress() || AnotherWindowIsOpen(window);
    std::vector<std::string> files = refused ? std::vector<std::string>() : DroppedAudio(DroppedPaths(drop));
    DragFinish(drop);
    if (files.empty()) {
        tk::AlertBeep();
        return 1;
    }
    ShowLoadedFiles(files);
    return 1;
}

// The files and folders named on the command line, once the main window is
// up: loaded as a drop is, and the names that are not there told once.
int32_t OnNamedFiles(HWND window) {
    auto* named = (const std::vector<std::string>*)RemovePropW(window, kNamedProperty);
    if (!named || named->empty()) return 1;
    CommandInProgress command;
    std::vector<std::string> missing;
    std::vector<std::string> files = DroppedAudio(*named, &missing);
    if (!files.empty()) {
        ShowLoadedFiles(files);
    } else if (missing.empty()) {
        tk::AlertBeep();
    }
    if (!missing.empty()) MessageBoxA(window, NotFoundText(missing).c_str(), "Attention", MB_OK | MB_ICONEXCLAMATION);
    return 1;
}

int32_t OnExit(HWND window) {
    if (RunInProgress()) return 1;
    tk::PumpEvents(1);
    tk::FinishDialog(window, 0);
    return 0;
}

// Help and About are modal: opened during a run, their loop would hold the
// run's until they close, and the run could neither end nor stop meanwhile.
void OnSecondaryWindow(void (*run)()) {
    if (RunInProgress()) return tk::AlertBeep();
    run();
}

int32_t OnCommand(HWND window, int id) {
    if (IsFaceButton(id) && KeptForLater(id)) return 0;
    switch (id) {
        case kLoadButton: OnLoad(); return 0;
        case kConvertButton: OnConvert(window); return 0;
        case kExitButton: return OnExit(window);
        case kHelpButton: OnSecondaryWindow(RunInstructionWindow); return 0;
        case kAboutButton: OnSecondaryWindow(RunAboutWindow); return 0;
        default: return 0;  // IDOK and IDCANCEL from Enter and Escape included
    }
}

}  // namespace

int32_t MainWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: return OnDrawItem((const DRAWITEMSTRUCT*)lParam);
        case WM_SETCURSOR: return OnSetCursor(window, (HWND)wParam);
        case WM_SYSCOMMAND: return OnSysCommand(wParam);
        case WM_COMMAND: return OnCommand(window, LOWORD(wParam));
        case WM_DROPFILES: return OnDropFiles(window, (HDROP)wParam);
        case kLoadNamedFiles: return OnNamedFiles(window);
        case WM_DESTROY: RemovePropW(window, kOutputProperty); return 0;
        default: return 0;
    }
}

int32_t RunMainWindow(OutputChoice& output, const std::vector<std::string>& named) {
    Fonts fonts;
    fonts.title = tk::NewFont(L"Times New Roman", 45, tk::FontBold | tk::FontItalic, 0, 0, 0);
    fonts.subtitle = tk::NewFont(L"Times New Roman", 20, tk::FontBold | tk::FontItalic, 0, 0, 0);

    std::string caption = std::string(kCaptionStart) + "  " + kMakerWebAddress;
    // WS_EX_ACCEPTFILES is all that DragAcceptFiles would set; the shell is
    // loaded only when something is dropped.
    HWND window = tk::NewDialog(tk::CoordinateMode::Pixels, nullptr, tk::Widen(caption), tk::DefaultPosition,
                                tk::DefaultPosition, kClientWidth, kClientHeight, kWindowStyle, WS_EX_ACCEPTFILES, PaintArtwork);
    MAIN_WINDOW = window;
    tk::SetColors(window, tk::DialogItself, kDefaultText, kBackground);
    AddControls(window, fonts);
    AddShortcuts(window);
    tk::SetDialogIcon(window, L"VIDEO");
    SetPropW(window, kOutputProperty, &output);

    // Handled once the window is shown: named lives until ShowModal returns.
    if (!named.empty() && SetPropW(window, kNamedProperty, (HANDLE)&named))
        PostMessageW(window, kLoadNamedFiles, 0, 0);
    int32_t endValue = 0;
    tk::ShowModal(window, MainWindowCallback, &endValue);
    RemovePropW(window, kNamedProperty);

    tk::FreeFont(fonts.title);
    tk::FreeFont(fonts.subtitle);
    return endValue;
}

int32_t RunMainWindow(const std::vector<std::string>& named) {
    OutputChoice output;
    return RunMainWindow(output, named);
}
