// A top-level window realised from its Template: native child windows where the platform
// must own one (each kind a class of its own, native_control.h), everything else painted by
// the window in one double-buffered pass. Events reach handlers through the window's
// binding table; code reaches controls through handles resolved from their ids.
#pragma once

#include "platform/owners.h"
#include "ui/control.h"
#include "ui/control_tree.h"
#include "ui/kind_traits.h"
#include "ui/paint.h"
#include "ui/post_queue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

using Handler = std::function<void(Window&)>;

struct EventBinding {
    AnyControlId control;
    ControlEvent event;
    Handler handler;
};

struct MenuBinding {
    std::string_view item;
    Handler handler;
};

// A key the window answers while it is the active window, pressed without Ctrl or Alt,
// whichever of its controls has the keyboard; the control never sees it.
struct KeyBinding {
    UINT virtualKey;
    Handler handler;
};

struct WindowBehaviour {
    std::vector<EventBinding> events;
    std::vector<MenuBinding> menu;
    std::vector<KeyBinding> keys;
    Handler created;           // runs after every control exists, before the window shows
    Handler shown;             // runs once the window shows and has been painted
    bool endsProgram = false;  // destroying it ends the message loop
    // Asked before the window closes (close button, Esc, the system's close); false keeps
    // it open. May open a modal box.
    std::function<bool(Window&)> closing;
    // Asked when Windows shuts down or the user logs off (WM_QUERYENDSESSION); false refuses.
    // May open a modal box.
    std::function<bool(Window&)> endingSession;
};

// What a native control asks of the window that holds it.
class ControlHost {
public:
    virtual void Fire(int control, ControlEvent event) = 0;
    virtual bool IsBound(int control, ControlEvent event) const = 0;
    virtual GdiCache& Cache() = 0;
    // Notifications a native control gets from the platform's controls inside it
    // (WM_COMMAND, WM_CTLCOLOR...), answered by the window, which knows every control.
    virtual LRESULT Notify(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~ControlHost() = default;
};

class Window final : private ControlHost {
public:
    // Creates the window centred on the screen, runs the created handler, then shows it.
    // The caller owns it; destroying its native window leaves the object to the caller.
    static std::unique_ptr<Window> Create(const WindowTemplate& layout, WindowBehaviour behaviour,
                                          HWND owner = nullptr);
    // The same for a window that owns itself: once its native window is destroyed (closed,
    // Esc, a handler), the object frees itself as soon as no message of it is being handled,
    // so a handler never runs on a freed window. Null when it could not be created or was
    // closed while being created. The pointer is good until Lifetime() expires.
    static Window* Open(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner = nullptr);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    static Window* FromHandle(HWND window);

    HWND Handle() const { return hwnd_; }
    bool IsAlive() const { return hwnd_ != nullptr; }
    // Expires when the object is gone.
    std::weak_ptr<const void> Lifetime() const { return lifetime_; }
    // The control `id` names, as the handle of its kind. An id the Template does not have,
    // or has as another kind, is a fault of the program: it joins BindingErrors and gives an
    // empty handle whose operations do nothing.
    template <ControlKind Kind>
    typename HandleFor<Kind>::type Get(ControlId<Kind> id) {
        return typename HandleFor<Kind>::type(this, IndexOfId(id));
    }
    Control Get(AnyControlId id) { return {this, IndexOfId(id)}; }
    // By name alone, without the kind check: for Templates made on the spot (tests, tools).
    Control operator[](std::string_view name) { return {this, tree_.IndexOf(name)}; }
    const ControlTree& Tree() const { return tree_; }
    // Bindings that name no control, a control of another kind, or an event the control
    // cannot raise, and ids asked for that the Template does not have as that kind.
    const std::vector<std::string>& BindingErrors() const { return bindingErrors_; }

    void SetMenuItemVisible(std::string_view caption, bool visible);
    // The check mark of a checkable item (false for any other item).
    bool IsMenuItemChecked(std::string_view caption) const;
    void SetMenuItemChecked(std::string_view caption, bool checked);
    bool HasMenuBar() const;
    // Pops the items of a top-level menu up at the mouse pointer.
    void PopUpMenu(std::string_view caption);
    // Destroys the window unless the behaviour's closing says no; a request while that
    // question is open is the same request.
    void Close();

