// A modal box that asks for one line of text: a prompt, an edit field, OK and Cancel.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct InputBoxArgs {
    HWND owner = nullptr;
    std::string_view title;    // UTF-8
    std::string_view prompt;   // UTF-8; CR LF breaks lines
    std::string_view initial;  // the field's text when the box opens
    // Asked on OK with the typed text: an empty answer accepts it, any other text is shown
    // to the operator and the box stays open.
    std::function<std::string(std::string_view)> refusal;
};

// The confirmed text, or nullopt when the box was cancelled (Cancel, Esc, its close box).
// Opens inside a ModalScope, so the program's hotkeys are let go while it is open.
std::optional<std::string> AskForText(const InputBoxArgs& args);

// Control identifiers, for the tests that answer the box.
inline constexpr int kInputBoxEditId = 1001;
inline constexpr int kInputBoxPromptId = 1002;

}  // namespace ui
