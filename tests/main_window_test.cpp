// The main window as a user sees it: layout, painted faces, cursor, and which
// commands are refused when.
#include <doctest.h>

#include <string>

#include "app/globals.h"
#include "app/main_window.h"
#include "tests/support/modal_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/window_probe.h"

using test::RectInParent;

namespace {

struct ExpectedControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;  // nullptr: the input path
    int x, y, w, h;
    DWORD style;
    DWORD exStyle;
};

const wchar_t* const kInstructions =
    L"1.Load a Wav audio with any codec.\r\n2.Press the button \"Convert\". \r\n3.Wait a finish of a process.";

// In creation order. The sunken input-path field also shows WS_EX_STATICEDGE:
// a static control with SS_SUNKEN adds it to itself.
const ExpectedControl kControls[] = {
    {1004, L"Static", L"DU_ZID audio Converter", 6, 16, 1000, 65, 0x50000001, 0},
    {1003, L"Static", L"DU_ZID audio Converter", 5, 15, 1000, 65, 0x50000001, 0},
    {1018, L"Static", L"DU_ZID", 187, 15, 200, 65, 0x50000000, 0},
    {1023, L"Static", L"for Tessaro (Internet version)", 100, 80, 800, 43, 0x50000001, 0},
    {1005, L"Button", L"Load Wav Audio", 5, 150, 120, 25, 0x5001000B, WS_EX_STATICEDGE},
    {1012, L"Button", L"Convert", 127, 150, 120, 25, 0x5001000B, WS_EX_STATICEDGE},
    {1015, L"Static", L"Build v1.01", 935, 100, 100, 20, 0x50000000, 0},
    {1008, L"Static", L"Input audio path:", 5, 185, 150, 18, 0x50000000, 0},
    {1006, L"Static", nullptr, 5, 205, 990, 22, 0x50009000, WS_EX_CLIENTEDGE | WS_EX_STATICEDGE},
    {1022, L"Button", L"Help", 691, 310, 99, 25, 0x5001000B, WS_EX_STATICEDGE},
    {1010, L"Button", L"About", 793, 310, 99, 25, 0x5001000B, WS_EX_STATICEDGE},
    {1021, L"Button", L"Exit", 895, 310, 99, 25, 0x5001000B, WS_EX_STATICEDGE},
    {-1, L"Static", L"", 1, 120, 998, 4, 0x50000012, WS_EX_CLIENTEDGE},
    {1016, L"Static", L"Short Instruction:", 320, 130, 300, 28, 0x50000001, 0},
    {1017, L"Static", kInstructions, 630, 140, 370, 50, 0x50000000, 0},
};

HWND Item(int id) { return GetDlgItem(MAIN_WINDOW, id); }

const wchar_t* const kMainCaption = L"Veltrane Audio Converter for Adobe Flash.   https://www.veltrane.example/";
int32_t g_endValue = -1;

// Runs the main window with these steps, one per timer tick inside its loop;
// the last step must end it. Returns the window's end value.
int32_t RunMainWindowWith(std::vector<std::function<void()>> steps) {
    ENCODING.store(0);
    std::vector<test::WindowStep> windowSteps;
    for (auto& step : steps) windowSteps.push_back([step](HWND) { step(); });
    g_endValue = -1;
    test::ModalRun run = test::DriveModal(kMainCaption, [] { g_endValue = RunMainWindow(); }, std::move(windowSteps));
    CHECK(run.completed());
    return g_endValue;
}

// The client area's pixel at (x, y), once the window has painted.
COLORREF ClientPixel(HWND window, int x, int y) {
    UpdateWindow(window);
    return test::PixelAt(window, x, y);
}

bool HasPixel(HWND window, const RECT& area, COLORREF wanted) {
    UpdateWindow(window);
    return test::CountPixels(window, area, wanted) > 0;
}

void CloseMainWindow() { PostMessageW(MAIN_WINDOW, WM_SYSCOMMAND, SC_CLOSE, 0); }

