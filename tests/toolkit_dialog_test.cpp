// Dialogs and controls on real windows: geometry, styles, message routing, loops.
#include <doctest.h>

#include <windows.h>

#include <thread>
#include <vector>

#include "toolkit/toolkit.h"
#include "toolkit_support.h"

using tk::ControlKind;
using tk::CoordinateMode;
using tk::DefaultPosition;

namespace {

constexpr UINT kFinish = WM_APP + 1;  // posted to a dialog: its callback finishes it

RECT WorkArea() {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT ControlRect(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, (POINT*)&rect, 2);
    return rect;
}

DWORD StyleOf(HWND window) { return (DWORD)GetWindowLongW(window, GWL_STYLE); }

// What a recording callback saw.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool visible;
};
std::vector<Seen> g_seen;
std::vector<UINT> g_seenDuringFinish;  // messages delivered while FinishDialog ran
int32_t g_answer = 0;                  // what the recording callback returns for WM_APP

int32_t Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_seen.push_back({message, wParam, lParam, IsWindowVisible(window) != FALSE});
    if (message == kFinish) {
        size_t before = g_seen.size();
        tk::FinishDialog(window, 0);
        for (size_t i = before; i < g_seen.size(); ++i) g_seenDuringFinish.push_back(g_seen[i].message);
    }
    return message == WM_APP ? g_answer : 0;
}

int Count(UINT message) {
    int count = 0;
    for (const Seen& seen : g_seen) count += seen.message == message;
    return count;
}

const Seen* First(UINT message) {
    for (const Seen& seen : g_seen)
        if (seen.message == message) return &seen;
    return nullptr;
}

// Whether the window's outer rectangle is centred on the work area.
bool IsCentred(HWND window, int tolerance) {
    RECT work = WorkArea(), outer;
    GetWindowRect(window, &outer);
    int x = (work.left + work.right - (outer.right - outer.left)) / 2;
    int y = (work.top + work.bottom - (outer.bottom - outer.top)) / 2;
    return abs(outer.left - x) <= tolerance && abs(outer.top - y) <= tolerance;
}

HWND NewPixelsDialog(HWND owner, int width, int height, DWORD style = 0x80CA0000) {
    return tk::NewDialog(CoordinateMode::Pixels, owner, L"Dialog", DefaultPosition, DefaultPosition, width, height,
                         style, 0);
}

}  // namespace

TEST_CASE("geometry: pixels, centring, clamping and dialog units") {
    SUBCASE("Pixels 1000x350 is the client area, centred by the outer size") {
        HWND dialog = NewPixelsDialog(nullptr, 1000, 350);
        RECT client, outer;
        GetClientRect(dialog, &client);
        GetWindowRect(dialog, &outer);
        CHECK(client.right == 1000);
        CHECK(client.bottom == 350);
        CHECK(outer.right - outer.left > 1000);
        CHECK(outer.bottom - outer.top > 350);
        CHECK(IsCentred(dialog, 0));
        DestroyWindow(dialog);
    }
    SUBCASE("one DefaultPosition alone still centres both axes; too large sits at 0") {
        RECT work = WorkArea();
        HWND byX = tk::NewDialog(CoordinateMode::Pixels, nullptr, L"x", DefaultPosition, 7, 400, 200, 0, 0);
        HWND byY = tk::NewDialog(CoordinateMode::Pixels, nullptr, L"y", 7, DefaultPosition, 400, 200, 0, 0);
        HWND units = tk::NewDialog(CoordinateMode::DialogUnits, nullptr, L"u", 7, DefaultPosition, 200, 100, 0, 0);
        HWND large = NewPixelsDialog(nullptr, work.right + 500, work.bottom + 300);
        CHECK(IsCentred(byX, 0));
        CHECK(IsCentred(byY, 0));
        CHECK(IsCentred(units, 1));  // placed by the dialog manager
        RECT outer;
        GetWindowRect(large, &outer);
        CHECK(outer.left == 0);
        CHECK(outer.top == 0);
        for (HWND dialog : {byX, byY, units, large}) DestroyWindow(dialog);
    }
    SUBCASE("without DefaultPosition a Pixels dialog is placed from its owner's client origin") {
        HWND owner = NewPixelsDialog(nullptr, 300, 200);
        HWND dialog = tk::NewDialog(CoordinateMode::Pixels, owner, L"placed", 20, 30, 100, 50, 0x00C00000, 0);
        POINT origin = {0, 0};
        ClientToScreen(owner, &origin);
        RECT outer;
        GetWindowRect(dialog, &outer);
        CHECK(outer.left == origin.x + 20);
        CHECK(outer.top == origin.y + 30);
        DestroyWindow(dialog);
        DestroyWindow(owner);
    }
    SUBCASE("controls: each edge mapped in dialog units, unchanged in pixels") {
        HWND units = tk::NewDialog(CoordinateMode::DialogUnits, nullptr, L"u", DefaultPosition, DefaultPosition, 200,
                                   100, 0, 0);
        tk::AddControl(ControlKind::Label, units, 5, L"", 5, 40, 8, 7, 0, 0);
        RECT expected = {5, 40, 13, 47};
        MapDialogRect(units, &expected);
        RECT placed = ControlRect(units, 5);
        CHECK(EqualRect(&placed, &expected));

        HWND pixels = NewPixelsDialog(nullptr, 300, 200);
        tk::AddControl(ControlKind::Button, pixels, 6, L"B", 10, 20, 30, 40, 0, 0);
        placed = ControlRect(pixels, 6);
        RECT asGiven = {10, 20, 40, 60};
        CHECK(EqualRect(&placed, &asGiven));
        DestroyWindow(units);
        DestroyWindow(pixels);
    }
}

