#include "roster/class_list.h"

#include "roster/csv_text.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace roster {

namespace {

constexpr std::string_view kNameHeaders[] = {"姓名"};
constexpr std::string_view kIdHeaders[] = {"身份证号", "身份证号码", "证件号码"};
constexpr std::string_view kClassHeaders[] = {"班级", "班别"};
// A title row or two ("2024年春季班学员名单") often stands above the header.
constexpr std::size_t kHeaderSearchRows = 10;
constexpr std::string_view kFullWidthSpace = "\u3000";

// A cell without the blanks typed around it: spaces, tabs, line breaks, full-width spaces.
std::string Clean(std::string_view cell) {
    for (;;) {
        if (!cell.empty() && std::string_view(" \t\r\n").find(cell.front()) != std::string_view::npos) {
            cell.remove_prefix(1);
        } else if (!cell.empty() && std::string_view(" \t\r\n").find(cell.back()) != std::string_view::npos) {
            cell.remove_suffix(1);
        } else if (cell.starts_with(kFullWidthSpace)) {
            cell.remove_prefix(kFullWidthSpace.size());
        } else if (cell.ends_with(kFullWidthSpace)) {
            cell.remove_suffix(kFullWidthSpace.size());
        } else {
            return std::string(cell);
        }
    }
}

// A header cell without any blanks: forms space out short headers ("姓　名") to line them
// up, and break long ones over two lines.
std::string Compact(std::string_view cell) {
    std::string compact;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell.substr(i).starts_with(kFullWidthSpace)) {
            i += kFullWidthSpace.size() - 1;
        } else if (std::string_view(" \t\r\n").find(cell[i]) == std::string_view::npos) {
            compact += cell[i];
        }
    }
    return compact;
}

std::string_view Cell(const TextRow& row, int column) {
    return column >= 0 && static_cast<std::size_t>(column) < row.cells.size() ? row.cells[static_cast<std::size_t>(column)]
                                                                             : std::string_view();
}

bool LooksLikeIdNumber(std::string_view cell) {
    if (cell.size() != kIdNumberLength) return false;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if (!(c >= '0' && c <= '9') && !(i == 17 && (c == 'X' || c == 'x'))) return false;
    }
    return true;
}

bool LooksLikeName(std::string_view cell) {
    if (cell.empty() || LooksLikeIdNumber(cell)) return false;
    return cell.find_first_not_of("0123456789.,+-eE") != std::string_view::npos;
}

struct Columns {
    int name = -1;
    int id = -1;
    int className = -1;
    std::size_t firstRow = 0;  // index of the first row of trainees
};

std::optional<Columns> FromHeader(std::span<const TextRow> rows) {
    const auto isOneOf = [](const std::string& cell, std::span<const std::string_view> names) {
        return std::find(names.begin(), names.end(), cell) != names.end();
    };
    for (std::size_t r = 0; r < std::min(rows.size(), kHeaderSearchRows); ++r) {
        Columns columns{.firstRow = r + 1};
        for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
            const std::string cell = Compact(rows[r].cells[c]);
            int* column = isOneOf(cell, kNameHeaders)    ? &columns.name
                          : isOneOf(cell, kIdHeaders)    ? &columns.id
                          : isOneOf(cell, kClassHeaders) ? &columns.className
                                                         : nullptr;
            if (column && *column < 0) *column = static_cast<int>(c);
        }
        if (columns.name >= 0 && columns.id >= 0) return columns;
    }
    return std::nullopt;
}

std::optional<Columns> FromContent(std::span<const TextRow> rows) {
    // One pass over the cells there are: a row far wider than the others costs no more.
    std::vector<std::size_t> ids, names;
    for (const TextRow& row : rows) {
        if (row.cells.size() > ids.size()) {
            ids.resize(row.cells.size());
            names.resize(row.cells.size());
        }
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const std::string cell = Clean(row.cells[c]);
            ids[c] += LooksLikeIdNumber(cell) ? 1 : 0;
            names[c] += LooksLikeName(cell) ? 1 : 0;
        }
    }
    const auto most = std::max_element(ids.begin(), ids.end());
    if (most == ids.end() || *most * 2 <= rows.size()) return std::nullopt;
    Columns columns{.id = static_cast<int>(most - ids.begin())};
    const int width = static_cast<int>(ids.size());
    for (int distance = 1; distance < width && columns.name < 0; ++distance) {
        for (const int c : {columns.id - distance, columns.id + distance}) {
            if (c >= 0 && c < width && names[static_cast<std::size_t>(c)] * 2 > rows.size()) {
                columns.name = c;
                break;
            }
        }
    }
    if (columns.name < 0) return std::nullopt;
    return columns;
}

}  // namespace

