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

void ReportList::SetRows(const std::vector<std::vector<std::string>>& rows) {
    rows_.clear();
    rows_.reserve(rows.size());
    for (const auto& row : rows) {
        std::vector<std::wstring>& cells = rows_.emplace_back();
        cells.reserve(row.size());
        for (const std::string& cell : row) cells.push_back(platform::Wide(cell));
    }
    HWND list = Handle();
    if (!list) return;
    ListView_SetItemCountEx(list, static_cast<int>(rows_.size()), 0);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (!rows_.empty()) ListView_EnsureVisible(list, 0, FALSE);
    ::InvalidateRect(list, nullptr, TRUE);
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
        // The list view asks for the cells it is about to draw; the text stays ours.
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
        if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < RowCount()) {
            const auto& cells = rows_[static_cast<std::size_t>(item.iItem)];
            static wchar_t empty[] = L"";
            item.pszText = item.iSubItem >= 0 && static_cast<std::size_t>(item.iSubItem) < cells.size()
                               ? const_cast<wchar_t*>(cells[static_cast<std::size_t>(item.iSubItem)].c_str())
                               : empty;
        }
        return 0;
    }
    case LVN_ITEMACTIVATE:
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0 || Selection() >= 0)
            host_.Fire(index_, ControlEvent::EntryDoubleClick);
        return 0;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> ReportList::AccessibleValue() const {
    const int row = Selection();
    if (row < 0) return std::string();
    std::wstring text;
    for (const std::wstring& cell : rows_[static_cast<std::size_t>(row)]) {
        if (!text.empty()) text += L' ';
        text += cell;
    }
    return platform::Narrow(text);
}

}  // namespace ui