    // The one way from another thread to this window: work posted through the poster runs
    // on the window's thread, in the order posted. What was posted before the window closes
    // still runs (as it closes); after that posting does nothing. An empty poster before
    // the native window exists.
    Poster MakePoster() const { return Poster(posts_); }

    // Hooks on the window's own messages, run in the order added. The identifier removes
    // the hook again; a hook may remove itself while it runs.
    int AddMessageHook(MessageHook hook);
    void RemoveMessageHook(int id);
    // How whatever stands beside this window (a guide over it) follows it: `moved` runs after
    // each move or resize, `activated` when it becomes the active window. A message hook.
    int FollowMoves(std::function<void()> moved, std::function<void()> activated = {});

    // Lets the controls see a key message meant for one of their windows before the message
    // loop handles it (a browser's own keys); true when one took it.
    bool PreTranslateForControls(MSG& message);
    // Runs the key binding a key press is meant for; true when one ran. Held keys repeating
    // run nothing more.
    bool RunKeyBinding(const MSG& message);

    // The pixels of everything the window paints itself, inside `area` (client coordinates).
    void PaintContent(HDC dc, const RECT& area);

private:
    friend class Control;
    friend class DispatchScope;
    friend class WindowAccessible;
    friend std::optional<LRESULT> AnswerAccessibility(Window&, UINT, WPARAM, LPARAM);
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
        HMENU inPopup = nullptr;  // items: the top-level item's popup they are in
        bool checkable = false;
        bool checked = false;
    };

    Window(ControlTree tree, WindowBehaviour behaviour, bool ownsItself);
    static Window* Build(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner, bool ownsItself);
    int IndexOfId(const AnyControlId& id) const;
    void CreateNativeControls();
    void BindEvents();
    void BuildMenu(std::span<const MenuItemRow> items, std::vector<MenuBinding>& bindings);
    void AttachMenuBar();
    void DetachMenuBar();
    void OnMenuCommand(int item);

    // ControlHost
    void Fire(int control, ControlEvent event) override;
    bool IsBound(int control, ControlEvent event) const override;
    GdiCache& Cache() override { return cache_; }
    LRESULT Notify(UINT message, WPARAM wParam, LPARAM lParam) override;

    NativeControl* NativeAt(int index) const { return natives_[static_cast<std::size_t>(index)].get(); }
    void Invalidate(int control);
    void SyncNativeVisibility(int under);
    void PlaceNativeWindows(int under);
    int IndexOfHandle(HWND child) const;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> RunHooks(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouse(UINT message, LPARAM lParam);
    // Whether `control` (or what holds it) was made visible after the press being handled
    // (`message` with `lParam`, from the queue) was made.
    bool ShownAfterPress(int control, UINT message, LPARAM lParam) const;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(LPARAM lParam);
    LRESULT OnControlColour(HDC dc, HWND child);
    void OnDestroyed();

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK NativeControlProc(HWND, UINT, WPARAM, LPARAM);

    HWND hwnd_ = nullptr;
    ControlTree tree_;
    WindowBehaviour behaviour_;
    const bool ownsItself_;
    int dispatchDepth_ = 0;  // messages and events of this window being handled now
    std::shared_ptr<char> lifetime_ = std::make_shared<char>();
    std::vector<Binding> bindings_;
    mutable std::vector<std::string> bindingErrors_;  // IndexOfId adds to it
    std::vector<std::unique_ptr<NativeControl>> natives_;  // by control index; null when windowless
    std::vector<MenuEntry> menu_;
    platform::UniqueMenu menuBar_;
    bool menuAttached_ = false;
    int pressed_ = -1;  // windowless control that got the last left press
    bool askingToClose_ = false;
    GdiCache cache_;
    std::shared_ptr<PostQueue> posts_;
    // A list, so a hook may add or remove hooks, or close the window, while it runs: removed
    // ones are only marked until no hook runs.
    struct HookEntry {
        int id;
        MessageHook hook;
        bool removed = false;
    };
    std::list<HookEntry> hooks_;
    int hooksRunning_ = 0;
    int nextHookId_ = 1;
};

}  // namespace ui