ClassList BuildClassList(std::span<const TextRow> rows, Date today) {
    ClassList list;
    std::optional<Columns> columns = FromHeader(rows);
    if (!columns) columns = FromContent(rows);
    if (!columns) {
        list.problem = ListProblem::NoColumns;
        return list;
    }
    std::unordered_map<std::string, int> firstRows;  // ID number -> the row kept
    for (const TextRow& row : rows.subspan(columns->firstRow)) {
        Trainee trainee{Clean(Cell(row, columns->name)), NormalizeIdNumber(Clean(Cell(row, columns->id))),
                        Clean(Cell(row, columns->className)), row.number};
        if (trainee.name.empty() && trainee.idNumber.empty()) continue;
        if (!trainee.idNumber.empty()) {
            const auto [first, isNew] = firstRows.try_emplace(trainee.idNumber, row.number);
            if (!isNew) {
                list.duplicates.push_back({row.number, first->second, trainee.name, trainee.idNumber});
                continue;
            }
        }
        if (const IdProblem problem = CheckIdNumber(trainee.idNumber, today); problem != IdProblem::None)
            list.wrongIds.push_back({row.number, trainee.name, trainee.idNumber, problem});
        list.trainees.push_back(std::move(trainee));
    }
    if (list.trainees.empty()) list.problem = ListProblem::NoTrainees;
    return list;
}

std::string DescribeImport(const ClassList& list, std::size_t maxListed) {
    if (list.problem == ListProblem::NoColumns)
        return "没有找到“姓名”和“身份证号码”两列。请在名单的第一行写上列名：姓名、身份证号码（班级可以不写）。";
    if (list.problem == ListProblem::NoTrainees) return "名单里没有学员。";
    std::string text;
    const auto append = [&](const auto&... parts) { (text.append(std::string_view(parts)), ...); };
    append("已导入 ", std::to_string(list.trainees.size()), " 名学员。");
    const auto addList = [&](std::string_view title, std::size_t count, auto&& addLine) {
        if (count == 0) return;
        append("\n\n", std::to_string(count), title);
        for (std::size_t i = 0; i < std::min(count, maxListed); ++i) {
            text += '\n';
            addLine(i);
        }
        if (count > maxListed) append("\n……另有 ", std::to_string(count - maxListed), " 行");
    };
    const auto addRow = [&](int row, const std::string& name, const std::string& idNumber) {
        append("第 ", std::to_string(row), " 行 ", name, " ", idNumber.empty() ? "（没有身份证号码）" : idNumber);
    };
    addList(" 行的身份证号码有误，已照样导入，请核对：", list.wrongIds.size(), [&](std::size_t i) {
        const WrongIdRow& wrong = list.wrongIds[i];
        addRow(wrong.row, wrong.name, wrong.idNumber);
        if (!wrong.idNumber.empty()) append("：", DescribeIdProblem(wrong.problem));
    });
    addList(" 行的身份证号码与前面的行重复，没有导入：", list.duplicates.size(), [&](std::size_t i) {
        const DuplicateRow& duplicate = list.duplicates[i];
        addRow(duplicate.row, duplicate.name, duplicate.idNumber);
        append("（与第 ", std::to_string(duplicate.firstRow), " 行相同）");
    });
    return text;
}

std::string WriteClassListCsv(std::span<const Trainee> trainees) {
    std::vector<std::vector<std::string>> rows{{"姓名", "身份证号码", "班级"}};
    for (const Trainee& trainee : trainees) rows.push_back({trainee.name, trainee.idNumber, trainee.className});
    // The ID numbers go in plain: this reader reads the file back. A spreadsheet would show them as
    // 1.10105E+17 and lose their last digits if the file were saved from it.
    return WriteCsv(rows);
}

ClassList ReadClassListCsv(std::string_view bytes, Date today) { return BuildClassList(ReadCsv(bytes), today); }

}  // namespace roster
