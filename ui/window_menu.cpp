// A Template window's menu: built from its rows, shown as a menu bar while a top-level item
// is visible, and popped up at the pointer.
#include "ui/modal.h"
#include "ui/window.h"
#include "ui/window_ids.h"

#include "platform/win_text.h"

namespace ui {

void Window::BuildMenu(std::span<const MenuItemRow> items, std::vector<MenuBinding>& bindings) {
    menu_.clear();
    HMENU currentPopup = nullptr;
    for (const MenuItemRow& item : items) {
        MenuEntry entry{std::string(item.caption), item.level};
        entry.checkable = item.checkable && item.level != 0;
        entry.checked = entry.checkable && item.checked;
        for (const MenuBinding& b : bindings)
            if (b.item == item.caption) entry.handler = b.handler;
        const std::wstring caption = platform::Wide(item.caption);
        if (item.level == 0) {
            entry.popup.reset(::CreatePopupMenu());
            currentPopup = entry.popup.get();
        } else if (currentPopup) {
            ::AppendMenuW(currentPopup, MF_STRING | (entry.checked ? MF_CHECKED : MF_UNCHECKED),
                          static_cast<UINT_PTR>(kMenuIdBase + static_cast<int>(menu_.size())), caption.c_str());
            entry.inPopup = currentPopup;
        }
        menu_.push_back(std::move(entry));
    }
    for (const MenuBinding& b : bindings) {
        bool found = false;
        for (const MenuEntry& e : menu_) found = found || e.caption == b.item;
        if (!found) bindingErrors_.push_back("no menu item named " + std::string(b.item));
    }
    AttachMenuBar();
}

void Window::DetachMenuBar() {
    // The bar only refers to the popups, which we own: take them out before it goes.
    if (menuAttached_) ::SetMenu(hwnd_, nullptr);
    menuAttached_ = false;
    if (menuBar_) {
        while (::GetMenuItemCount(menuBar_.get()) > 0) ::RemoveMenu(menuBar_.get(), 0, MF_BYPOSITION);
        menuBar_.reset();
    }
}

void Window::AttachMenuBar() {
    DetachMenuBar();
    if (!HasMenuBar() || !hwnd_) return;
    menuBar_.reset(::CreateMenu());
    for (const MenuEntry& e : menu_) {
        if (e.level != 0 || !e.visible) continue;
        ::AppendMenuW(menuBar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(e.popup.get()),
                      platform::Wide(e.caption).c_str());
    }
    menuAttached_ = ::SetMenu(hwnd_, menuBar_.get()) != FALSE;
}

bool Window::HasMenuBar() const {
    for (const MenuEntry& e : menu_)
        if (e.level == 0 && e.visible) return true;
    return false;
}

void Window::SetMenuItemVisible(std::string_view caption, bool visible) {
    for (MenuEntry& e : menu_)
        if (e.caption == caption && e.level == 0) e.visible = visible;
    AttachMenuBar();
}

void Window::PopUpMenu(std::string_view caption) {
    for (const MenuEntry& e : menu_) {
        if (e.caption != caption || !e.popup) continue;
        POINT at{};
        ::GetCursorPos(&at);
        ::SetForegroundWindow(hwnd_);  // otherwise the menu does not close when clicked away
        ModalScope modal;              // the arrow keys and Enter work the menu
        ::TrackPopupMenu(e.popup.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
        ::PostMessageW(hwnd_, WM_NULL, 0, 0);
        return;
    }
}

bool Window::IsMenuItemChecked(std::string_view caption) const {
    for (const MenuEntry& e : menu_)
        if (e.caption == caption && e.checkable) return e.checked;
    return false;
}

void Window::SetMenuItemChecked(std::string_view caption, bool checked) {
    for (std::size_t i = 0; i < menu_.size(); ++i) {
        MenuEntry& e = menu_[i];
        if (e.caption != caption || !e.checkable) continue;
        e.checked = checked;
        if (e.inPopup)
            ::CheckMenuItem(e.inPopup, static_cast<UINT>(kMenuIdBase + static_cast<int>(i)),
                            MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void Window::OnMenuCommand(int item) {
    if (item < 0 || item >= static_cast<int>(menu_.size())) return;
    MenuEntry& entry = menu_[static_cast<std::size_t>(item)];
    // The mark turns first: the handler reads the choice the operator just made.
    if (entry.checkable) SetMenuItemChecked(entry.caption, !entry.checked);
    if (Handler handler = menu_[static_cast<std::size_t>(item)].handler) handler(*this);
}

}  // namespace ui
