// Painting of the controls a window draws itself (shape boxes, labels, group frames),
// with the fonts and brushes they need kept for the window's life.
#pragma once

#include "platform/owners.h"
#include "ui/control_tree.h"

#include <map>
#include <utility>
#include <vector>

namespace ui {

COLORREF Resolve(Colour colour);

class GdiCache {
public:
    HFONT Font(const FontChoice& choice);
    HBRUSH Brush(Colour colour);

private:
    std::vector<std::pair<FontChoice, platform::UniqueFont>> fonts_;
    std::map<COLORREF, platform::UniqueBrush> brushes_;
};

// Fill with the background, then an outline of `width` pixels inside the edge.
void PaintShapeBox(HDC dc, const RECT& r, Colour background, Colour outline, int width, GdiCache& cache);
void PaintLabel(HDC dc, const RECT& r, const ControlState& label, GdiCache& cache);
void PaintGroupBox(HDC dc, const RECT& r, const ControlState& group, GdiCache& cache);

// A control its window paints, by its kind (the kind registry, control_kinds.cpp).
void PaintWindowless(HDC dc, const RECT& r, const ControlState& control, GdiCache& cache);

inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.Right(), r.Bottom()}; }

}  // namespace ui
