// A Template window of the program under test as assistive tools and automation see it,
// from another process: the accessible object of its client (MSAA), whose children are the
// window's controls, each found by its description, the control's Template name.
#pragma once

#include "platform/com_ptr.h"
#include "tests/e2e/harness.h"

#include <oleacc.h>

#include <string>
#include <string_view>

namespace e2e {

// A BSTR handed out by an object, freed with it.
class OwnedBstr {
public:
    OwnedBstr() = default;
    ~OwnedBstr() { ::SysFreeString(text_); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    BSTR* put() {
        ::SysFreeString(text_);
        text_ = nullptr;
        return &text_;
    }
    std::string Utf8() const;

private:
    BSTR text_ = nullptr;
};

// A VARIANT handed out by an object, cleared with it (a child object in it is released).
class OwnedVariant {
public:
    OwnedVariant() { ::VariantInit(&value_); }
    ~OwnedVariant() { ::VariantClear(&value_); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
    VARIANT* put() {
        ::VariantClear(&value_);
        return &value_;
    }
    const VARIANT& get() const { return value_; }

private:
    VARIANT value_;
};

// A VARIANT naming a child (CHILDID_SELF: the client itself).
VARIANT ChildId(long id);

// The window of an accessible object, as WindowFromAccessibleObject finds it; null when none.
HWND WindowOfObject(IDispatch* object);

class AccessibleWindow {
public:
    // AccessibleObjectFromWindow(window, OBJID_CLIENT); empty when the window does not
    // answer within a few seconds or gives no object.
    explicit AccessibleWindow(HWND window);

    explicit operator bool() const { return static_cast<bool>(object_); }
    IAccessible* get() const { return object_.get(); }
    HWND Window() const { return window_; }

    // The number of children; -1 when the object does not answer.
    long ChildCount() const;
    // The child id of the control with this Template name; 0 when there is none.
    long Find(std::string_view name) const;
    // A child's name alone: one call, for those who watch it change.
    std::string Name(long child) const;
    // What the object says about a child (CHILDID_SELF: the client), with the keys of
    // QueryWindowControl; empty when it did not answer.
    Report Describe(long child) const;

private:
    HWND window_;
    platform::ComPtr<IAccessible> object_;
};

}  // namespace e2e
