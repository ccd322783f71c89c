// A Template window's accessible object in its own process: the interface identifier it is
// asked for by, its children, presses asked for through it, and an object that outlives
// its window.
#include "photo/slot_image.h"
#include "platform/com_ptr.h"
#include "platform/owners.h"
#include "ui/accessibility.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using ui::ControlEvent;
using ui::ControlKind;

const ui::ControlRow kRows[] = {
    {.name = "背景", .rect = {0, 0, 300, 200}},
    {.name = "按签", .kind = ControlKind::TransparentLabel, .parent = "背景", .rect = {10, 10, 100, 30}, .caption = "按我"},
    {.name = "说明", .kind = ControlKind::TransparentLabel, .parent = "背景", .rect = {10, 50, 100, 30}, .caption = "只看"},
    {.name = "组", .kind = ControlKind::GroupBox, .parent = "背景", .rect = {150, 10, 100, 100}, .visible = false},
    {.name = "藏签", .kind = ControlKind::TransparentLabel, .parent = "组", .rect = {5, 5, 50, 20}, .caption = "藏"},
    {.name = "板", .kind = ControlKind::DrawingBoard, .parent = "背景", .rect = {150, 120, 50, 60}},
    {.name = "甲", .kind = ControlKind::PushButton, .parent = "背景", .rect = {10, 120, 60, 24}, .caption = "甲"},
    {.name = "乙", .kind = ControlKind::GraphicButton, .parent = "背景", .rect = {80, 120, 30, 30}},
};
const ui::WindowTemplate kLayout{300, 200, kRows, {}};
enum Child : long { kBackground = 1, kPressLabel, kPlainLabel, kGroup, kHiddenLabel, kBoard, kPushButton, kGraphicButton };

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

VARIANT Id(long child) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

struct OwnedVariant {
    VARIANT v;
    OwnedVariant() { ::VariantInit(&v); }
    ~OwnedVariant() { ::VariantClear(&v); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
};

struct OwnedBstr {
    BSTR b = nullptr;
    ~OwnedBstr() { ::SysFreeString(b); }
    std::wstring Text() const { return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring(); }
};

platform::ComPtr<IAccessible> ClientObject(HWND window) {
    platform::ComPtr<IAccessible> object;
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), ui::kAccessibleIid,
                                 reinterpret_cast<void**>(object.put()));
    return object;
}

HWND WindowIn(const VARIANT& v) {
    if (v.vt != VT_DISPATCH || !v.pdispVal) return nullptr;
    platform::ComPtr<IOleWindow> window;
    HWND h = nullptr;
    if (SUCCEEDED(v.pdispVal->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(window.put())))) window->GetWindow(&h);
    return h;
}

POINT ScreenCentre(const ui::Window& window, long child) {
    const ui::Rect r = window.Tree().AbsoluteRect(static_cast<int>(child) - 1);
    POINT p{r.left + r.width / 2, r.top + r.height / 2};
    ::ClientToScreen(window.Handle(), &p);
    return p;
}

TEST(AccessibleObject, TheInterfaceIdIsIAccessiblesAndOleaccKnowsIt) {
    wchar_t text[40] = {};
    ASSERT_GT(::StringFromGUID2(ui::kAccessibleIid, text, 40), 0);
    EXPECT_STREQ(text, L"{618736E0-3C3D-11CF-810C-00AA00389B71}");

    // The platform's own object of a plain window is handed out for it.
    const platform::UniqueWindow plain(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(plain);
    platform::ComPtr<IAccessible> standard;
    EXPECT_EQ(::AccessibleObjectFromWindow(plain.get(), static_cast<DWORD>(OBJID_WINDOW), ui::kAccessibleIid,
                                           reinterpret_cast<void**>(standard.put())),
              S_OK);
    EXPECT_TRUE(standard);

    // And ours for a Template window's client.
    auto window = ui::Window::Create(kLayout, {});
    ASSERT_TRUE(window);
    const auto object = ClientObject(window->Handle());
    ASSERT_TRUE(object);
    LONG count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 8);
}

class AccessibleTemplateWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ui::WindowBehaviour behaviour;
        for (const char* name : {"按签", "藏签"}) {
            const ui::AnyControlId label{name, ControlKind::TransparentLabel};
            behaviour.events.push_back({label, ControlEvent::LeftDown, [this, name](ui::Window&) { events_.push_back(std::string(name) + " down"); }});
            behaviour.events.push_back({label, ControlEvent::LeftUp, [this, name](ui::Window&) { events_.push_back(std::string(name) + " up"); }});
        }
        for (const ui::AnyControlId button : {ui::AnyControlId{"甲", ControlKind::PushButton},
                                              ui::AnyControlId{"乙", ControlKind::GraphicButton}}) {
            const std::string_view name = button.name;
            behaviour.events.push_back({button, ControlEvent::Clicked, [this, name](ui::Window&) { events_.push_back(std::string(name) + " clicked"); }});
        }
        window_ = ui::Window::Create(kLayout, std::move(behaviour));
        ASSERT_TRUE(window_);
        object_ = ClientObject(window_->Handle());
        ASSERT_TRUE(object_);
    }
    void TearDown() override {
        object_.reset();
        window_.reset();
    }

    LONG State(long child) {
        OwnedVariant state;
        object_->get_accState(Id(child), &state.v);
        return state.v.vt == VT_I4 ? state.v.lVal : -1;
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long child) {
        OwnedBstr text;
        (object_.get()->*get)(Id(child), &text.b);
        return text.Text();
    }

    std::vector<std::string> events_;
    std::unique_ptr<ui::Window> window_;
    platform::ComPtr<IAccessible> object_;
};