// The visible window that a main-window command opened over it, if any.
HWND OwnedPopup() { return test::VisibleOwnedWindow(MAIN_WINDOW); }

}  // namespace

TEST_CASE("the main window's frame, controls and painted pixels") {
    HAND_CURSOR = LoadCursorA(GetModuleHandleW(nullptr), "autor");
    IN_DIR = "C:\\Tools";
    int32_t result = RunMainWindowWith({
        [] {
            HWND w = MAIN_WINDOW;
            RECT client;
            GetClientRect(w, &client);
            CHECK(client.right == 1000);
            CHECK(client.bottom == 350);
            DWORD style = GetWindowLongW(w, GWL_STYLE);
            CHECK((style & WS_MINIMIZEBOX) != 0);
            CHECK((style & WS_MAXIMIZEBOX) == 0);
            CHECK((style & WS_THICKFRAME) == 0);
            CHECK(test::WindowText(w) == L"Veltrane Audio Converter for Adobe Flash.   https://www.veltrane.example/");

            HWND child = GetWindow(w, GW_CHILD);
            for (const ExpectedControl& e : kControls) {
                CAPTURE(e.id);
                REQUIRE(child != nullptr);
                CHECK(GetDlgCtrlID(child) == e.id);
                CHECK(test::ClassOf(child) == e.className);
                CHECK(test::WindowText(child) == (e.text ? std::wstring(e.text) : std::wstring(L"C:\\Tools")));
                RECT r = RectInParent(child);
                CHECK(r.left == e.x);
                CHECK(r.top == e.y);
                CHECK(r.right - r.left == e.w);
                CHECK(r.bottom - r.top == e.h);
                CHECK((DWORD)GetWindowLongW(child, GWL_STYLE) == e.style);
                CHECK((DWORD)GetWindowLongW(child, GWL_EXSTYLE) == e.exStyle);
                child = GetWindow(child, GW_HWNDNEXT);
            }
            CHECK(child == nullptr);

            CHECK(ClientPixel(w, 500, 270) == RGB(85, 85, 85));
            CHECK(ClientPixel(w, 985, 216) == RGB(255, 255, 255));  // inside the input-path field
            RECT word = {187, 15, 387, 80};
            CHECK(HasPixel(w, word, RGB(0, 0, 255)));  // the blue "DU_ZID"
            CHECK(HasPixel(w, RECT{5, 205, 200, 227}, RGB(0, 0, 255)));  // the path, in blue
        },
        [] {
            // The Load Wav Audio face: 23 rows inside its static edge.
            HWND load = Item(1005);
            RECT face;
            GetClientRect(load, &face);
            CHECK(face.bottom == 23);
            CHECK(ClientPixel(load, 3, 0) == RGB(0, 195, 251));
            CHECK(ClientPixel(load, 3, 22) == RGB(0, 4, 60));
            CHECK(ClientPixel(Item(1021), 3, 0) == RGB(251, 121, 121));
            CHECK(HasPixel(load, face, RGB(255, 255, 255)));  // its white label
            CHECK_FALSE(HasPixel(load, face, RGB(0, 0, 255)));

            SendMessageW(load, BM_SETSTATE, TRUE, 0);  // held down
            CHECK(HasPixel(load, face, RGB(0, 0, 255)));  // "Process" in blue
            CHECK(ClientPixel(load, 5, 0) == GetSysColor(COLOR_BTNSHADOW));  // the sunken edge
            SendMessageW(load, BM_SETSTATE, FALSE, 0);
            CHECK(ClientPixel(load, 3, 0) == RGB(0, 195, 251));
        },
        [] { CloseMainWindow(); },
    });
    CHECK(result == 0);
}

