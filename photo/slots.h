// The four Photo slots: the slot images this subsystem owns, capture into them, selecting
// one, and the press handlers of the brightness buttons. A drawing board only shows a copy.
#pragma once

#include "photo/slot_image.h"

#include <cstdint>
#include <vector>

namespace ui {
class Window;
}

namespace photo {

inline constexpr int kSlotCount = 4;

// The slot the next capture fills, 1 to 4.
int NextSlot();
void ResetNextSlot();

// Slot `slot`'s image (1 to 4); empty until the first capture into it.
const std::vector<std::uint8_t>& SlotImage(int slot);
// Replaces slot `slot`'s image and shows it on its drawing board.
void SetSlotImage(ui::Window& window, int slot, std::vector<std::uint8_t> image);

// Whether a capture or an adjustment happened since the last photo was saved.
bool HasUnsavedPhotos();
void MarkPhotosSaved();

// Copies the preview frame into the next slot and advances the counter.
void Capture(ui::Window& window);

// Event handlers of the Main window; `slot` is 1 to 4.
void OnSlotPressed(ui::Window& window, int slot);
void OnSlotGotFocus(ui::Window& window, int slot);
void OnSlotLostFocus(ui::Window& window, int slot);
// Brightens or darkens the slot by one step.
void AdjustSlot(ui::Window& window, int slot, Direction direction);

}  // namespace photo
