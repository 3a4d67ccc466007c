// Release paths: what the toolkit makes for a window is gone once the window is.
#include <doctest.h>

#include <windows.h>

#include "toolkit/toolkit.h"
#include "toolkit_support.h"

namespace {

// One window of the program's kind, built, shown, finished, then its fonts freed.
void BuildShowAndFinish(bool modal) {
    tktest::SampleDialog sample =
        tktest::BuildSampleDialog(modal ? tk::CoordinateMode::DialogUnits : tk::CoordinateMode::Pixels);
    REQUIRE(sample.window != nullptr);
    if (modal) {
        SetTimer(sample.window, 1, 1, nullptr);
        tk::ShowModal(sample.window, tktest::FinishOnTimer);
    } else {
        tk::ShowModeless(sample.window, nullptr);
        tk::PumpEvents(0);
        tk::FinishDialog(sample.window, 0);
    }
    CHECK_FALSE(IsWindow(sample.window));
    for (int32_t font : sample.fonts) tk::FreeFont(font);
}

bool SameCounts(const tk::Counts& a, const tk::Counts& b) {
    return a.records == b.records && a.brushes == b.brushes && a.gdiFonts == b.gdiFonts &&
           a.pictures == b.pictures && a.icons == b.icons && a.liveDialogs == b.liveDialogs;
}

}  // namespace

TEST_CASE("a window built, shown and finished 200 times leaves nothing behind") {
    // One round first: the platform makes its own caches and stock objects once.
    BuildShowAndFinish(true);
    BuildShowAndFinish(false);
    tk::Counts before = tk::GetCounts();
    int gdiBefore = test::GdiObjectCount();
    CAPTURE(gdiBefore);

    for (int i = 0; i < 200; ++i) BuildShowAndFinish(i % 2 == 0);

    tk::Counts after = tk::GetCounts();
    CHECK(SameCounts(before, after));
    CHECK(after.records == 0);
    CHECK(after.brushes == 0);
    CHECK(after.pictures == 0);
    CHECK(after.icons == 0);
    CHECK(after.liveDialogs == 0);
    CHECK(after.gdiFonts == before.gdiFonts);
    if (gdiBefore > 0) CHECK(test::GdiObjectCount() == gdiBefore);
}

TEST_CASE("what a live window holds is counted, and released with it") {
    tk::Counts empty = tk::GetCounts();
    int32_t font = tk::NewFont(L"Times New Roman", 45, 0, 0, 0, 0);
    HWND dialog = tk::NewDialog(tk::CoordinateMode::Pixels, nullptr, L"Counted", tk::DefaultPosition,
                                tk::DefaultPosition, 300, 200, 0, 0);
    tk::AddControl(tk::ControlKind::Label, dialog, 1, L"Text", 0, 0, 100, 60, 0, 0);
    tk::AddControl(tk::ControlKind::Image, dialog, 2, L"patent", 100, 0, 0, 0, 0, 0);
    tk::SetControlFont(dialog, 1, font);
    tk::SetColors(dialog, 1, 0, 0x00FF00);
    tk::SetDialogIcon(dialog, L"video");

    tk::Counts live = tk::GetCounts();
    CHECK(live.records == empty.records + 3);
    CHECK(live.brushes == empty.brushes + 1);
    CHECK(live.gdiFonts == empty.gdiFonts + 1);
    CHECK(live.pictures == empty.pictures + 1);
    CHECK(live.icons == empty.icons + 2);
    CHECK(live.liveDialogs == empty.liveDialogs + 1);

    HFONT templateFont = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
    CHECK(GetObjectType(templateFont) == OBJ_FONT);
    DestroyWindow(dialog);  // not through FinishDialog: WM_NCDESTROY alone releases
    CHECK(GetObjectType(templateFont) == 0);  // the dialog manager's own font went with it
    tk::Counts gone = tk::GetCounts();
    CHECK(gone.records == empty.records);
    CHECK(gone.brushes == empty.brushes);
    CHECK(gone.pictures == empty.pictures);
    CHECK(gone.icons == empty.icons);
    CHECK(gone.liveDialogs == empty.liveDialogs);
    CHECK(gone.gdiFonts == empty.gdiFonts + 1);  // the font stays until it is freed
    tk::FreeFont(font);
    CHECK(tk::GetCounts().gdiFonts == empty.gdiFonts);
}
