// The accessible object of a Template window's client. It holds its window weakly: once the
// window is gone every call fails with RPC_E_DISCONNECTED and touches nothing of it.
#include "ui/window_accessible.h"

#include "platform/com_ptr.h"
#include "platform/win_text.h"
#include "ui/accessibility.h"
#include "ui/native_control.h"
#include "ui/window.h"

#include <ole2.h>
#include <oleacc.h>

#include <memory>
#include <string>

namespace ui {

namespace {

// What a press is called, as the platform's Chinese buttons call theirs.
constexpr char kPressAction[] = "按下";

// A string for the caller; an empty one is no string at all (S_FALSE) unless it is a value.
HRESULT GiveText(const std::string& utf8, BSTR* out, bool emptyIsAnAnswer = false) {
    *out = nullptr;
    if (utf8.empty() && !emptyIsAnAnswer) return S_FALSE;
    const std::wstring wide = platform::Wide(utf8);
    *out = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}


// The deepest visible window under a point of `top`'s client area.
HWND DeepestWindowAt(HWND top, POINT client) {
    HWND current = top;
    for (;;) {
        HWND child = ::ChildWindowFromPointEx(current, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == current) return current;
        ::MapWindowPoints(current, child, &client, 1);
        current = child;
    }
}

bool Within(HWND outer, HWND window) { return window && (window == outer || ::IsChild(outer, window)); }

// The platform's own object for a control's window.
HRESULT WindowObject(HWND window, IDispatch** out) { return AccessibleObjectOfWindow(window, out); }

}  // namespace

class WindowAccessible final : public IAccessible, public IOleWindow {
public:
    explicit WindowAccessible(Window& window)
        : window_(&window), lifetime_(window.Lifetime()), thread_(::GetCurrentThreadId()) {}
    WindowAccessible(const WindowAccessible&) = delete;
    WindowAccessible& operator=(const WindowAccessible&) = delete;

    // What the window does with a press the object asked for.
    static void Press(Window& w, WPARAM control) {
        if (control >= static_cast<WPARAM>(w.tree_.Count())) return;
        const int index = static_cast<int>(control);
        // As a click would find it: a control that has gone, or a window under a modal box,
        // takes no press.
        if (!IsPressedLikeAButton(w, index) || !w.tree_.IsShown(index) || !::IsWindowEnabled(w.hwnd_)) return;
        w.Fire(index, ControlEvent::LeftDown);
        if (w.IsAlive()) w.Fire(index, ControlEvent::LeftUp);
    }

    // ---- IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kAccessibleIid)
            *out = static_cast<IAccessible*>(this);
        else if (iid == IID_IOleWindow)
            *out = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // ---- IDispatch: no type information; the interface is used through its table.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // ---- IOleWindow: lets WindowFromAccessibleObject find the window.
    STDMETHODIMP GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        Window* w = nullptr;
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        *out = w->hwnd_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override {
        Window* w = nullptr;
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        return E_NOTIMPL;
    }

    // ---- IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        Window* w = nullptr;
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        return WindowObject(w->hwnd_, parent);
    }