TEST_CASE("styles: dialogs, the five control kinds and the default button") {
    SUBCASE("the program's three requested dialog styles") {
        const DWORD asked[] = {0x80CA0000, 0x00C80000, 0x00C00000};
        const DWORD made[] = {0x80CA0854, 0x00C80854, 0x00C00854};
        for (int i = 0; i < 3; ++i) {
            HWND dialog = NewPixelsDialog(nullptr, 200, 100, asked[i]);
            // The platform adds WS_CLIPSIBLINGS to every top-level window.
            CHECK((StyleOf(dialog) & ~WS_CLIPSIBLINGS) == made[i]);
            DestroyWindow(dialog);
        }
    }
    SUBCASE("kinds with style 0 and with explicit styles") {
        HWND dialog = NewPixelsDialog(nullptr, 400, 300);
        struct Case {
            ControlKind kind;
            const wchar_t* text;
            DWORD asked, made;
            const wchar_t* windowClass;
        };
        const Case cases[] = {
            {ControlKind::Button, L"b", 0, 0x50010000, L"Button"},  // a tab stop
            {ControlKind::Button, L"b", BS_FLAT, 0x50008000, L"Button"},  // not one
            {ControlKind::Label, L"l", 0, 0x50000000, L"Static"},
            {ControlKind::Label, L"l", SS_NOTIFY | SS_CENTER, 0x50000101, L"Static"},
            {ControlKind::Frame, L"", 0, 0x50000012, L"Static"},
            {ControlKind::Frame, L"", SS_ETCHEDHORZ, 0x50000010, L"Static"},
            {ControlKind::Image, L"TITLE", 0, 0x5000000E, L"Static"},
            {ControlKind::Image, L"patent", SS_CENTERIMAGE, 0x5000020E, L"Static"},
            {ControlKind::StretchedImage, L"load1", 0, 0x5000000E, L"Static"},
            {ControlKind::StretchedImage, L"VIDEO", 0, 0x50000003, L"Static"},  // no bitmap: an icon control
        };
        int id = 100;
        for (const Case& c : cases) {
            CAPTURE(id);
            tk::AddControl(c.kind, dialog, id, c.text, 0, 0, 50, 20, c.asked, 0);
            HWND control = GetDlgItem(dialog, id);
            REQUIRE(control != nullptr);
            CHECK(StyleOf(control) == c.made);
            wchar_t className[32] = {};
            GetClassNameW(control, className, 32);
            CHECK(_wcsicmp(className, c.windowClass) == 0);
            ++id;
        }
        wchar_t text[16] = L"?";
        GetWindowTextW(GetDlgItem(dialog, 106), text, 16);
        CHECK(text[0] == 0);  // an image control gets no window text
        DestroyWindow(dialog);
    }
    SUBCASE("only BS_DEFPUSHBUTTON makes the default button") {
        HWND dialog = NewPixelsDialog(nullptr, 400, 300);
        LRESULT none = SendMessageW(dialog, DM_GETDEFID, 0, 0);  // the platform's answer without one
        tk::AddControl(ControlKind::Button, dialog, 11, L"drawn", 0, 0, 50, 20, BS_OWNERDRAW, 0);
        tk::AddControl(ControlKind::Button, dialog, 12, L"plain", 0, 30, 50, 20, 0, 0);
        tk::AddControl(ControlKind::Button, dialog, 13, L"flat", 0, 60, 50, 20, BS_FLAT, 0);
        CHECK(SendMessageW(dialog, DM_GETDEFID, 0, 0) == none);
        CHECK((LOWORD(none) < 11 || LOWORD(none) > 13));

        tk::AddControl(ControlKind::Button, dialog, 14, L"first", 0, 90, 50, 20, BS_DEFPUSHBUTTON, 0);
        CHECK(SendMessageW(dialog, DM_GETDEFID, 0, 0) == MAKELONG(14, DC_HASDEFID));
        tk::AddControl(ControlKind::Button, dialog, 15, L"drawn", 0, 120, 50, 20, BS_OWNERDRAW, 0);
        CHECK(SendMessageW(dialog, DM_GETDEFID, 0, 0) == MAKELONG(14, DC_HASDEFID));
        // A second default button takes over: the dialog was told, and demoted the first.
        tk::AddControl(ControlKind::Button, dialog, 16, L"second", 0, 150, 50, 20, BS_DEFPUSHBUTTON, 0);
        CHECK(SendMessageW(dialog, DM_GETDEFID, 0, 0) == MAKELONG(16, DC_HASDEFID));
        CHECK((StyleOf(GetDlgItem(dialog, 14)) & BS_TYPEMASK) == BS_PUSHBUTTON);
        DestroyWindow(dialog);
    }
}

