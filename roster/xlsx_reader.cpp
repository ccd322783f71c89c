#include "roster/xlsx_reader.h"

#include "roster/xml_scan.h"
#include "roster/zip_reader.h"

#include "platform/utf.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace roster {

namespace {

constexpr std::size_t kMaxColumns = 16384;  // XFD, the sheet's last column
constexpr int kMaxRows = 1'048'576;
constexpr std::size_t kMaxText = 256u << 20;
constexpr std::string_view kFallbackSheet = "xl/worksheets/sheet1.xml";

using Kind = XmlToken::Kind;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A spreadsheet writes characters XML cannot hold (a CR in a cell) as _xHHHH_, and a literal
// "_x" that would read so as _x005F_x.
std::string Unescape(std::string text) {
    if (text.find("_x") == std::string::npos) return text;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "_x") == 0 && i + 7 <= text.size() && text[i + 6] == '_') {
            int code = 0;
            for (std::size_t k = i + 2; k < i + 6 && code >= 0; ++k)
                code = HexValue(text[k]) < 0 ? -1 : code * 16 + HexValue(text[k]);
            if (code > 0) {
                out += platform::Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(code)));
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of a <t> element whose start tag was just read: its runs of text up to </t>,
// trimmed unless xml:space="preserve".
std::optional<std::string> ReadT(XmlScanner& scanner, const XmlToken& start) {
    std::string text;
    if (start.kind == Kind::Start) {
        XmlToken token;
        for (;;) {
            if (!scanner.Next(token)) return std::nullopt;
            if (token.kind == Kind::End && token.name == "t") break;
            if (token.kind == Kind::Text) text += XmlText(token);
        }
    }
    if (XmlAttribute(start.attributes, "space") != "preserve") {
        const std::size_t first = text.find_first_not_of(" \t\n\r");
        text = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t\n\r") - first + 1);
    }
    return Unescape(std::move(text));
}

// The text of a string item (<si> or <is>) whose start tag was just read: its <t>, or the
// <t> of each of its runs; the phonetic runs (<rPh>) are a reading aid, not the text.
std::optional<std::string> ReadStringItem(XmlScanner& scanner, std::string_view item) {
    std::string text;
    bool phonetic = false;
    XmlToken token;
    for (;;) {
        if (!scanner.Next(token)) return std::nullopt;
        if (token.kind == Kind::End && token.name == item) return text;
        if (token.name == "rPh") phonetic = token.kind == Kind::Start;
        if (token.name == "t" && token.kind != Kind::End) {
            const std::optional<std::string> t = ReadT(scanner, token);
            if (!t) return std::nullopt;
            if (!phonetic) text += *t;
        }
    }
}

// The shared strings into `strings`; more of them than cells a sheet may have, or more text
// than the budget, is refused: each may be copied into many cells.
XlsxProblem ReadSharedStrings(std::string_view xml, std::size_t& textBudget, std::vector<std::string>& strings) {
    XmlScanner scanner(xml);
    XmlToken token;
    while (scanner.Next(token)) {
        if (token.name != "si" || token.kind == Kind::End) continue;
        std::optional<std::string> text = token.kind == Kind::Empty ? std::string() : ReadStringItem(scanner, "si");
        if (!text) return XlsxProblem::Corrupt;
        if (text->size() > textBudget) return XlsxProblem::TooLarge;
        if (strings.size() == kMaxXlsxCells) return XlsxProblem::TooManyCells;
        textBudget -= text->size();
        strings.push_back(std::move(*text));
    }
    return XlsxProblem::None;
}

// `relative` ("worksheets/sheet1.xml", "../xl/a.xml", "/xl/a.xml") from the folder `base`.
std::string JoinPath(std::string_view base, std::string_view relative) {
    std::vector<std::string_view> segments;
    const auto add = [&](std::string_view path) {
        while (!path.empty()) {
            const std::size_t slash = path.find('/');
            const std::string_view segment = path.substr(0, slash);
            if (segment == "..") {
                if (!segments.empty()) segments.pop_back();
            } else if (!segment.empty() && segment != ".") {
                segments.push_back(segment);
            }
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        }
    };
    add(base);
    add(relative);
    std::string joined;
    for (const std::string_view segment : segments) (joined.empty() ? joined : joined += '/') += segment;
    return joined;
}