TEST_F(AccessibleTemplateWindow, ChildrenFollowWhatTheWindowShowsNow) {
    // Named by the caption as it is now.
    (*window_)["按签"].SetCaption("张三_1");
    EXPECT_EQ(Text(&IAccessible::get_accName, kPressLabel), L"张三_1");

    // Hidden by its container; shown again with it.
    EXPECT_TRUE(State(kHiddenLabel) & STATE_SYSTEM_INVISIBLE);
    EXPECT_FALSE(State(kPressLabel) & STATE_SYSTEM_INVISIBLE);
    (*window_)["组"].SetVisible(true);
    EXPECT_FALSE(State(kHiddenLabel) & STATE_SYSTEM_INVISIBLE);

    // The board's value is its picture's size, none before it has one.
    EXPECT_EQ(Text(&IAccessible::get_accValue, kBoard), L"");
    const std::vector<std::uint8_t> pixels(4u * 7u * 5u, 0x80);
    window_->Get(ui::ControlId<ControlKind::DrawingBoard>{"板"}).SetPicture(photo::MakeSlotImage(7, 5, pixels, 4u * 7u));
    EXPECT_EQ(Text(&IAccessible::get_accValue, kBoard), L"7×5");

    // Painted controls are simple elements; one with a window is that window's object.
    platform::ComPtr<IDispatch> child;
    EXPECT_EQ(object_->get_accChild(Id(kPlainLabel), child.put()), S_FALSE);
    EXPECT_FALSE(child);
    ASSERT_EQ(object_->get_accChild(Id(kPushButton), child.put()), S_OK);
    OwnedVariant asVariant;
    asVariant.v.vt = VT_DISPATCH;
    asVariant.v.pdispVal = child.get();
    asVariant.v.pdispVal->AddRef();
    EXPECT_EQ(WindowIn(asVariant.v), (*window_)["甲"].Handle());
    EXPECT_EQ(object_->get_accChild(Id(99), child.put()), E_INVALIDARG);
}