TEST_CASE("routing: what the callback receives and what its answers do") {
    g_seen.clear();
    g_seenDuringFinish.clear();

    SUBCASE("WM_INITDIALOG once, before showing; no WM_ACTIVATE; FinishDialog delivers the end at once") {
        HWND dialog = NewPixelsDialog(nullptr, 300, 120);
        PostMessageW(dialog, kFinish, 0, 0);
        tk::ShowModal(dialog, Recorder);
        CHECK(Count(WM_INITDIALOG) == 1);
        REQUIRE(g_seen.size() >= 2);
        CHECK(g_seen[0].message == WM_INITDIALOG);
        CHECK(g_seen[0].wParam == (WPARAM)dialog);
        CHECK(g_seen[0].lParam == 0);
        CHECK_FALSE(g_seen[0].visible);
        CHECK(g_seen[1].message == WM_SIZE);
        CHECK(g_seen[1].wParam == SIZE_RESTORED);
        CHECK(g_seen[1].lParam == MAKELONG(300, 120));
        CHECK(Count(WM_ACTIVATE) == 0);
        // In this order, with whatever the platform sends in between.
        std::vector<UINT> ending;
        for (UINT message : g_seenDuringFinish)
            if (message == WM_CLOSE || message == WM_DESTROY || message == WM_NCDESTROY) ending.push_back(message);
        CHECK(ending == std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY});
        CHECK(g_seen.back().message == WM_NCDESTROY);
    }
    SUBCASE("a nonzero callback result is the dialog procedure's answer") {
        HWND dialog = NewPixelsDialog(nullptr, 200, 100);
        tk::ShowModeless(dialog, Recorder);
        g_answer = 1234;
        CHECK(SendMessageW(dialog, WM_APP, 0, 0) == 1234);
        g_answer = -7;
        CHECK(SendMessageW(dialog, WM_APP, 0, 0) == -7);
        g_answer = 0;
        CHECK(SendMessageW(dialog, WM_APP, 0, 0) == 0);
        tk::FinishDialog(dialog, 0);
    }
    SUBCASE("a control's callback hears its commands first") {
        static int dialogHeard = 0;
        dialogHeard = 0;
        HWND dialog = NewPixelsDialog(nullptr, 200, 100);
        tk::AddControl(ControlKind::Button, dialog, 21, L"takes", 0, 0, 50, 20, 0, 0,
                       [](HWND, UINT message, WPARAM, LPARAM) -> int32_t { return message == WM_COMMAND ? 9 : 0; });
        tk::AddControl(ControlKind::Button, dialog, 22, L"declines", 0, 30, 50, 20, 0, 0,
                       [](HWND, UINT, WPARAM, LPARAM) -> int32_t { return 0; });
        tk::ShowModeless(dialog, [](HWND, UINT message, WPARAM, LPARAM) -> int32_t {
            dialogHeard += message == WM_COMMAND;
            return 0;
        });
        CHECK(SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(21, BN_CLICKED), (LPARAM)GetDlgItem(dialog, 21)) == 9);
        CHECK(dialogHeard == 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(22, BN_CLICKED), (LPARAM)GetDlgItem(dialog, 22));
        CHECK(dialogHeard == 1);
        tk::FinishDialog(dialog, 0);
    }
    SUBCASE("SC_CLOSE declined ends the dialog with 0 and gives the owner back") {
        HWND owner = NewPixelsDialog(nullptr, 300, 200);
        tk::AddControl(ControlKind::Button, owner, 1, L"Button", 10, 10, 80, 25, 0, 0);
        tk::ShowModeless(owner, nullptr);
        HWND dialog = NewPixelsDialog(owner, 200, 100, 0x00C80000);
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        int32_t result = 42;
        tk::ShowModal(dialog, Recorder, &result);
        CHECK(Count(WM_SYSCOMMAND) == 1);
        CHECK(result == 0);
        CHECK_FALSE(IsWindow(dialog));
        CHECK(IsWindowEnabled(owner));
        // A dialog given the focus passes it on to its first tab stop.
        CHECK(GetActiveWindow() == owner);
        CHECK(GetFocus() == GetDlgItem(owner, 1));
        tk::FinishDialog(owner, 0);
    }
    SUBCASE("Enter and Escape reach the callback as IDOK and IDCANCEL and close nothing") {
        HWND dialog = NewPixelsDialog(nullptr, 200, 100);
        PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(dialog, WM_APP, 0, 0);  // seen only if the dialog is still there
        PostMessageW(dialog, kFinish, 0, 0);
        tk::ShowModal(dialog, Recorder);
        std::vector<WPARAM> commands;
        for (const Seen& seen : g_seen)
            if (seen.message == WM_COMMAND) commands.push_back(LOWORD(seen.wParam));
        CHECK(commands == std::vector<WPARAM>{IDOK, IDCANCEL});
        CHECK(Count(WM_APP) == 1);
        CHECK(Count(WM_CLOSE) == 1);  // the one FinishDialog sent
    }
}

