#include "ui/paint.h"

#include "platform/win_text.h"

namespace ui {

COLORREF Resolve(Colour colour) {
    return colour == kButtonFace ? ::GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour.value);
}

HFONT GdiCache::Font(const FontChoice& choice) {
    if (choice.height == 0) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    for (const auto& [key, font] : fonts_)
        if (key == choice) return font.get();
    LOGFONTW lf{};
    lf.lfHeight = -choice.height;  // negative: character height, not cell height
    lf.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    const std::wstring face = platform::Wide(choice.face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    fonts_.emplace_back(choice, platform::UniqueFont(::CreateFontIndirectW(&lf)));
    return fonts_.back().second.get();
}

HBRUSH GdiCache::Brush(Colour colour) {
    const COLORREF ref = Resolve(colour);
    auto& brush = brushes_[ref];
    if (!brush) brush.reset(::CreateSolidBrush(ref));
    return brush.get();
}

void PaintShapeBox(HDC dc, const RECT& r, Colour background, Colour outline, int width, GdiCache& cache) {
    ::FillRect(dc, &r, cache.Brush(background));
    if (width <= 0) return;
    HBRUSH pen = cache.Brush(outline);
    const RECT edges[] = {
        {r.left, r.top, r.right, r.top + width},
        {r.left, r.bottom - width, r.right, r.bottom},
        {r.left, r.top, r.left + width, r.bottom},
        {r.right - width, r.top, r.right, r.bottom},
    };
    for (const RECT& e : edges) ::FillRect(dc, &e, pen);
}

namespace {
UINT AlignmentFlags(const ControlState& label, bool singleLine) {
    const ControlRow& row = *label.row;
    UINT flags = DT_NOPREFIX;
    flags |= row.hAlign == HAlign::Left ? DT_LEFT : row.hAlign == HAlign::Right ? DT_RIGHT : DT_CENTER;
    if (row.wrap) return flags | DT_WORDBREAK;  // wrapped text is laid out from the top
    if (!singleLine) return flags;
    flags |= DT_SINGLELINE;
    flags |= row.vAlign == VAlign::Top ? DT_TOP : row.vAlign == VAlign::Bottom ? DT_BOTTOM : DT_VCENTER;
    return flags;
}
}  // namespace

void PaintLabel(HDC dc, const RECT& r, const ControlState& label, GdiCache& cache) {
    if (label.caption.empty()) return;
    std::wstring text = platform::Wide(label.caption);
    const bool singleLine = text.find_first_of(L"\r\n") == std::wstring::npos;
    const UINT flags = AlignmentFlags(label, singleLine);
    platform::Selection font(dc, cache.Font(label.row->font));
    ::SetBkMode(dc, TRANSPARENT);
    RECT place = r;
    if (label.row->effect == TextEffect::Raised) {
        // A white copy underneath, the coloured one a pixel right and down: raised type.
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &place, flags);
        ::OffsetRect(&place, 1, 1);
    }
    ::SetTextColor(dc, Resolve(label.text));
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &place, flags);
}

void PaintGroupBox(HDC dc, const RECT& r, const ControlState& group, GdiCache& cache) {
    ::FillRect(dc, &r, cache.Brush(group.row->background));
    platform::Selection font(dc, cache.Font(group.row->font));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    // Like the platform's group box, the frame runs through the middle of the caption line.
    RECT frame = r;
    frame.top += tm.tmHeight / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (group.caption.empty()) return;

    std::wstring text = platform::Wide(group.caption);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    constexpr int kInset = 8;
    const int width = size.cx + 4;
    int left = r.left + kInset;
    if (group.row->hAlign == HAlign::Centre) left = r.left + (r.right - r.left - width) / 2;
    if (group.row->hAlign == HAlign::Right) left = r.right - kInset - width;
    RECT caption{left, r.top, left + width, r.top + tm.tmHeight};
    ::FillRect(dc, &caption, cache.Brush(group.row->background));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Resolve(group.text));
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &caption, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace ui
