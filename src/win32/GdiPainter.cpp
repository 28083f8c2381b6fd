// The rest screen's drawing, with GDI.
#include "win32/Win32Ports.h"

#include "win32/ShellHelpers.h"
#include "win32/Wide.h"

namespace lumivar {

namespace {
// The face of Windows' own Chinese interface; the font mapper finds the nearest elsewhere.
constexpr wchar_t kUiFace[] = L"Microsoft YaHei UI";
}  // namespace

GdiPainter::GdiPainter(HDC dc, CBackgroundPicture* picture, int dpi)
    : m_dc(dc),
      m_picture(picture),
      m_textFont(CreateFontW(ScaleForDpi(40, dpi), ScaleForDpi(20, dpi), 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                             CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Brush Script MT")),
      m_defaultFont(GetCurrentObject(dc, OBJ_FONT)) {
    SetBkMode(dc, TRANSPARENT);
    // The countdown and the clock: the height of the old System font at 96 DPI, in a face
    // that scales (a bitmap face grows by whole steps and came out twice as large at 150 %).
    m_cornerFont.Reset(CreateFontW(ScaleForDpi(16, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, 0, kUiFace));
}

// The DC outlives the painter: it gets its own font back before ours goes.
GdiPainter::~GdiPainter() { SelectObject(m_dc, m_defaultFont); }

void GdiPainter::Select(Font font) {
    HGDIOBJ corner = m_cornerFont.Get() ? HGDIOBJ(m_cornerFont.Get()) : m_defaultFont;
    SelectObject(m_dc, font == Font::Text ? HGDIOBJ(m_textFont.Get()) : corner);
}

void GdiPainter::FillRect(const Rect& rc, Colorref color) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    const RECT r = ToRECT(rc);
    ::FillRect(m_dc, &r, brush.Get());
}

Size GdiPainter::MeasureText(Font font, const std::string& text) {
    Select(font);
    const std::wstring w = Wide(text);
    SIZE sz{};
    GetTextExtentPoint32W(m_dc, w.c_str(), int(w.size()), &sz);
    return {sz.cx, sz.cy};
}

void GdiPainter::DrawString(Font font, int x, int y, const std::string& text, Colorref color) {
    Select(font);
    SetTextColor(m_dc, color);
    const std::wstring w = Wide(text);
    TextOutW(m_dc, x, y, w.c_str(), int(w.size()));
}

void GdiPainter::DrawPicture(const Rect& rc) {
    if (m_picture) m_picture->Render(m_dc, rc);
}

}  // namespace lumivar