TEST_CASE("a long path is drawn on one line, shortened in the middle") {
    IN_DIR = "C:\\" + std::string(60, 'a') + "\\" + std::string(60, 'b') + "\\" + std::string(60, 'c') +
             "\\" + std::string(60, 'd') + "\\end of the path";
    RunMainWindowWith({
        [] {
            HWND field = Item(1006);
            CHECK(test::WindowText(field).size() == IN_DIR.size());  // the text itself stays whole
            RECT client;
            GetClientRect(field, &client);
            // Text reaches the right part of the field (the end of the path is
            // shown) without leaving it, and the left starts with the drive.
            CHECK(HasPixel(field, RECT{client.right - 120, 0, client.right, client.bottom}, RGB(0, 0, 255)));
            CHECK(HasPixel(field, RECT{0, 0, 20, client.bottom}, RGB(0, 0, 255)));
            HDC dc = GetDC(field);
            HFONT old = (HFONT)SelectObject(dc, (HFONT)SendMessageW(field, WM_GETFONT, 0, 0));
            SIZE whole;
            std::wstring text = test::WindowText(field);
            GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &whole);
            SelectObject(dc, old);
            ReleaseDC(field, dc);
            CHECK(whole.cx > client.right);  // so it must have been shortened
        },
        [] { CloseMainWindow(); },
    });
}

TEST_CASE("the hand over Load Wav Audio and About only") {
    HAND_CURSOR = LoadCursorA(GetModuleHandleW(nullptr), "autor");
    REQUIRE(HAND_CURSOR != nullptr);
    RunMainWindowWith({
        [] {
            auto setCursor = [](HWND under) {
                SetCursor(LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW));
                return SendMessageW(MAIN_WINDOW, WM_SETCURSOR, (WPARAM)under, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            };
            for (int id : {1005, 1010}) {
                CAPTURE(id);
                CHECK(setCursor(Item(id)) == 1);
                CHECK(GetCursor() == HAND_CURSOR);
            }
            for (int id : {1012, 1022, 1021, 1006, 1017}) {
                CAPTURE(id);
                CHECK(setCursor(Item(id)) == 0);
                CHECK(GetCursor() != HAND_CURSOR);
            }
            CHECK(setCursor(MAIN_WINDOW) == 0);
        },
        [] { CloseMainWindow(); },
    });
}

TEST_CASE("Enter and Escape with no button focused start nothing and close nothing; Convert without input only beeps") {
    OUT_FILE = "untouched";
    IN_FILE = "   ";
    RunMainWindowWith({
        [] {
            SetFocus(nullptr);  // the window itself would hand the focus on to Load Wav Audio
            PostMessageW(MAIN_WINDOW, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(MAIN_WINDOW, WM_KEYDOWN, VK_ESCAPE, 0);
            SendMessageW(MAIN_WINDOW, WM_COMMAND, IDOK, 0);
            SendMessageW(MAIN_WINDOW, WM_COMMAND, IDCANCEL, 0);
            SendMessageW(MAIN_WINDOW, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), (LPARAM)Item(1012));
        },
        [] {
            CHECK(IsWindow(MAIN_WINDOW));
            CHECK(IsWindowEnabled(MAIN_WINDOW));
            CHECK(OwnedPopup() == nullptr);
            CHECK(OUT_FILE == "untouched");
        },
        [] { CloseMainWindow(); },
    });
}

TEST_CASE("while the encoder runs: Exit, close, Load, Convert, Help and About are refused") {
    IN_FILE = "C:\\Music\\a.wav";
    int32_t result = RunMainWindowWith({
        [] {
            ENCODING.store(1);
            SendMessageW(MAIN_WINDOW, WM_COMMAND, MAKEWPARAM(1021, BN_CLICKED), (LPARAM)Item(1021));
            PostMessageW(MAIN_WINDOW, WM_SYSCOMMAND, SC_CLOSE, 0);
            for (int id : {1005, 1012, 1022, 1010})
                PostMessageW(MAIN_WINDOW, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id));
        },
        [] {},
        [] {
            CHECK(IsWindow(MAIN_WINDOW));
            CHECK(IsWindowEnabled(MAIN_WINDOW));
            CHECK(OwnedPopup() == nullptr);  // no file dialog, no Help, no About came up
            CHECK(IN_FILE == "C:\\Music\\a.wav");
            ENCODING.store(0);
            // A double click is dispatched like a click.
            PostMessageW(MAIN_WINDOW, WM_COMMAND, MAKEWPARAM(1021, BN_DOUBLECLICKED), (LPARAM)Item(1021));
        },
    });
    CHECK(result == 0);
}

