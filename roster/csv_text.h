// CSV files as a spreadsheet writes and reads them, the form a school's class list and our own
// lists come in. Reading: the encoding is told by the bytes (a UTF-8 byte-order mark; else
// UTF-8 when the bytes are well-formed UTF-8; else GB18030, which reads the GBK that a spreadsheet's
// plain "CSV" writes on a Chinese Windows), then records per RFC 4180 with a spreadsheet's habits: a
// field written ="..." (a long number kept as text) reads as its inside, a leading
// apostrophe is dropped, spaces around an unquoted field are trimmed, blank records are
// skipped. Writing: UTF-8 with a byte-order mark and CR LF line ends, which a spreadsheet on Windows 7
// and later opens with the Chinese intact. Portable; cells are UTF-8.
#pragma once

#include "roster/rows.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace roster {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class TextEncoding { Utf8WithBom, Utf8, Gb18030 };

TextEncoding DetectEncoding(std::string_view bytes);

// A text file's bytes as UTF-8 text, without a byte-order mark.
std::string DecodeText(std::string_view bytes);

// The records of a CSV file's bytes; each row's number is the line its record starts on.
TextRows ReadCsv(std::string_view bytes);

// One record, its fields separated by commas, closed by CR LF. A field is quoted when it
// holds a comma, a quote, a CR or a LF, or starts or ends with a space (ReadCsv would trim
// it otherwise).
std::string CsvRecord(std::span<const std::string> fields);

// A whole file: the byte-order mark, then each row as CsvRecord writes it.
std::string WriteCsv(std::span<const std::vector<std::string>> rows);

}  // namespace roster