TEST_CASE("loops: modal, modeless and PumpEvents") {
    g_seen.clear();

    SUBCASE("ShowModal returns only once its dialog is gone, the owner disabled meanwhile") {
        static HWND owner = nullptr;
        static int ownerEnabledDuring = -1, idleSeen = 0;
        idleSeen = 0;
        owner = NewPixelsDialog(nullptr, 300, 200);
        tk::ShowModeless(owner, [](HWND, UINT message, WPARAM, LPARAM) -> int32_t {
            idleSeen += message == WM_ENTERIDLE;
            return 0;
        });
        HWND dialog = NewPixelsDialog(owner, 200, 100);
        SetTimer(dialog, 1, 200, nullptr);
        DWORD start = GetTickCount();
        tk::ShowModal(dialog, [](HWND window, UINT message, WPARAM, LPARAM) -> int32_t {
            if (message != WM_TIMER) return 0;
            ownerEnabledDuring = IsWindowEnabled(owner);
            tk::FinishDialog(window, 0);
            return 1;
        });
        CHECK(GetTickCount() - start >= 190);
        CHECK_FALSE(IsWindow(dialog));
        CHECK(ownerEnabledDuring == 0);
        // The owner hears WM_ENTERIDLE while the loop waits, once each time the
        // queue runs empty: a loop that polled would send it every time it looked.
        CHECK(idleSeen > 0);
        CHECK(idleSeen < 20);
        CHECK(IsWindowEnabled(owner));
        tk::FinishDialog(owner, 0);
    }
    SUBCASE("a message posted while a loop waits is handled within that one wait") {
        HWND dialog = NewPixelsDialog(nullptr, 200, 100);
        tk::ShowModeless(dialog, Recorder);
        tktest::PumpFor(50);
        g_seen.clear();
        // Posted from another thread, as input arrives, after the wait has begun.
        auto postLater = [](HWND window, UINT message) {
            return std::thread([=] {
                Sleep(100);
                PostMessageW(window, message, 0, 0);
            });
        };
        std::thread poster = postLater(dialog, WM_APP + 20);
        DWORD start = GetTickCount();
        tk::PumpEvents(3000);
        DWORD pumped = GetTickCount() - start;
        poster.join();
        CHECK(Count(WM_APP + 20) == 1);
        CHECK(pumped < 1500);

        // A message sent meanwhile is handled, but only a queued one ends the wait.
        std::thread sender([dialog] {
            Sleep(50);
            SendMessageW(dialog, WM_APP + 21, 0, 0);
        });
        start = GetTickCount();
        tk::PumpEvents(400);
        pumped = GetTickCount() - start;
        sender.join();
        CHECK(Count(WM_APP + 21) == 1);
        CHECK(pumped >= 390);
        tk::FinishDialog(dialog, 0);

        dialog = NewPixelsDialog(nullptr, 200, 100);
        SetTimer(dialog, 1, 5000, nullptr);  // ends the loop should the post never wake it
        poster = postLater(dialog, kFinish);
        start = GetTickCount();
        tk::ShowModal(dialog, [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> int32_t {
            if (message == WM_TIMER) tk::FinishDialog(window, 0);
            return Recorder(window, message, wParam, lParam);
        });
        DWORD modal = GetTickCount() - start;
        poster.join();
        CHECK_FALSE(IsWindow(dialog));
        CHECK(Count(kFinish) == 1);
        CHECK(modal < 1500);
    }
    SUBCASE("ShowModeless leaves a painted window without PumpEvents") {
        HWND dialog = NewPixelsDialog(nullptr, 200, 100);
        tk::SetColors(dialog, tk::DialogItself, 0, 0x2040C0);
        tk::AddControl(ControlKind::Label, dialog, 1, L"", 150, 50, 40, 40, 0, 0);
        tk::SetColors(dialog, 1, 0, 0x00C000);
        tk::ShowModeless(dialog, nullptr);
        // Nothing is left to paint, and the window's pixels are there. (Wine
        // copies them to the X screen on its next message poll, not at once.)
        CHECK_FALSE(GetUpdateRect(dialog, nullptr, FALSE));
        CHECK_FALSE(GetUpdateRect(GetDlgItem(dialog, 1), nullptr, FALSE));
        CHECK(test::PixelAt(dialog, 10, 10) == 0x2040C0);
        CHECK(test::PixelAt(dialog, 170, 70) == 0x00C000);
        tk::FinishDialog(dialog, 0);
    }
    SUBCASE("PumpEvents on an empty queue sleeps its argument") {
        tktest::PumpFor(20);
        LARGE_INTEGER frequency, before, after;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&before);
        int32_t live = tk::PumpEvents(30);
        QueryPerformanceCounter(&after);
        double ms = 1000.0 * (after.QuadPart - before.QuadPart) / frequency.QuadPart;
        CHECK(ms >= 29);
        CHECK(ms < 80);
        CHECK(live == tk::GetCounts().liveDialogs);
    }
    SUBCASE("PumpEvents handles only the first of ten queued messages") {
        HWND dialog = NewPixelsDialog(nullptr, 200, 100);
        tk::ShowModeless(dialog, Recorder);
        tktest::PumpFor(50);
        g_seen.clear();
        for (int i = 0; i < 10; ++i) PostMessageW(dialog, WM_APP + 10, i, 0);
        int32_t live = tk::PumpEvents(0);
        CHECK(live >= 1);
        REQUIRE(Count(WM_APP + 10) == 1);
        CHECK(First(WM_APP + 10)->wParam == 0);
        int left = 0;
        MSG message;
        while (PeekMessageW(&message, dialog, WM_APP + 10, WM_APP + 10, PM_REMOVE)) ++left;
        CHECK(left == 9);
        tk::FinishDialog(dialog, 0);
    }
    SUBCASE("PumpEvents gives keys to the active dialog's keyboard handling") {
        HWND dialog = NewPixelsDialog(nullptr, 200, 100);
        tk::ShowModeless(dialog, Recorder);
        tktest::PumpFor(50);
        REQUIRE(GetActiveWindow() == dialog);
        g_seen.clear();
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        tk::PumpEvents(0);
        const Seen* command = First(WM_COMMAND);
        REQUIRE(command != nullptr);
        CHECK(LOWORD(command->wParam) == IDCANCEL);
        tk::FinishDialog(dialog, 0);
    }
}

