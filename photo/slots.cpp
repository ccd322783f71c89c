#include "photo/slots.h"

#include "ui/window.h"

namespace photo {

namespace {
int nextSlot = 1;
}  // namespace

int NextSlot() { return nextSlot; }
void ResetNextSlot() { nextSlot = 1; }

// Capture, slot selection, brightness and saving come with their own pieces of work.
void OnPhotoButtonDown(ui::Window&) {}
void OnPhotoButtonUp(ui::Window&) {}
void OnSlotPressed(ui::Window&, int) {}
void OnSlotGotFocus(ui::Window&, int) {}
void OnSlotLostFocus(ui::Window&, int) {}
void OnSlotDoubleClick(ui::Window&, int) {}
void OnBrightnessDown(ui::Window&, int, Direction) {}
void OnBrightnessUp(ui::Window&, int, Direction) {}

}  // namespace photo
