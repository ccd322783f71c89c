// The four Photo slots: capture into them, selecting one, brightening and saving.
#pragma once

namespace ui {
class Window;
}

namespace photo {

enum class Direction { Brighter = 1, Darker = 2 };

// The slot the next capture fills, 1 to 4.
int NextSlot();
void ResetNextSlot();

// Event handlers of the Main window; `slot` is 1 to 4.
void OnPhotoButtonDown(ui::Window& window);
void OnPhotoButtonUp(ui::Window& window);
void OnSlotPressed(ui::Window& window, int slot);
void OnSlotGotFocus(ui::Window& window, int slot);
void OnSlotLostFocus(ui::Window& window, int slot);
void OnSlotDoubleClick(ui::Window& window, int slot);
void OnBrightnessDown(ui::Window& window, int slot, Direction direction);
void OnBrightnessUp(ui::Window& window, int slot, Direction direction);

}  // namespace photo