// The part of the first worksheet: the first <sheet> of the workbook whose relationship is
// a worksheet (a chart sheet may come first); empty when the workbook does not say.
std::string FirstSheetPart(ZipReader& zip) {
    std::string workbook, relations;
    if (zip.Read("xl/workbook.xml", workbook) != ZipProblem::None ||
        zip.Read("xl/_rels/workbook.xml.rels", relations) != ZipProblem::None)
        return {};
    std::unordered_map<std::string, std::string> worksheets;  // relationship id -> target
    XmlToken token;
    for (XmlScanner scanner(relations); scanner.Next(token);) {
        if (token.name != "Relationship" || token.kind == Kind::End) continue;
        std::optional<std::string> id = XmlAttribute(token.attributes, "Id");
        std::optional<std::string> target = XmlAttribute(token.attributes, "Target");
        if (id && target && !target->empty() &&
            XmlAttribute(token.attributes, "Type").value_or("").ends_with("/worksheet"))
            worksheets.emplace(std::move(*id), std::move(*target));
    }
    for (XmlScanner scanner(workbook); scanner.Next(token);) {
        if (token.name != "sheet" || token.kind == Kind::End) continue;
        const auto found = worksheets.find(XmlAttribute(token.attributes, "id").value_or(""));
        if (found == worksheets.end()) continue;
        // Relative to xl/, or from the package's root when it starts with '/'.
        const std::string& target = found->second;
        return JoinPath(target.starts_with('/') ? "" : "xl", target);
    }
    return {};
}

// Column and row of a reference such as "B2": {2, 2}; {0, 0} when it is none.
std::pair<std::size_t, int> CellReference(std::string_view reference) {
    std::size_t column = 0, i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z' && column <= kMaxColumns; ++i)
        column = column * 26 + static_cast<std::size_t>(reference[i] - 'A' + 1);
    int row = 0;
    for (; i < reference.size() && reference[i] >= '0' && reference[i] <= '9' && row <= kMaxRows; ++i)
        row = row * 10 + (reference[i] - '0');
    if (i != reference.size() || column == 0 || column > kMaxColumns || row == 0 || row > kMaxRows) return {0, 0};
    return {column, row};
}

struct SheetReader {
    const std::vector<std::string>& shared;
    std::size_t textBudget;
    TextRows rows;
    std::size_t cells = 0;

    XlsxProblem Read(std::string_view xml) {
        XmlScanner scanner(xml);
        XmlToken token;
        int rowNumber = 0;
        bool rowHasCells = false;
        while (scanner.Next(token)) {
            if (token.kind == Kind::End) continue;
            if (token.name == "row") {
                const std::optional<std::string> r = XmlAttribute(token.attributes, "r");
                rowNumber = r ? CellReference("A" + *r).second : rowNumber + 1;
                if (rowNumber == 0 || rowNumber > kMaxRows) return XlsxProblem::Corrupt;
                rowHasCells = false;
            } else if (token.name == "c") {
                if (rowNumber == 0) return XlsxProblem::Corrupt;  // a cell outside a row
                // A row enters the table with its first cell: empty rows take no room.
                if (!rowHasCells) rows.push_back(TextRow{.number = rowNumber});
                rowHasCells = true;
                if (const XlsxProblem problem = ReadCell(scanner, token); problem != XlsxProblem::None)
                    return problem;
            }
        }
        return XlsxProblem::None;
    }

