#include "roster/csv_text.h"

#include "platform/gb18030.h"
#include "platform/utf.h"

namespace roster {

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Consumes the line break at `i` (CR LF, LF or a lone CR).
void SkipLineBreak(std::string_view text, std::size_t& i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++i;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A spreadsheet's ways of keeping a cell as text: ="0123" (quotes inside doubled) and '0123.
std::string Unmark(std::string field) {
    if (field.size() >= 3 && field.starts_with("=\"") && field.ends_with('"')) {
        std::string inside;
        const std::string_view body = std::string_view(field).substr(2, field.size() - 3);
        for (std::size_t i = 0; i < body.size(); ++i) {
            inside += body[i];
            if (body[i] == '"' && i + 1 < body.size() && body[i + 1] == '"') ++i;
        }
        return inside;
    }
    if (field.starts_with('\'')) field.erase(0, 1);
    return field;
}

// One field from `i`, which is left on the comma, the line break or the end after it.
// `line` counts the line breaks inside quotes.
std::string ReadField(std::string_view text, std::size_t& i, int& line) {
    const std::size_t n = text.size();
    if (i < n && text[i] == '"') {
        std::string field;
        ++i;
        while (i < n) {
            const char c = text[i];
            if (c == '"') {
                if (i + 1 < n && text[i + 1] == '"') {
                    field += '"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            if (IsLineBreak(c)) {
                SkipLineBreak(text, i);
                ++line;
                field += '\n';  // a line break inside a cell, as a spreadsheet keeps it
                continue;
            }
            field += c;
            ++i;
        }
        // A spreadsheet keeps what follows the closing quote, up to the comma.
        const std::size_t start = i;
        while (i < n && text[i] != ',' && !IsLineBreak(text[i])) ++i;
        field += TrimBlanks(text.substr(start, i - start));
        return field;
    }
    const std::size_t start = i;
    while (i < n && text[i] != ',' && !IsLineBreak(text[i])) ++i;
    return std::string(TrimBlanks(text.substr(start, i - start)));
}

bool NeedsQuotes(std::string_view field) {
    if (field.find_first_of(",\"\r\n") != std::string_view::npos) return true;
    return !field.empty() && (field.front() == ' ' || field.front() == '\t' || field.back() == ' ' ||
                              field.back() == '\t');
}

}  // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return TextEncoding::Utf8WithBom;
    return platform::IsUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gb18030;
}

std::string DecodeText(std::string_view bytes) {
    switch (DetectEncoding(bytes)) {
        case TextEncoding::Utf8WithBom: return std::string(bytes.substr(kUtf8Bom.size()));
        case TextEncoding::Utf8: return std::string(bytes);
        case TextEncoding::Gb18030: return platform::Utf16ToUtf8(platform::FromGb18030(bytes));
    }
    return {};
}

TextRows ReadCsv(std::string_view bytes) {
    const std::string decoded = DecodeText(bytes);
    const std::string_view text = decoded;
    TextRows rows;
    std::size_t i = 0;
    int line = 1;
    while (i < text.size()) {
        TextRow row{.number = line};
        for (;;) {
            row.cells.push_back(Unmark(ReadField(text, i, line)));
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (i < text.size()) {
                SkipLineBreak(text, i);
                ++line;
            }
            break;
        }
        bool blank = true;
        for (const std::string& cell : row.cells) blank = blank && cell.empty();
        if (!blank) rows.push_back(std::move(row));
    }
    return rows;
}

std::string CsvRecord(std::span<const std::string> fields) {
    std::string record;
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (f > 0) record += ',';
        std::string field = fields[f];
        // An apostrophe keeps a field that a spreadsheet would take for a formula as text, and one
        // that starts with an apostrophe itself intact: ReadCsv drops exactly one.
        if (!field.empty() && std::string_view("'=+-@").find(field.front()) != std::string_view::npos)
            field.insert(0, 1, '\'');
        if (!NeedsQuotes(field)) {
            record += field;
            continue;
        }
        record += '"';
        for (char c : field) {
            if (c == '"') record += '"';
            record += c;
        }
        record += '"';
    }
    record += "\r\n";
    return record;
}

std::string WriteCsv(std::span<const std::vector<std::string>> rows) {
    std::string file(kUtf8Bom);
    for (const std::vector<std::string>& row : rows) file += CsvRecord(row);
    return file;
}

}  // namespace roster
