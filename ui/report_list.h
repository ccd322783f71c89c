// A list of rows in columns (the platform's list view in report form), for tables a window
// shows: the rows live here and the list view asks for the cells it draws, so thousands of
// rows cost nothing when the rows are set. One row is selected at a time; a double-click or
// Enter on a row raises EntryDoubleClick.
#pragma once

#include "ui/native_control.h"

#include <string>
#include <vector>

namespace ui {

class ReportList final : public NativeControl {
public:
    using NativeControl::NativeControl;
    // Replaces every row (cells in UTF-8, in the Template's column order). As many rows as
    // before keep the scroll position and the selection; another number starts at the top
    // with none selected.
    void SetRows(std::vector<std::vector<std::string>> rows);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int Selection() const;
    // Selects `row` and scrolls it into view; -1 selects none.
    void Select(int row);
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;
    // The selected row's cells, separated by spaces.
    std::optional<std::string> AccessibleValue() const override;

private:
    WindowTraits Traits() const override;
    void Created() override;

    // Kept as given: a cell is turned into UTF-16 only when the list view draws it.
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace ui
