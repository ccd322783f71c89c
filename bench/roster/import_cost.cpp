// Cost of the day's list at its start: a 5,000-row class list imported from CSV (made here)
// and from .xlsx (written by openpyxl, bench/roster/make_workbook.py), each read and turned
// into a class list, and the photo status of that list against a folder of 500 photos with
// the index by ID number. Processor time; medians over several runs.
// Usage: orvia_bench_import WORKBOOK.xlsx [--repeats N] [--runs N]
#include "bench/timing.h"
#include "roster/class_list.h"
#include "roster/csv_text.h"
#include "roster/id_number.h"
#include "roster/photo_status.h"
#include "roster/xlsx_reader.h"

#include "platform/gb18030.h"
#include "platform/utf.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kTrainees = 5000;
constexpr int kPhotos = 500;
constexpr roster::Date kToday{2026, 12, 10};

// What a school system exports: a header, then name, ID number, class; GBK, as a spreadsheet's
// plain CSV on a Chinese Windows.
std::string ClassListCsv() {
    constexpr const char* kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周"};
    constexpr const char* kGiven[] = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋"};
    std::vector<std::vector<std::string>> rows{{"序号", "姓名", "身份证号码", "班级"}};
    for (int i = 0; i < kTrainees; ++i) {
        char first17[18];
        std::snprintf(first17, sizeof first17, "110105%04d%02d%02d%03d", 1960 + i % 40, 1 + i % 12, 1 + i % 28,
                      i % 1000);
        rows.push_back({std::to_string(i + 1), std::string(kSurnames[i % 10]) + kGiven[i / 10 % 10] + kGiven[i % 10],
                        first17 + std::string(1, *roster::IdCheckCharacter(first17)), std::to_string(1 + i % 20) + "班"});
    }
    const std::string utf8 = roster::WriteCsv(rows).substr(roster::kUtf8Bom.size());
    return *platform::ToGb18030(platform::Utf8ToUtf16(utf8));
}

}  // namespace

int main(int argc, char** argv) {
    struct {
        int repeats = 5;
        int runs = 7;
    } options;
    if (argc < 2 ||
        !bench::ParseCounts<char>(argc - 1, argv + 1, {{"--repeats", &options.repeats}, {"--runs", &options.runs}})) {
        std::fprintf(stderr, "usage: %s WORKBOOK.xlsx [--repeats N] [--runs N]\n", argv[0]);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> workbook{std::istreambuf_iterator<char>(file), {}};
    const std::string csv = ClassListCsv();
    if (roster::ReadXlsx(workbook).problem != roster::XlsxProblem::None) {
        std::fprintf(stderr, "%s: not a workbook this reader reads\n", argv[1]);
        return 1;
    }

    std::vector<double> csvTimes, xlsxTimes, statusTimes;
    std::size_t checksum = 0;
    roster::ClassList list;
    for (int run = 0; run < options.runs; ++run) {
        csvTimes.push_back(bench::CpuMillisecondsEach(options.repeats, [&](int) {
            list = roster::BuildClassList(roster::ReadCsv(csv), kToday);
            checksum += list.trainees.size();
        }));
        xlsxTimes.push_back(bench::CpuMillisecondsEach(options.repeats, [&](int) {
            list = roster::BuildClassList(roster::ReadXlsx(workbook).rows, kToday);
            checksum += list.trainees.size();
        }));
        std::vector<roster::PhotoFile> folder;
        for (int i = 0; i < kPhotos; ++i)
            folder.push_back({roster::PhotoFileName(list.trainees[static_cast<std::size_t>(i * 7 % kTrainees)]),
                              {{2026, 3, 1}, 9, i / 60 % 60, i % 60}});
        statusTimes.push_back(bench::CpuMillisecondsEach(options.repeats, [&](int) {
            const roster::PhotoStatus status = roster::FindPhotos(list.trainees, folder);
            const roster::TraineeIndex index(list.trainees);
            checksum += status.taken + index.Find(list.trainees.back().idNumber).value_or(0);
        }));
    }
    std::printf("%d trainees (CSV %zu bytes in GBK, .xlsx %zu bytes), %d photos; %d repeats per run, %d runs; "
                "medians in processor ms\n",
                kTrainees, csv.size(), workbook.size(), kPhotos, options.repeats, options.runs);
    std::printf("%12s %12s %14s\n", "csv import", "xlsx import", "photo status");
    std::printf("%12.2f %12.2f %14.3f\n", bench::Median(csvTimes), bench::Median(xlsxTimes), bench::Median(statusTimes));
    std::printf("(%zu trainees in the last list, %zu wrong; checksum %zu)\n", list.trainees.size(), list.wrongIds.size(),
                checksum);
    return 0;
}
