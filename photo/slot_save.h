// Saving a Photo slot as <Student identity>.jpg in the Photo directory, after the operator
// confirms it.
#pragma once

namespace ui {
class Window;
}

namespace photo {

// The double-click handler of the slot's drawing board; `slot` is 1 to 4.
void SaveSlot(ui::Window& window, int slot);

}  // namespace photo
