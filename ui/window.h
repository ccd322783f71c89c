// A top-level window realised from its Template: native child windows where the platform
// must own one, everything else painted by the window in one double-buffered pass. Events
// reach handlers through the window's binding table; handlers reach controls by name.
#pragma once

#include "platform/owners.h"
#include "ui/control_tree.h"
#include "ui/paint.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Gdiplus {
class Bitmap;
}

namespace ui {

enum class ControlEvent {
    Clicked,          // push button, graphic button
    LeftDown,
    LeftUp,
    DoubleClick,
    MouseMove,
    GotFocus,
    LostFocus,
    EntryDoubleClick,  // list box
    PositionChanged,   // slider
};

class Window;
using Handler = std::function<void(Window&)>;

// Sees a window's messages before the engine does. A value consumes the message and is
// its result; nullopt passes it on (to the next hook, then to the engine).
using MessageHook = std::function<std::optional<LRESULT>(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

struct EventBinding {
    std::string_view control;
    ControlEvent event;
    Handler handler;
};

struct MenuBinding {
    std::string_view item;
    Handler handler;
};

struct WindowBehaviour {
    std::vector<EventBinding> events;
    std::vector<MenuBinding> menu;
    Handler created;           // runs after every control exists, before the window shows
    bool endsProgram = false;  // destroying it ends the message loop
    // Asked before the window closes (close button, Esc, the system's close); false keeps
    // it open. May open a modal box.
    std::function<bool(Window&)> closing;
};

// Whether a control of this kind can raise the event at all.
bool CanRaise(ControlKind kind, ControlEvent event);

// A control of a window, found by its Template name. A name the window does not know
// gives an empty reference whose operations do nothing.
class Control {
public:
    Control(Window* window, int index) : window_(window), index_(index) {}
    explicit operator bool() const { return window_ && index_ >= 0; }

    std::string Caption() const;
    void SetCaption(std::string_view utf8);
    Colour TextColour() const;
    void SetTextColour(Colour colour);
    void SetOutline(Colour colour, int width);
    bool IsVisible() const;  // the control's own flag
    bool IsShown() const;    // and every container's
    void SetVisible(bool visible);
    Rect Geometry() const;   // relative to the parent
    void SetGeometry(const Rect& rect);
    HWND Handle() const;     // null for controls the window paints itself
    void Focus();
    void SetPicture(std::vector<std::uint8_t> bmpFile);  // drawing board
    const std::vector<std::uint8_t>& Picture() const;
    void AddItem(std::string_view utf8);                  // list box
    int Selection() const;
    void SetSelection(int index);
    int Position() const;                                 // slider

    // Lets a module take over a native control's messages (painting among them) while
    // the hook is set; an empty hook gives them back to the engine.
    void SetMessageHook(MessageHook hook);

private:
    Window* window_;
    int index_;
};

class Window {
public:
    // Creates the window centred on the screen, runs the created handler, then shows it.
    static std::unique_ptr<Window> Create(const WindowTemplate& layout, WindowBehaviour behaviour,
                                          HWND owner = nullptr);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    static Window* FromHandle(HWND window);

    HWND Handle() const { return hwnd_; }
    bool IsAlive() const { return hwnd_ != nullptr; }
    Control operator[](std::string_view name) { return {this, tree_.IndexOf(name)}; }
    const ControlTree& Tree() const { return tree_; }
    // Bindings that name no control, or an event the control cannot raise.
    const std::vector<std::string>& BindingErrors() const { return bindingErrors_; }

    void SetMenuItemVisible(std::string_view caption, bool visible);
    bool HasMenuBar() const;
    // Pops the items of a top-level menu up at the mouse pointer.
    void PopUpMenu(std::string_view caption);
    // Destroys the window unless the behaviour's closing says no; a request while that
    // question is open is the same request.
    void Close();

    // Hooks on the window's own messages, run in the order added. The identifier removes
    // the hook again; a hook may remove itself while it runs.
    int AddMessageHook(MessageHook hook);
    void RemoveMessageHook(int id);

    // The pixels of everything the window paints itself, inside `area` (client coordinates).
    void PaintContent(HDC dc, const RECT& area);

private:
    friend class Control;
    struct Native;
    struct Binding {
        int control;
        ControlEvent event;
        Handler handler;
    };
    struct MenuEntry {
        std::string caption;
        int level;
        bool visible = true;
        platform::UniqueMenu popup;  // top-level items
        Handler handler;
    };

    Window(ControlTree tree, WindowBehaviour behaviour);
    bool CreateNativeWindow(int index);
    void BuildMenu(std::span<const MenuItemRow> items, std::vector<MenuBinding>& bindings);
    void AttachMenuBar();

    void Fire(int control, ControlEvent event);
    bool IsBound(int control, ControlEvent event) const;
    void Invalidate(int control);
    void SyncNativeVisibility(int under);
    void PlaceNativeWindows(int under);
    int IndexOfHandle(HWND child) const;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> RunHooks(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouse(UINT message, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnControlColour(HDC dc, HWND child);
    bool AnswerQuery(HWND asker, const void* data, std::size_t bytes);

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK NativeControlProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleNativeMessage(int index, HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    void PaintNative(int index, HWND child, HDC dc);

    HWND hwnd_ = nullptr;
    ControlTree tree_;
    WindowBehaviour behaviour_;
    std::vector<Binding> bindings_;
    std::vector<std::string> bindingErrors_;
    std::vector<std::unique_ptr<Native>> natives_;  // by control index; null when windowless
    std::vector<MenuEntry> menu_;
    platform::UniqueMenu menuBar_;
    bool menuAttached_ = false;
    bool menuOpen_ = false;
    int pressed_ = -1;  // windowless control that got the last left press
    bool askingToClose_ = false;
    GdiCache cache_;
    std::vector<std::pair<int, MessageHook>> hooks_;
    int nextHookId_ = 1;
};

}  // namespace ui