TEST_CASE("dropped files and folders load; a folder without WAV, a drop during a run or over a dialog change nothing") {
    test::TempFolder folder(L" dropped Ёж");
    test::TempFolder empty(L" no wav");
    std::wstring song = folder / L"song.wav", other = folder / L"Other.WAVE";
    REQUIRE(test::WriteBytes(song, "RIFF"));
    REQUIRE(test::WriteBytes(other, "RIFF"));
    REQUIRE(test::WriteBytes(folder / L"notes.txt", "not audio"));
    REQUIRE(CreateDirectoryW((folder / L"inner.wav").c_str(), nullptr));  // a folder, and not looked into
    REQUIRE(test::WriteBytes(empty / L"notes.txt", "not audio"));
    IN_FILE = "";
    IN_FILES.clear();
    IN_DIR = "C:\\Tools";
    auto shows = [](const std::wstring& text) { return test::WindowText(Item(1006)) == text; };
    RunMainWindowWith({
        [&] {
            CHECK((GetWindowLongW(MAIN_WINDOW, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0);
            CHECK(test::PostDroppedFiles(MAIN_WINDOW, {empty.path()}));
        },
        [&] {
            CHECK(IN_FILES.empty());
            CHECK(IN_DIR == "C:\\Tools");
            CHECK(shows(L"C:\\Tools"));
            // The folder's WAV files by name, the file itself only once.
            CHECK(test::PostDroppedFiles(MAIN_WINDOW, {song, folder.path()}));
        },
        [&] {
            // Dropped or found in the folder, a name is handed on exactly as it came.
            CHECK(IN_FILES == std::vector<std::string>{"\\\\?\\" + test::Utf8(song), "\\\\?\\" + test::Utf8(other)});
            CHECK(IN_FILE == "\\\\?\\" + test::Utf8(song));
            CHECK(IN_DIR == test::Utf8(folder.path()));
            CHECK(shows(L"2 files in " + folder.path()));
            CHECK(test::PostDroppedFiles(MAIN_WINDOW, {song, empty / L"notes.txt"}));
        },
        [&] {
            CHECK(shows(L"2 files"));
            CHECK(test::PostDroppedFiles(MAIN_WINDOW, {song}));
        },
        [&] {
            CHECK(IN_FILES == std::vector<std::string>{"\\\\?\\" + test::Utf8(song)});
            CHECK(shows(song));
            ENCODING.store(1);
            CHECK(test::PostDroppedFiles(MAIN_WINDOW, {other}));
        },
        [&] {
            CHECK(IN_FILE == "\\\\?\\" + test::Utf8(song));
            CHECK(shows(song));
            ENCODING.store(0);
            // The Save dialog proposes a name for song.wav; a drop meanwhile must not swap the input.
            PostMessageW(MAIN_WINDOW, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), (LPARAM)Item(1012));
        },
        [&] {
            CHECK(OwnedPopup() != nullptr);
            CHECK(test::PostDroppedFiles(MAIN_WINDOW, {other}));
        },
        [&] {
            CHECK(IN_FILES == std::vector<std::string>{"\\\\?\\" + test::Utf8(song)});
            CHECK(shows(song));
            HWND save = OwnedPopup();
            PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(save, IDCANCEL));
        },
        [&] {
            // A device's name elsewhere, dropped on its own: the file, not the console.
            REQUIRE(test::WriteBytes(L"\\\\?\\" + folder / L"con.wav", "RIFF"));
            CHECK(test::PostDroppedFiles(MAIN_WINDOW, {folder / L"con.wav"}));
        },
        [&] {
            CHECK(IN_FILES == std::vector<std::string>{"\\\\?\\" + test::Utf8(folder / L"con.wav")});
            CHECK(shows(folder / L"con.wav"));
            CloseMainWindow();
        },
    });
    CHECK(IN_FILE == "\\\\?\\" + test::Utf8(folder / L"con.wav"));
}
