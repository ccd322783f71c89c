#include "tests/e2e/accessible_window.h"

#include "platform/win_text.h"
#include "ui/accessibility.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace e2e {

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;
constexpr UINT kMessageTimeoutMs = 2000;

// A single-threaded apartment for each thread that asks, for the thread's life.
bool EnsureApartment() {
    struct Apartment {
        HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ~Apartment() {
            if (SUCCEEDED(result)) ::CoUninitialize();
        }
    };
    thread_local const Apartment apartment;
    return SUCCEEDED(apartment.result) || apartment.result == RPC_E_CHANGED_MODE;
}

std::string Hex(std::uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
    return text;
}

std::optional<LRESULT> SendWithin(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

// The entries of a list box and its selection, through the standard messages.
void AddListFacts(HWND list, Report& report) {
    std::string items;
    const LRESULT count = SendWithin(list, LB_GETCOUNT).value_or(0);
    for (LRESULT k = 0; k < count; ++k) {
        const LRESULT length = SendWithin(list, LB_GETTEXTLEN, static_cast<WPARAM>(k)).value_or(0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT copied =
            SendWithin(list, LB_GETTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text.data())).value_or(0);
        text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, std::max<LRESULT>(length, 0))));
        if (k) items += '|';
        items += platform::Narrow(text);
    }
    report["items"] = items;
    report["selection"] = std::to_string(SendWithin(list, LB_GETCURSEL).value_or(LB_ERR));
}

// Child ids by Template name, per window: enumerating every child on each question would
// cost a call per control. An id is checked against its description before it is used.
std::map<HWND, std::map<std::string, long, std::less<>>>& KnownChildren() {
    static std::map<HWND, std::map<std::string, long, std::less<>>> known;
    return known;
}

}  // namespace

std::string OwnedBstr::Utf8() const {
    return text_ ? platform::Narrow(std::wstring_view(text_, ::SysStringLen(text_))) : std::string();
}

VARIANT ChildId(long id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

HWND WindowOfObject(IDispatch* object) {
    if (!object) return nullptr;
    platform::ComPtr<IAccessible> accessible;
    if (FAILED(object->QueryInterface(ui::kAccessibleIid, reinterpret_cast<void**>(accessible.put())))) return nullptr;
    HWND window = nullptr;
    return SUCCEEDED(::WindowFromAccessibleObject(accessible.get(), &window)) ? window : nullptr;
}

AccessibleWindow::AccessibleWindow(HWND window) : window_(window) {
    // The request is a plain sent message: first make sure the window answers at all.
    DWORD_PTR ignored = 0;
    if (!window || !EnsureApartment() ||
        !::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored))
        return;
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), ui::kAccessibleIid,
                                 reinterpret_cast<void**>(object_.put()));
}

long AccessibleWindow::ChildCount() const {
    LONG count = 0;
    return object_ && SUCCEEDED(object_->get_accChildCount(&count)) ? count : -1;
}

long AccessibleWindow::Find(std::string_view name) const {
    if (!object_) return 0;
    const auto description = [&](long id) {
        OwnedBstr text;
        return SUCCEEDED(object_->get_accDescription(ChildId(id), text.put())) ? text.Utf8() : std::string();
    };
    auto& known = KnownChildren()[window_];
    if (const auto it = known.find(name); it != known.end() && description(it->second) == name) return it->second;
    known.clear();
    long found = 0;
    const long count = ChildCount();
    for (long id = 1; id <= count; ++id) {
        const std::string text = description(id);
        known[text] = id;
        if (text == name && !found) found = id;
    }
    return found;
}

std::string AccessibleWindow::Name(long child) const {
    OwnedBstr name;
    return object_ && SUCCEEDED(object_->get_accName(ChildId(child), name.put())) ? name.Utf8() : std::string();
}

Report AccessibleWindow::Describe(long child) const {
    Report report;
    if (!object_) return report;
    const VARIANT id = ChildId(child);

    OwnedVariant role, state;
    LONG left = 0, top = 0, width = 0, height = 0;
    if (FAILED(object_->get_accRole(id, role.put())) || role.get().vt != VT_I4 ||
        FAILED(object_->get_accState(id, state.put())) || state.get().vt != VT_I4 ||
        FAILED(object_->accLocation(&left, &top, &width, &height, id)))
        return report;
    const LONG bits = state.get().lVal;
    report["role"] = std::to_string(role.get().lVal);
    report["shown"] = std::to_string((bits & STATE_SYSTEM_INVISIBLE) ? 0 : 1);
    report["focused"] = std::to_string((bits & STATE_SYSTEM_FOCUSED) ? 1 : 0);
    POINT origin{0, 0};
    ::ClientToScreen(window_, &origin);
    report["screen_x"] = std::to_string(left);
    report["screen_y"] = std::to_string(top);
    report["x"] = std::to_string(left - origin.x);
    report["y"] = std::to_string(top - origin.y);
    report["w"] = std::to_string(width);
    report["h"] = std::to_string(height);

    OwnedBstr description, name, value, action;
    if (SUCCEEDED(object_->get_accDescription(id, description.put()))) report["name"] = description.Utf8();
    if (SUCCEEDED(object_->get_accName(id, name.put()))) report["caption"] = name.Utf8();
    if (object_->get_accValue(id, value.put()) == S_OK) report["value"] = value.Utf8();
    if (object_->get_accDefaultAction(id, action.put()) == S_OK) report["action"] = action.Utf8();

    HWND window = nullptr;
    if (child == CHILDID_SELF) {
        ::WindowFromAccessibleObject(object_.get(), &window);
    } else {
        platform::ComPtr<IDispatch> object;
        if (object_->get_accChild(id, object.put()) == S_OK) window = WindowOfObject(object.get());
    }
    if (window) {
        report["hwnd"] = Hex(reinterpret_cast<std::uintptr_t>(window));
        if (role.get().lVal == ROLE_SYSTEM_LIST) AddListFacts(window, report);
        if (role.get().lVal == ROLE_SYSTEM_SLIDER)
            report["position"] = std::to_string(SendWithin(window, TBM_GETPOS).value_or(-1));
    }
    return report;
}

Report QueryWindowControl(HWND window, std::string_view name) {
    const AccessibleWindow accessible(window);
    if (!accessible) return {};
    if (name.empty()) return accessible.Describe(CHILDID_SELF);
    const long child = accessible.Find(name);
    return child ? accessible.Describe(child) : Report{};
}

}  // namespace e2e
