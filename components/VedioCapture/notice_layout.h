// Where the stopped-picture notice goes in the picture. The preview's window may be larger
// than what the operator sees of it (zoomed in, or panned so that part of it lies outside
// the frame around it): the notice is centred on the visible part and sized to it, so all
// of it reads at every zoom and pan. Portable, so it is tested without a window.
#pragma once

namespace vedio {

struct NoticeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const NoticeRect&) const = default;
};

// The overlap of two rectangles; empty (all zero) when they do not meet.
NoticeRect Intersect(const NoticeRect& a, const NoticeRect& b);

struct NoticeLayout {
    NoticeRect band;    // the dark band, across the visible width
    NoticeRect title;   // the heading's line
    NoticeRect advice;  // the advice's line
    int titleHeight = 0;   // font heights in pixels
    int adviceHeight = 0;
};

// The notice for a `width` x `height` picture of which `visible` (in the picture's
// coordinates) is seen; an empty or outside `visible` counts as the whole picture.
// `titleChars` and `adviceChars` are the lengths of the two lines in full-width characters,
// which are about as wide as the font is high: the fonts shrink until both lines fit.
NoticeLayout LayOutNotice(int width, int height, NoticeRect visible, int titleChars, int adviceChars);

}  // namespace vedio
