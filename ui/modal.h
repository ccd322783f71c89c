// Every modal box of the program opens through here, so that what the whole program holds
// while no box is open (the system-wide hotkeys) is let go for the box and taken back after:
// Enter then answers the box, and the arrow keys work inside it.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

namespace ui {

// Called when the first modal box opens and when the last one has closed.
void SetModalObservers(std::function<void()> opening, std::function<void()> closed);

// Open while it lives; nests.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// MessageBoxW with UTF-8 texts, inside a ModalScope.
int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT flags);

}  // namespace ui
