// Registered fonts: one FontRecord per description, in a list behind its own
// spin lock. A record has a GDI font for each scale a control shows it at,
// made on first use there and shared by every control given that id at that
// scale; FreeFont deletes the ones no control shows, and a dialog moved to
// another scale lets go of those it alone used at the old one.
#include <atomic>
#include <new>

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

struct FontAtScale {
    FontAtScale* next;
    UINT dpi;
    HFONT gdiFont;  // owned
    int32_t uses;   // controls showing it now
};

struct FontRecord {
    FontRecord* next;
    int32_t id;  // the number of records when it was registered, plus one
    FontAtScale* scales;
    FontDescription description;
};

constexpr int32_t kBuiltInFonts = 3;

SpinLock g_fontLock;
FontRecord* g_fonts = nullptr;  // oldest first, so ids ascend
int32_t g_fontCount = 0;
std::atomic<int> g_liveGdiFonts{0};

// Lock held. Appends a record; 0 when it cannot be made.
int32_t AppendFont(const FontDescription& description) {
    FontRecord* font = new (std::nothrow) FontRecord{nullptr, g_fontCount + 1, nullptr, description};
    if (!font) return 0;
    FontRecord** link = &g_fonts;
    while (*link) link = &(*link)->next;
    *link = font;
    ++g_fontCount;
    return font->id;
}

// Lock held. The three fonts every run starts with: the dialogs' font and two
// fixed-pitch ones (id 2 at the platform's default height).
void RegisterBuiltInFonts() {
    if (g_fonts) return;
    FontDescription dialogFont = DescribeFont(L"MS Sans Serif", 8, 0, 0, 0, 0);
    FontDescription console = DescribeFont(L"Lucida Console", 11, 0, 0, FIXED_PITCH, 0);
    FontDescription consoleDefault = console;
    consoleDefault.points = 0;
    AppendFont(dialogFont);
    AppendFont(consoleDefault);
    AppendFont(console);
}

// Lock held.
FontRecord* FindFont(int32_t id) {
    RegisterBuiltInFonts();
    for (FontRecord* font = g_fonts; font; font = font->next)
        if (font->id == id) return font;
    return nullptr;
}

// Lock held.
FontAtScale* FindScale(FontRecord* font, UINT dpi) {
    for (FontAtScale* scale = font ? font->scales : nullptr; scale; scale = scale->next)
        if (scale->dpi == dpi) return scale;
    return nullptr;
}

// Takes the GDI fonts that no control shows out of the record, at dpi or (for
// 0) at every scale, and deletes them.
void DeleteUnused(FontRecord* font, UINT dpi) {
    FontAtScale* unused = nullptr;
    {
        SpinLockHold hold(g_fontLock);
        for (FontAtScale** link = &font->scales; *link;) {
            FontAtScale* scale = *link;
            if (scale->uses != 0 || (dpi != 0 && scale->dpi != dpi)) {
                link = &scale->next;
                continue;
            }
            *link = scale->next;
            scale->next = unused;
            unused = scale;
        }
    }
    while (FontAtScale* scale = unused) {
        unused = scale->next;
        DeleteObject(scale->gdiFont);
        --g_liveGdiFonts;
        delete scale;
    }
}

// Makes the GDI font of a registered font for dpi; false when it cannot.
bool MakeFontAt(int32_t fontId, UINT dpi) {
    FontDescription description;
    if (!RegisteredFont(fontId, &description)) return false;
    description.logFont.lfHeight = ScaledFontHeight(description.points, dpi);
    HFONT made = CreateFontIndirectW(&description.logFont);
    FontAtScale* scale = made ? new (std::nothrow) FontAtScale{nullptr, dpi, made, 0} : nullptr;
    if (!scale) {
        if (made) DeleteObject(made);
        return false;
    }
    ++g_liveGdiFonts;
    SpinLockHold hold(g_fontLock);
    FontRecord* font = FindFont(fontId);
    scale->next = font->scales;
    font->scales = scale;
    return true;
}

}  // namespace

int32_t NewFont(const std::wstring& face, float points, int32_t style, int32_t charSet, int32_t pitchAndFamily,
                int32_t escapement) {
    FontDescription description = DescribeFont(face, points, style, charSet, pitchAndFamily, escapement);
    SpinLockHold hold(g_fontLock);
    RegisterBuiltInFonts();
    for (FontRecord* font = g_fonts; font; font = font->next)
        if (SameFont(font->description, description)) return font->id;
    return AppendFont(description);
}

HFONT UseFont(int32_t fontId, UINT dpi) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        {
            SpinLockHold hold(g_fontLock);
            if (FontAtScale* scale = FindScale(FindFont(fontId), dpi)) {
                ++scale->uses;
                return scale->gdiFont;
            }
        }
        if (!MakeFontAt(fontId, dpi)) return nullptr;
    }
    return nullptr;
}

void DropFontUse(int32_t fontId, UINT dpi) {
    if (fontId == 0) return;
    SpinLockHold hold(g_fontLock);
    if (FontAtScale* scale = FindScale(FindFont(fontId), dpi)) --scale->uses;
}

void SetControlFont(HWND dialog, int32_t controlId, int32_t fontId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (fontId == 0) fontId = 1;
    if (!HasRecord(control)) return;
    UINT dpi = ContentDpi(dialog);
    HFONT gdiFont = UseFont(fontId, dpi);
    if (!gdiFont) return;
    SendMessageW(control, WM_SETFONT, (WPARAM)gdiFont, TRUE);

    int32_t previous = 0;
    UINT previousDpi = 0;
    WithRecord(control, [&](WindowRecord& record) {
        previous = record.fontId;
        previousDpi = record.fontDpi;
        record.fontId = fontId;
        record.fontDpi = dpi;
    });
    DropFontUse(previous, previousDpi);
}

void FreeFont(int32_t fontId) {
    if (fontId >= 1 && fontId <= kBuiltInFonts) return;
    FontRecord* font = nullptr;
    {
        SpinLockHold hold(g_fontLock);
        font = FindFont(fontId);
    }
    if (font) DeleteUnused(font, 0);
}

void ReleaseUnusedFonts(UINT dpi) {
    for (int32_t id = 1;; ++id) {
        FontRecord* font = nullptr;
        {
            SpinLockHold hold(g_fontLock);
            font = FindFont(id);
        }
        if (!font) return;
        DeleteUnused(font, dpi);
    }
}

bool RegisteredFont(int32_t fontId, FontDescription* description) {
    SpinLockHold hold(g_fontLock);
    FontRecord* font = FindFont(fontId);
    if (font) *description = font->description;
    return font != nullptr;
}

int LiveGdiFonts() { return g_liveGdiFonts; }

}  // namespace tk
