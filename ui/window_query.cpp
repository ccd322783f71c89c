// Answers to tests that ask a window about itself or one of its controls by name.
#include "ui/window.h"

#include "platform/win_text.h"
#include "ui/control_report.h"
#include "ui/native_control.h"

#include <cstdio>

namespace ui {

namespace {
constexpr UINT kAnswerTimeoutMs = 250;

std::string Hex(std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(value));
    return buffer;
}
}  // namespace

bool Window::AnswerQuery(HWND asker, const void* data, std::size_t bytes) {
    if (!asker || !::IsWindow(asker)) return false;
    const std::wstring wide(static_cast<const wchar_t*>(data), bytes / sizeof(wchar_t));
    const std::string name = platform::Narrow(wide);
    ReportFields fields;
    if (name.empty()) {
        RECT r{};
        ::GetWindowRect(hwnd_, &r);
        fields = {{"hwnd", Hex(reinterpret_cast<std::uintptr_t>(hwnd_))},
                  {"x", std::to_string(r.left)}, {"y", std::to_string(r.top)},
                  {"w", std::to_string(r.right - r.left)}, {"h", std::to_string(r.bottom - r.top)},
                  {"menu_bar", HasMenuBar() ? "1" : "0"}, {"menu_open", menuOpen_ ? "1" : "0"},
                  {"menu_items", MenuItems()}};
    } else {
        const int index = tree_.IndexOf(name);
        if (index < 0) return false;
        const ControlState& c = tree_.At(index);
        const Rect abs = tree_.AbsoluteRect(index);
        POINT screen{abs.left, abs.top};
        ::ClientToScreen(hwnd_, &screen);
        fields = {{"name", name}, {"kind", std::to_string(static_cast<int>(c.row->kind))},
                  {"visible", c.visible ? "1" : "0"}, {"shown", tree_.IsShown(index) ? "1" : "0"},
                  {"x", std::to_string(abs.left)}, {"y", std::to_string(abs.top)},
                  {"w", std::to_string(abs.width)}, {"h", std::to_string(abs.height)},
                  {"screen_x", std::to_string(screen.x)}, {"screen_y", std::to_string(screen.y)},
                  {"caption", c.caption}, {"text", Hex(c.text.value)}, {"outline", Hex(c.outline.value)},
                  {"outline_width", std::to_string(c.outlineWidth)}};
        if (const NativeControl* native = NativeAt(index)) {
            fields.push_back({"hwnd", Hex(reinterpret_cast<std::uintptr_t>(native->Handle()))});
            fields.push_back({"focused", ::GetFocus() == native->Handle() ? "1" : "0"});
            native->Describe(fields);
        }
    }
    const std::string text = FormatReport(fields);
    COPYDATASTRUCT reply{kControlReportTag, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
    // The asker waits for this answer and takes it at once; one that hangs must not take
    // the program with it.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(asker, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd_), reinterpret_cast<LPARAM>(&reply),
                          SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, kAnswerTimeoutMs, &ignored);
    return true;
}

}  // namespace ui
