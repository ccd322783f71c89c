// The ID-card reader: opening it at start-up, reading a card, naming the student.
#pragma once

namespace ui {
class Window;
}

namespace reader {

// Writes any missing reader file beside the program, then tries ports 1 to 1200 in
// order; 1 when one opened, 0 when none did.
int InitialiseReader();

// With a reader the Read-card button stays; without one the Photo button stays and the
// name bar asks for the name by hand.
void ChooseStartupButton(ui::Window& window, int readerFound);

// Event handlers of the Main window.
void OnReadCard(ui::Window& window);
void OnNameLabelPressed(ui::Window& window);

}  // namespace reader
