#include "ui/input_box.h"

#include "platform/win_text.h"
#include "ui/modal.h"

#include <cstdint>
#include <vector>

namespace ui {

namespace {

// In dialog units. The prompt has room for two lines.
constexpr short kWidth = 260;
constexpr short kHeight = 86;
constexpr int kMaxNameLength = 120;  // leaves room for the folder in a 260-character path
constexpr wchar_t kFontFace[] = L"Microsoft YaHei";
constexpr WORD kFontPoints = 9;

// An in-memory dialog template: DLGTEMPLATE, then its items, each DWORD-aligned.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* font, WORD points) {
        Add(DLGTEMPLATE{style, 0, 0, 0, 0, cx, cy});
        AddWord(0);  // no menu
        AddWord(0);  // the standard dialog class
        AddWord(0);  // the title is set at WM_INITDIALOG, from UTF-8
        AddWord(points);
        AddString(font);
    }

    void AddItem(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom) {
        Align();
        Add(DLGITEMTEMPLATE{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id});
        AddWord(0xFFFF);
        AddWord(atom);  // predefined class: 0x0080 button, 0x0081 edit, 0x0082 static
        AddWord(0);     // no text yet
        AddWord(0);     // no creation data
        reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit++;
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    template <typename T>
    void Add(const T& value) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
        bytes_.insert(bytes_.end(), p, p + sizeof value);
    }
    void AddWord(WORD word) { Add(word); }
    void AddString(const wchar_t* text) {
        do AddWord(static_cast<WORD>(*text)); while (*text++);
    }
    void Align() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }

    // Allocated storage is aligned for any type, so the template starts DWORD-aligned.
    std::vector<std::uint8_t> bytes_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

struct BoxState {
    const InputBoxArgs& args;
    std::string answer;
};


void SelectField(HWND dialog) {
    const HWND edit = ::GetDlgItem(dialog, kInputBoxEditId);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

// OK: the answer is taken when nothing refuses it; otherwise the operator reads why and
// corrects the name in the box that stays open.
void Confirm(HWND dialog, BoxState& state) {
    const std::string typed = platform::Narrow(platform::WindowTextOf(::GetDlgItem(dialog, kInputBoxEditId)));
    if (state.args.refusal) {
        const std::string why = state.args.refusal(typed);
        if (!why.empty()) {
            ShowMessageBox(dialog, why, state.args.title, MB_ICONWARNING | MB_OK);
            SelectField(dialog);
            return;
        }
    }
    state.answer = typed;
    ::EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<BoxState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<BoxState*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        ::SetWindowTextW(dialog, platform::Wide(state->args.title).c_str());
        ::SetDlgItemTextW(dialog, kInputBoxPromptId, platform::Wide(state->args.prompt).c_str());
        ::SendDlgItemMessageW(dialog, kInputBoxEditId, EM_LIMITTEXT, kMaxNameLength, 0);
        ::SetDlgItemTextW(dialog, kInputBoxEditId, platform::Wide(state->args.initial).c_str());
        ::SetDlgItemTextW(dialog, IDOK, L"确定");
        ::SetDlgItemTextW(dialog, IDCANCEL, L"取消");
        SelectField(dialog);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (!state) break;
        if (LOWORD(wParam) == IDOK) {
            Confirm(dialog, *state);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::string> AskForText(const InputBoxArgs& args) {
    DialogTemplate layout(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, kWidth,
                          kHeight, kFontFace, kFontPoints);
    layout.AddItem(SS_LEFT, 7, 7, kWidth - 14, 26, kInputBoxPromptId, kStaticAtom);
    layout.AddItem(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 38, kWidth - 14, 14, kInputBoxEditId, kEditAtom);
    layout.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 114, kHeight - 21, 50, 14, IDOK, kButtonAtom);
    layout.AddItem(BS_PUSHBUTTON | WS_TABSTOP, kWidth - 57, kHeight - 21, 50, 14, IDCANCEL, kButtonAtom);

    BoxState state{args, {}};
    ModalScope scope;
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), args.owner,
                                                     &InputBoxProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return state.answer;
}

}  // namespace ui