    XlsxProblem ReadCell(XmlScanner& scanner, const XmlToken& start) {
        TextRow& row = rows.back();
        std::size_t column = row.cells.size() + 1;
        if (const std::optional<std::string> r = XmlAttribute(start.attributes, "r")) {
            const auto [c, number] = CellReference(*r);
            if (c == 0) return XlsxProblem::Corrupt;
            column = c;
        }
        if (column > kMaxColumns) return XlsxProblem::Corrupt;
        const std::string type = XmlAttribute(start.attributes, "t").value_or("n");
        std::string value, inlineText;
        XmlToken token;
        for (bool open = start.kind == Kind::Start; open;) {
            if (!scanner.Next(token)) return XlsxProblem::Corrupt;
            if (token.kind == Kind::End && token.name == "c") break;
            if (token.name == "v" && token.kind == Kind::Start) {
                while (scanner.Next(token) && token.kind == Kind::Text) value += XmlText(token);
            } else if (token.name == "is" && token.kind == Kind::Start) {
                const std::optional<std::string> text = ReadStringItem(scanner, "is");
                if (!text) return XlsxProblem::Corrupt;
                inlineText = *text;
            }
        }
        std::string text;
        if (type == "s") {
            std::size_t index = 0;
            for (char d : value) {
                if (d < '0' || d > '9' || index > shared.size()) return XlsxProblem::Corrupt;
                index = index * 10 + static_cast<std::size_t>(d - '0');
            }
            if (value.empty() || index >= shared.size()) return XlsxProblem::Corrupt;
            text = shared[index];
        } else if (type == "inlineStr") {
            text = std::move(inlineText);
        } else if (type == "b") {
            text = value == "1" ? "TRUE" : value == "0" ? "FALSE" : value;
        } else {
            text = std::move(value);  // n, str (a formula's text), e, d: as written
        }
        if (column > row.cells.size()) {
            cells += column - row.cells.size();
            if (cells > kMaxXlsxCells) return XlsxProblem::TooManyCells;
            row.cells.resize(column);
        }
        if (text.size() > textBudget) return XlsxProblem::TooLarge;
        textBudget -= text.size();
        row.cells[column - 1] = std::move(text);
        return XlsxProblem::None;
    }
};

XlsxProblem FromZip(ZipProblem problem) {
    switch (problem) {
        case ZipProblem::None: return XlsxProblem::None;
        case ZipProblem::NotZip:
        case ZipProblem::Missing: return XlsxProblem::NotXlsx;
        case ZipProblem::Unsupported: return XlsxProblem::Unsupported;
        case ZipProblem::TooLarge: return XlsxProblem::TooLarge;
        case ZipProblem::Corrupt: return XlsxProblem::Corrupt;
    }
    return XlsxProblem::Corrupt;
}

}  // namespace

XlsxSheet ReadXlsx(std::span<const std::uint8_t> bytes) {
    constexpr std::uint8_t kCompoundFile[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (bytes.size() >= sizeof kCompoundFile && std::equal(std::begin(kCompoundFile), std::end(kCompoundFile), bytes.begin()))
        return {XlsxProblem::OldOrLocked, {}};
    ZipReader zip(bytes);
    if (zip.Problem() != ZipProblem::None) return {FromZip(zip.Problem()), {}};
    std::string sheetXml;
    const std::string part = FirstSheetPart(zip);
    ZipProblem problem = part.empty() ? ZipProblem::Missing : zip.Read(part, sheetXml);
    if (problem == ZipProblem::Missing) problem = zip.Read(kFallbackSheet, sheetXml);
    if (problem != ZipProblem::None) return {FromZip(problem), {}};

    std::size_t textBudget = kMaxText;
    std::vector<std::string> shared;
    std::string sharedXml;
    const ZipProblem sharedProblem = zip.Read("xl/sharedStrings.xml", sharedXml);
    if (sharedProblem != ZipProblem::None && sharedProblem != ZipProblem::Missing) return {FromZip(sharedProblem), {}};
    if (sharedProblem == ZipProblem::None) {
        const XlsxProblem stringsProblem = ReadSharedStrings(sharedXml, textBudget, shared);
        if (stringsProblem != XlsxProblem::None) return {stringsProblem, {}};
    }
    SheetReader reader{shared, textBudget, {}};
    const XlsxProblem sheetProblem = reader.Read(sheetXml);
    if (sheetProblem != XlsxProblem::None) return {sheetProblem, {}};
    return {XlsxProblem::None, std::move(reader.rows)};
}

std::string_view DescribeXlsxProblem(XlsxProblem problem) {
    switch (problem) {
        case XlsxProblem::None: return {};
        case XlsxProblem::NotXlsx: return "这个文件不是 .xlsx 工作簿，或者里面没有工作表";
        case XlsxProblem::OldOrLocked: return "这是旧版的 .xls 工作簿或加了密码的工作簿，请用表格软件打开，另存为 .xlsx 或 CSV 后再导入";
        case XlsxProblem::Unsupported: return "这个工作簿用了本程序读不了的压缩方式，请用表格软件打开，另存为 .xlsx 或 CSV 后再导入";
        case XlsxProblem::TooLarge: return "这个工作簿太大，不像是学员名单";
        case XlsxProblem::TooManyCells: return "这个工作表的单元格超过一百万个，不像是学员名单";
        case XlsxProblem::Corrupt: return "这个工作簿已损坏，请用表格软件打开，另存一份后再导入";
    }
    return {};
}

}  // namespace roster
