#include "notice_layout.h"

#include <algorithm>

namespace vedio {

NoticeRect Intersect(const NoticeRect& a, const NoticeRect& b) {
    const NoticeRect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                             std::min(a.bottom, b.bottom)};
    return overlap.Empty() ? NoticeRect{} : overlap;
}

namespace {
// A font height that fits `chars` full-width characters in `width`, with a margin of one
// character, within [smallest, largest]; the smallest wins when nothing fits.
int FittingHeight(int wanted, int width, int chars, int smallest, int largest) {
    const int fitting = chars > 0 ? width / (chars + 1) : largest;
    return std::max(smallest, std::min({wanted, fitting, largest}));
}
}  // namespace

NoticeLayout LayOutNotice(int width, int height, NoticeRect visible, int titleChars, int adviceChars) {
    const NoticeRect picture{0, 0, std::max(width, 0), std::max(height, 0)};
    NoticeRect area = Intersect(picture, visible);
    if (area.Empty()) area = picture;

    NoticeLayout layout;
    // Large on a large view, never so small that it cannot be read, never wider than the view.
    layout.titleHeight = FittingHeight(area.Height() / 10, area.Width(), titleChars, 10, 48);
    layout.adviceHeight = FittingHeight(area.Height() / 18, area.Width(), adviceChars, 9, 28);
    const int bandHeight = std::min(layout.titleHeight * 2 + layout.adviceHeight, area.Height());
    const int top = area.top + (area.Height() - bandHeight) / 2;
    layout.band = {area.left, top, area.right, top + bandHeight};
    const int margin = layout.titleHeight / 4;
    layout.title = {area.left, top + margin, area.right, top + margin + layout.titleHeight * 5 / 4};
    layout.advice = {area.left, layout.title.bottom, area.right, std::max(layout.title.bottom, layout.band.bottom - margin)};
    return layout;
}

}  // namespace vedio