TEST_F(AccessibleTemplateWindow, NavigationHitTestsAndTheFocusNameTheSameChildren) {
    OwnedVariant to;
    EXPECT_EQ(object_->accNavigate(NAVDIR_FIRSTCHILD, Id(CHILDID_SELF), &to.v), S_OK);
    EXPECT_EQ(to.v.lVal, kBackground);
    EXPECT_EQ(object_->accNavigate(NAVDIR_NEXT, Id(kPressLabel), &to.v), S_OK);
    EXPECT_EQ(to.v.lVal, kPlainLabel);
    EXPECT_EQ(object_->accNavigate(NAVDIR_PREVIOUS, Id(kBackground), &to.v), S_FALSE);
    EXPECT_EQ(object_->accNavigate(NAVDIR_LASTCHILD, Id(CHILDID_SELF), &to.v), S_OK);
    EXPECT_EQ(WindowIn(to.v), (*window_)["乙"].Handle());

    // Up from the client: its window's object.
    OwnedVariant parent;
    ASSERT_EQ(object_->get_accParent(&parent.v.pdispVal), S_OK);
    parent.v.vt = VT_DISPATCH;
    EXPECT_EQ(WindowIn(parent.v), window_->Handle());

    OwnedVariant hit;
    POINT at = ScreenCentre(*window_, kPlainLabel);
    ASSERT_EQ(object_->accHitTest(at.x, at.y, &hit.v), S_OK);
    EXPECT_EQ(hit.v.vt, VT_I4);
    EXPECT_EQ(hit.v.lVal, kPlainLabel);
    at = ScreenCentre(*window_, kPushButton);
    ASSERT_EQ(object_->accHitTest(at.x, at.y, &hit.v), S_OK);
    EXPECT_EQ(WindowIn(hit.v), (*window_)["甲"].Handle());
    // The hidden group's place shows the background.
    at = ScreenCentre(*window_, kHiddenLabel);
    ASSERT_EQ(object_->accHitTest(at.x, at.y, &hit.v), S_OK);
    EXPECT_EQ(hit.v.lVal, kBackground);

    (*window_)["甲"].Focus();
    EXPECT_TRUE(State(kPushButton) & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(State(kPushButton) & STATE_SYSTEM_FOCUSABLE);
    EXPECT_FALSE(State(kPlainLabel) & STATE_SYSTEM_FOCUSABLE);
    OwnedVariant focus;
    ASSERT_EQ(object_->get_accFocus(&focus.v), S_OK);
    EXPECT_EQ(WindowIn(focus.v), (*window_)["甲"].Handle());
}

TEST_F(AccessibleTemplateWindow, ADefaultActionPressesThroughTheEventsOnceTheCallHasReturned) {
    EXPECT_EQ(Text(&IAccessible::get_accDefaultAction, kPressLabel), L"按下");
    EXPECT_EQ(object_->accDoDefaultAction(Id(kPressLabel)), S_OK);
    EXPECT_TRUE(events_.empty()) << "the press ran inside the call";
    PumpMessages();
    EXPECT_EQ(events_, (std::vector<std::string>{"按签 down", "按签 up"}));

    // Buttons with a window take it as a click.
    events_.clear();
    EXPECT_EQ(object_->accDoDefaultAction(Id(kPushButton)), S_OK);
    EXPECT_EQ(object_->accDoDefaultAction(Id(kGraphicButton)), S_OK);
    PumpMessages();
    EXPECT_EQ(events_, (std::vector<std::string>{"甲 clicked", "乙 clicked"}));

    // Nothing for a hidden control, a plain one, or a window a modal box holds, even when
    // the box came between the call and the press.
    events_.clear();
    EXPECT_EQ(object_->accDoDefaultAction(Id(kHiddenLabel)), E_FAIL);
    EXPECT_EQ(object_->accDoDefaultAction(Id(kPlainLabel)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(object_->accDoDefaultAction(Id(kPressLabel)), S_OK);
    ::EnableWindow(window_->Handle(), FALSE);
    EXPECT_EQ(object_->accDoDefaultAction(Id(kPressLabel)), E_FAIL);
    PumpMessages();
    ::EnableWindow(window_->Handle(), TRUE);
    EXPECT_TRUE(events_.empty());
}

// Every method of an object whose window has gone fails, and touches nothing of it.
void ExpectDisconnected(IAccessible* object, const char* how) {
    SCOPED_TRACE(how);
    const VARIANT self = Id(CHILDID_SELF), first = Id(1);
    LONG count = 7, x = 1, y = 1, w = 1, h = 1;
    OwnedBstr text;
    OwnedVariant v;
    platform::ComPtr<IDispatch> dispatch;
    EXPECT_EQ(object->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(object->get_accParent(dispatch.put()), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->get_accChild(first, dispatch.put()), RPC_E_DISCONNECTED);
    EXPECT_FALSE(dispatch);
    EXPECT_EQ(object->get_accName(first, &text.b), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->get_accDescription(first, &text.b), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->get_accValue(first, &text.b), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->get_accDefaultAction(first, &text.b), RPC_E_DISCONNECTED);
    EXPECT_EQ(text.b, nullptr);
    EXPECT_EQ(object->get_accRole(self, &v.v), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->get_accState(first, &v.v), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->get_accFocus(&v.v), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->accNavigate(NAVDIR_FIRSTCHILD, self, &v.v), RPC_E_DISCONNECTED);
    EXPECT_EQ(object->accHitTest(0, 0, &v.v), RPC_E_DISCONNECTED);
    EXPECT_EQ(v.v.vt, VT_EMPTY);
    EXPECT_EQ(object->accLocation(&x, &y, &w, &h, first), RPC_E_DISCONNECTED);
    EXPECT_EQ(x + y + w + h, 0);
    EXPECT_EQ(object->accDoDefaultAction(first), RPC_E_DISCONNECTED);
    platform::ComPtr<IOleWindow> window;
    ASSERT_EQ(object->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(window.put())), S_OK);
    HWND handle = reinterpret_cast<HWND>(1);
    EXPECT_EQ(window->GetWindow(&handle), RPC_E_DISCONNECTED);
    EXPECT_EQ(handle, nullptr);
}

TEST(AccessibleObject, OneThatOutlivesItsWindowFailsCleanly) {
    {
        // The window object freed.
        auto window = ui::Window::Create(kLayout, {});
        ASSERT_TRUE(window);
        const auto object = ClientObject(window->Handle());
        ASSERT_TRUE(object);
        window.reset();
        ExpectDisconnected(object.get(), "window object freed");
    }
    {
        // Its native window destroyed under a window object that lives on.
        auto window = ui::Window::Create(kLayout, {});
        ASSERT_TRUE(window);
        const auto object = ClientObject(window->Handle());
        ASSERT_TRUE(object);
        ::DestroyWindow(window->Handle());
        ExpectDisconnected(object.get(), "native window destroyed");
    }
    {
        // A window that owns itself, closed: it frees itself.
        ui::Window* window = ui::Window::Open(kLayout, {});
        ASSERT_NE(window, nullptr);
        const auto lifetime = window->Lifetime();
        const auto object = ClientObject(window->Handle());
        ASSERT_TRUE(object);
        window->Close();
        PumpMessages();
        ASSERT_TRUE(lifetime.expired());
        ExpectDisconnected(object.get(), "window that owned itself closed");
    }
}

}  // namespace