    STDMETHODIMP get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        Window* w = nullptr;
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        *count = w->tree_.Count();
        return S_OK;
    }

    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        if (index < 0) return E_INVALIDARG;
        // A control with a window is the platform's object for that window; a painted one
        // is a simple element of ours.
        if (HWND h = Handle(*w, index)) return WindowObject(h, out);
        return S_FALSE;
    }

    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        if (index < 0) return GiveText(platform::Narrow(platform::WindowTextOf(w->hwnd_)), name);
        const NativeControl* native = w->NativeAt(index);
        const std::string text = native ? native->AccessibleName() : w->tree_.At(index).caption;
        return GiveText(text.empty() ? std::string(w->tree_.At(index).row->accessibleName) : text, name);
    }

    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        const NativeControl* native = index < 0 ? nullptr : w->NativeAt(index);
        const auto text = native ? native->AccessibleValue() : std::nullopt;
        if (!text) return DISP_E_MEMBERNOTFOUND;
        return GiveText(*text, value, /*emptyIsAnAnswer=*/true);
    }

    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override {
        if (!description) return E_POINTER;
        *description = nullptr;
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        if (index < 0) return S_FALSE;
        return GiveText(std::string(w->tree_.At(index).row->name), description);
    }

    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        ::VariantInit(role);
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        role->vt = VT_I4;
        role->lVal = index < 0 ? ROLE_SYSTEM_CLIENT : KindOf(*w, index).role;
        return S_OK;
    }

    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        ::VariantInit(state);
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        HWND focus = ::GetFocus();
        LONG bits = 0;
        if (index < 0) {
            bits |= STATE_SYSTEM_FOCUSABLE;
            if (!::IsWindowVisible(w->hwnd_)) bits |= STATE_SYSTEM_INVISIBLE;
            if (!::IsWindowEnabled(w->hwnd_)) bits |= STATE_SYSTEM_UNAVAILABLE;
            if (focus == w->hwnd_) bits |= STATE_SYSTEM_FOCUSED;
        } else {
            if (!w->tree_.IsShown(index)) bits |= STATE_SYSTEM_INVISIBLE;
            if (HWND h = Handle(*w, index)) {
                if (KindOf(*w, index).focusable) bits |= STATE_SYSTEM_FOCUSABLE;
                if (Within(h, focus)) bits |= STATE_SYSTEM_FOCUSED;
                if (!::IsWindowEnabled(h)) bits |= STATE_SYSTEM_UNAVAILABLE;
            }
            if (w->pressed_ == index) bits |= STATE_SYSTEM_PRESSED;
        }
        state->vt = VT_I4;
        state->lVal = bits;
        return S_OK;
    }

    // No control has help or a keyboard shortcut.
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override {
        if (!help) return E_POINTER;
        *help = nullptr;
        return NothingFor(child);
    }

    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = -1;
        return NothingFor(child);
    }

    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (!shortcut) return E_POINTER;
        *shortcut = nullptr;
        return NothingFor(child);
    }

    STDMETHODIMP get_accFocus(VARIANT* focused) override {
        if (!focused) return E_POINTER;
        ::VariantInit(focused);
        Window* w = nullptr;
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        HWND focus = ::GetFocus();
        if (!focus) return S_FALSE;
        if (focus == w->hwnd_) {
            focused->vt = VT_I4;
            focused->lVal = CHILDID_SELF;
            return S_OK;
        }
        // Children come after their containers: the last one holding the focus is the deepest.
        for (int i = w->tree_.Count() - 1; i >= 0; --i) {
            if (Within(Handle(*w, i), focus)) {
                GiveChild(*w, i, focused);
                return S_OK;
            }
        }
        return S_FALSE;
    }

    STDMETHODIMP get_accSelection(VARIANT* selected) override {
        if (!selected) return E_POINTER;
        ::VariantInit(selected);
        Window* w = nullptr;
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        return S_FALSE;
    }

    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action) return E_POINTER;
        *action = nullptr;
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        if (index < 0 || !HasPress(*w, index)) return DISP_E_MEMBERNOTFOUND;
        return GiveText(kPressAction, action);
    }

    STDMETHODIMP accSelect(LONG, VARIANT child) override {
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        return DISP_E_MEMBERNOTFOUND;
    }

    STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        Rect place;
        if (index < 0) {
            RECT client{};
            ::GetClientRect(w->hwnd_, &client);
            place = {0, 0, client.right, client.bottom};
        } else {
            place = w->tree_.AbsoluteRect(index);
        }
        POINT origin{place.left, place.top};
        ::ClientToScreen(w->hwnd_, &origin);
        *left = origin.x;
        *top = origin.y;
        *width = place.width;
        *height = place.height;
        return S_OK;
    }

    STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        ::VariantInit(end);
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(start, w, index); FAILED(hr)) return hr;
        const int count = w->tree_.Count();
        int to = -1;
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD:
            if (index >= 0) return E_INVALIDARG;  // from the client only
            to = direction == NAVDIR_FIRSTCHILD ? 0 : count - 1;
            break;
        case NAVDIR_NEXT:
        case NAVDIR_PREVIOUS:
            // The client's own neighbours are its window's business.
            if (index < 0) return S_FALSE;
            to = direction == NAVDIR_NEXT ? index + 1 : index - 1;
            break;
        default:
            return DISP_E_MEMBERNOTFOUND;  // no moves by place on the screen
        }
        if (to < 0 || to >= count) return S_FALSE;
        GiveChild(*w, to, end);
        return S_OK;
    }

    STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        ::VariantInit(hit);
        Window* w = nullptr;
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        POINT at{x, y};
        ::ScreenToClient(w->hwnd_, &at);
        RECT client{};
        ::GetClientRect(w->hwnd_, &client);
        if (!::PtInRect(&client, at)) return S_FALSE;
        // A window of a control (or one inside it, like the browser's) is over everything
        // painted beneath it.
        HWND under = DeepestWindowAt(w->hwnd_, at);
        for (HWND h = under; h && h != w->hwnd_; h = ::GetParent(h)) {
            if (const int index = w->IndexOfHandle(h); index >= 0) {
                GiveChild(*w, index, hit);
                return S_OK;
            }
        }
        const int painted = w->tree_.HitTestWindowless(at.x, at.y);
        hit->vt = VT_I4;
        hit->lVal = painted >= 0 ? painted + 1 : CHILDID_SELF;
        return S_OK;
    }

    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        if (index < 0 || !HasPress(*w, index)) return DISP_E_MEMBERNOTFOUND;
        if (!w->tree_.IsShown(index) || !::IsWindowEnabled(w->hwnd_)) return E_FAIL;
        // Posted, never run here: the caller must not wait for what the press opens.
        if (HWND button = Handle(*w, index)) return ::PostMessageW(button, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
        return ::PostMessageW(w->hwnd_, AccessibilityPressMessage(), static_cast<WPARAM>(index), 0) ? S_OK : E_FAIL;
    }

    STDMETHODIMP put_accName(VARIANT child, BSTR) override {
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        return DISP_E_MEMBERNOTFOUND;
    }

    STDMETHODIMP put_accValue(VARIANT child, BSTR) override {
        Window* w = nullptr;
        int index = 0;
        if (const HRESULT hr = ReachChild(child, w, index); FAILED(hr)) return hr;
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    ~WindowAccessible() = default;

    // The window, while it lives. Calls on any other thread than the window's are refused:
    // nothing of the window is made for them.
    HRESULT Reach(Window*& w) const {
        w = nullptr;
        if (::GetCurrentThreadId() != thread_) return RPC_E_WRONG_THREAD;
        if (lifetime_.expired() || !window_->IsAlive()) return RPC_E_DISCONNECTED;
        w = window_;
        return S_OK;
    }

    // The window and the control a child id names: index -1 for the client itself.
    HRESULT ReachChild(const VARIANT& child, Window*& w, int& index) const {
        if (const HRESULT hr = Reach(w); FAILED(hr)) return hr;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) {
            index = -1;
            return S_OK;
        }
        if (child.lVal < 1 || child.lVal > w->tree_.Count()) return E_INVALIDARG;
        index = static_cast<int>(child.lVal) - 1;
        return S_OK;
    }

    // S_FALSE, "nothing", for a child that exists; the failure for one that does not.
    HRESULT NothingFor(const VARIANT& child) const {
        Window* w = nullptr;
        int index = 0;
        const HRESULT hr = ReachChild(child, w, index);
        return FAILED(hr) ? hr : S_FALSE;
    }

    static HWND Handle(const Window& w, int index) {
        const NativeControl* native = w.NativeAt(index);
        return native ? native->Handle() : nullptr;
    }

    static bool IsPressedLikeAButton(const Window& w, int index) {
        return !NeedsOwnWindow(*w.tree_.At(index).row) && w.IsBound(index, ControlEvent::LeftDown);
    }

    static AccessibleKind KindOf(const Window& w, int index) {
        return AccessibleKindOf(w.tree_.At(index).row->kind, IsPressedLikeAButton(w, index));
    }

    // Painted controls pressed like a button, and buttons with a window of their own.
    static bool HasPress(const Window& w, int index) {
        const ControlKind kind = w.tree_.At(index).row->kind;
        if (kind == ControlKind::PushButton || kind == ControlKind::GraphicButton) return Handle(w, index) != nullptr;
        return IsPressedLikeAButton(w, index);
    }

    // A child as navigation, hit tests and the focus name it: the platform's object of its
    // window, or its child id.
    static void GiveChild(const Window& w, int index, VARIANT* out) {
        platform::ComPtr<IDispatch> object;
        if (HWND h = Handle(w, index); h && SUCCEEDED(WindowObject(h, object.put())) && object) {
            out->vt = VT_DISPATCH;
            out->pdispVal = object.get();
            out->pdispVal->AddRef();  // the caller's reference
            return;
        }
        out->vt = VT_I4;
        out->lVal = index + 1;
    }

    Window* const window_;  // only touched while lifetime_ lasts
    const std::weak_ptr<const void> lifetime_;
    const DWORD thread_;
    LONG references_ = 1;
};

IAccessible* NewWindowAccessible(Window& window) { return new WindowAccessible(window); }

void PressForAssistiveTool(Window& window, WPARAM control) { WindowAccessible::Press(window, control); }

}  // namespace ui
