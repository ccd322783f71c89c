// A table read from a file as text: the rows of a CSV file or of a worksheet, each with the
// number the operator finds it under (the CSV line it starts on, the worksheet's row number),
// so that a message about a row points at the right place. Portable; cells are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace roster {

struct TextRow {
    std::vector<std::string> cells;
    int number = 0;  // 1-based
    bool operator==(const TextRow&) const = default;
};

using TextRows = std::vector<TextRow>;

}  // namespace roster