TEST_CASE("a window that is gone, or none: the operations do nothing") {
    // A bystander window counts its paints: a repaint of the whole desktop reaches it.
    static int bystanderPaints = 0;
    tktest::ModelessDialog bystander(200, 100);
    bystander.Show([](HWND, UINT message, WPARAM, LPARAM) -> int32_t {
        bystanderPaints += message == WM_PAINT;
        return 0;
    });
    HWND gone = NewPixelsDialog(nullptr, 200, 100);
    tk::AddControl(ControlKind::StretchedImage, gone, 101, L"load1", 5, 5, 40, 40, 0, 0);
    tk::AddControl(ControlKind::Label, gone, 320, L"", 50, 5, 100, 20, 0, 0);
    tk::ShowModeless(gone, nullptr);
    tktest::PumpFor(100);
    tk::FinishDialog(gone, 0);
    tktest::PumpFor(100);
    bystanderPaints = 0;
    tk::Counts before = tk::GetCounts();

    tk::Redraw(GetDlgItem(gone, 101));  // GetDlgItem of a gone dialog: no window at all
    tk::Redraw(nullptr);
    tk::Redraw(gone);
    tk::SetText(gone, L"Converting the Audio");
    tk::SetText(GetDlgItem(gone, 320), L"Processing time: 00:00:01");
    tk::SetColors(gone, 201, 0, 0xC35014);
    tk::SetImage(gone, 101, L"load2", ControlKind::StretchedImage);
    tk::FinishDialog(gone, 0);
    tktest::PumpFor(100);

    CHECK(bystanderPaints == 0);
    tk::Counts after = tk::GetCounts();
    CHECK(after.records == before.records);
    CHECK(after.brushes == before.brushes);
    CHECK(after.pictures == before.pictures);
}

TEST_CASE("a modeless dialog that ends under a modal one leaves the owner disabled") {
    // The busy window ending while About is open over the main window.
    static HWND owner = nullptr, modeless = nullptr;
    static int ownerEnabledAfterModelessEnded = -1;
    owner = NewPixelsDialog(nullptr, 300, 200);
    tk::ShowModeless(owner, nullptr);
    modeless = NewPixelsDialog(owner, 200, 100, WS_CAPTION);
    tk::ShowModeless(modeless, nullptr);
    HWND modal = NewPixelsDialog(owner, 200, 100);
    SetTimer(modal, 1, 100, nullptr);
    tk::ShowModal(modal, [](HWND window, UINT message, WPARAM, LPARAM) -> int32_t {
        if (message != WM_TIMER) return 0;
        KillTimer(window, 1);
        tk::FinishDialog(modeless, 0);
        ownerEnabledAfterModelessEnded = IsWindowEnabled(owner);
        tk::FinishDialog(window, 0);
        return 1;
    });
    CHECK_FALSE(IsWindow(modeless));
    CHECK(ownerEnabledAfterModelessEnded == 0);
    CHECK(IsWindowEnabled(owner));  // given back by the modal dialog that took it
    tk::FinishDialog(owner, 0);
}
