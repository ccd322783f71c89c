#include "ui/report_list.h"

#include "platform/win_text.h"

#include <commctrl.h>

namespace ui {

NativeControl::WindowTraits ReportList::Traits() const {
    return {.windowClass = WC_LISTVIEWW,
            .style = LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
            .exStyle = WS_EX_CLIENTEDGE,
            .focusable = true};
}

void ReportList::Created() {
    HWND list = Handle();
    ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(host_.Cache().Font(state_.row->font)), FALSE);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    int index = 0;
    for (const ListColumn& column : state_.row->columns) {
        std::wstring caption = platform::Wide(column.caption);
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.cx = column.width;
        c.pszText = caption.data();
        c.iSubItem = index;
        ListView_InsertColumn(list, index, &c);
        ++index;
    }
}

void ReportList::SetRows(std::vector<std::vector<std::string>> rows) {
    const bool sameCount = rows.size() == rows_.size();
    rows_ = std::move(rows);
    HWND list = Handle();
    if (!list) return;
    if (!sameCount) ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
    // Other rows (a filter) start from the top; the same rows again stay where they were.
    if (!sameCount && !rows_.empty()) ListView_EnsureVisible(list, 0, FALSE);
    ::InvalidateRect(list, nullptr, FALSE);
}

int ReportList::Selection() const {
    HWND list = Handle();
    return list ? ListView_GetNextItem(list, -1, LVNI_SELECTED) : -1;
}

void ReportList::Select(int row) {
    HWND list = Handle();
    if (!list) return;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0 || row >= RowCount()) return;
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

std::optional<LRESULT> ReportList::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        // The list view asks for the cells it is about to draw, into its own buffer.
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
        if ((item.mask & LVIF_TEXT) == 0 || !item.pszText || item.cchTextMax <= 0) return 0;
        item.pszText[0] = L'\0';
        if (item.iItem < 0 || item.iItem >= RowCount()) return 0;
        const auto& cells = rows_[static_cast<std::size_t>(item.iItem)];
        if (item.iSubItem < 0 || static_cast<std::size_t>(item.iSubItem) >= cells.size()) return 0;
        const std::string& cell = cells[static_cast<std::size_t>(item.iSubItem)];
        const int written = ::MultiByteToWideChar(CP_UTF8, 0, cell.data(), static_cast<int>(cell.size()),
                                                  item.pszText, item.cchTextMax - 1);
        item.pszText[written > 0 ? written : 0] = L'\0';
        return 0;
    }
    case LVN_ITEMACTIVATE:  // the handler reads the selection
        host_.Fire(index_, ControlEvent::EntryDoubleClick);
        return 0;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> ReportList::AccessibleValue() const {
    const int row = Selection();
    if (row < 0) return std::string();
    std::string text;
    for (const std::string& cell : rows_[static_cast<std::size_t>(row)]) {
        if (!text.empty()) text += ' ';
        text += cell;
    }
    return text;
}

}  // namespace ui
