// Where the preview box sits inside its frame for a given preview height, and the zoom
// slider's heights.
#pragma once

#include "ui/template.h"

#include <optional>

namespace camera {

// The steps of the placement, each from what the box reports back after the step before:
// the width from the height, the left edge from the width, the top edge from the height.
// Double arithmetic, truncated toward zero.
int PreviewWidth(int height);
int PreviewLeft(int width);
int PreviewTop(int height);

// The preview box for height h, relative to the frame 外形框3.
ui::Rect PreviewRect(int height);

// The slider's preview height for position p, or nullopt outside 1 to 10.
std::optional<int> ZoomHeight(int position);

}  // namespace camera
