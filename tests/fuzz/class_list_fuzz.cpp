// A class list from any bytes: the first byte chooses the reader (even: CSV, odd: .xlsx),
// the rest is the file. The sanitizers catch reads outside the bytes and overflowing
// arithmetic; the checks below catch rows counted twice, a wrong ID number let through
// unlisted, and a list that does not come back the same through 学员名单.csv.
#include "roster/class_list.h"
#include "roster/csv_text.h"
#include "roster/xlsx_reader.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

namespace {

constexpr roster::Date kToday{2026, 12, 10};

void Check(bool holds) {
    if (!holds) std::abort();
}

// A cell's line breaks as CSV brings them back: CR LF and CR become LF inside quotes.
std::string Lines(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    roster::TextRows rows;
    if (data[0] % 2 == 0) {
        rows = roster::ReadCsv(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    } else {
        roster::XlsxSheet sheet = roster::ReadXlsx(file);
        Check(sheet.problem == roster::XlsxProblem::None || sheet.rows.empty());
        rows = std::move(sheet.rows);
    }
    const roster::ClassList list = roster::BuildClassList(rows, kToday);
    Check(list.trainees.size() + list.duplicates.size() <= rows.size());
    std::size_t wrong = 0;
    for (const roster::Trainee& trainee : list.trainees)
        wrong += roster::CheckIdNumber(trainee.idNumber, kToday) != roster::IdProblem::None ? 1 : 0;
    Check(wrong == list.wrongIds.size());
    Check(!roster::DescribeImport(list).empty());

    if (list.trainees.empty()) return 0;
    const roster::ClassList back = roster::ReadClassListCsv(roster::WriteClassListCsv(list.trainees), kToday);
    Check(back.trainees.size() == list.trainees.size() && back.duplicates.empty());
    for (std::size_t i = 0; i < list.trainees.size(); ++i) {
        Check(back.trainees[i].name == Lines(list.trainees[i].name));
        Check(back.trainees[i].idNumber == Lines(list.trainees[i].idNumber));
        Check(back.trainees[i].className == Lines(list.trainees[i].className));
    }
    return 0;
}
