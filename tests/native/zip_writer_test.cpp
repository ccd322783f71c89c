// The hand-over archive read back by unzip and by Python's zipfile: Chinese names
// as GB18030 bytes in the name field and as UTF-8 in the Unicode Path field (whose CRC-32
// unzip checks before it trusts it), contents intact; and what is refused rather than
// written wrong.
#include "roster/zip_reader.h"
#include "roster/zip_writer.h"

#include "platform/gb18030.h"
#include "platform/utf.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using roster::ZipWriteProblem;
using Bytes = std::vector<std::uint8_t>;

std::string Hex(std::string_view bytes) {
    std::string hex;
    for (unsigned char c : bytes) {
        constexpr char kDigits[] = "0123456789abcdef";
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

std::string Output(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    status = ::pclose(pipe);
    return output;
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ZipWriter, ArchiveReadsBackInUnzipAndPythonWithNamesByteForByte) {
    const struct {
        std::string name;  // UTF-8
        std::string data;
    } entries[] = {
        {"学员照片/张三_11010519491231002X.jpg", std::string("\xFF\xD8\xFF\xE0 jpeg\0bytes", 16)},
        {"学员照片/拍照记录.csv", "时间,姓名\r\n"},
        {"readme.txt", ""},
        {"学员照片/\xF0\xA0\xAE\xB7\xE4\xB6\xAE.jpg", "outside GBK"},  // U+20BB7 U+4DAE: four-byte GB18030
    };
    const std::string path = testing::TempDir() + "handover.zip";
    Bytes archive;
    roster::ZipWriter zip([&](std::span<const std::uint8_t> bytes) {
        archive.insert(archive.end(), bytes.begin(), bytes.end());
        return true;
    });
    for (const auto& entry : entries)
        ASSERT_EQ(zip.Add(entry.name, AsBytes(entry.data), {{2026, 3, 1}, 14, 30, 7}), ZipWriteProblem::None);
    ASSERT_EQ(zip.Finish(), ZipWriteProblem::None);
    EXPECT_EQ(zip.Finish(), ZipWriteProblem::Finished);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(archive.data()),
                                                static_cast<std::streamsize>(archive.size()));

    int status = -1;
    const std::string tested = Output("unzip -tq '" + path + "' 2>&1", status);
    EXPECT_EQ(status, 0) << tested;
    // unzip shows the Unicode Path names: it found the field and its CRC-32 matched.
    std::string names = Output("LC_ALL=C.UTF-8 unzip -Z1 '" + path + "' 2>&1", status);
    std::string expectedNames, expectedDump;
    roster::ZipReader reader(archive);
    ASSERT_EQ(reader.Problem(), roster::ZipProblem::None);
    for (const auto& entry : entries) {
        const std::string field = platform::ToGb18030(platform::Utf8ToUtf16(entry.name)).value();
        const bool ascii = field == entry.name;
        expectedNames += entry.name + "\n";
        expectedDump += Hex(field) + " " + (ascii ? "-" : Hex(entry.name)) + " " + (ascii ? "-" : Hex(entry.name)) +
                        " 0000 " + Hex(entry.data) + "\n";
        std::string data;
        EXPECT_EQ(reader.Read(field, data), roster::ZipProblem::None);
        EXPECT_EQ(data, entry.data);
    }
    EXPECT_EQ(names, expectedNames);
    const std::string dump = Output(std::string(ROSTER_PYTHON) + " '" + ROSTER_ZIP_ENTRIES + "' '" + path + "' 2>&1", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(dump, expectedDump);
    std::remove(path.c_str());
}

TEST(ZipWriter, RefusesWhatItCannotWriteRight) {
    std::size_t written = 0;
    roster::ZipWriter zip([&](std::span<const std::uint8_t> bytes) {
        written += bytes.size();
        return true;
    });
    const roster::LocalTime time{{2026, 3, 1}, 0, 0, 0};
    EXPECT_EQ(zip.Add("", {}, time), ZipWriteProblem::BadName);
    EXPECT_EQ(zip.Add("a\xED\xA0\x80.jpg", {}, time), ZipWriteProblem::BadName) << "an encoded lone surrogate";
    EXPECT_EQ(written, 0u);

    // An entry of 4 GiB: address space only, never touched.
    const std::size_t huge = std::size_t{1} << 32;
    void* const memory = ::mmap(nullptr, huge, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    EXPECT_EQ(zip.Add("big.jpg", {static_cast<const std::uint8_t*>(memory), huge - 64}, time), ZipWriteProblem::TooLarge);
    ::munmap(memory, huge);

    for (int i = 0; i < 0xFFFF; ++i) ASSERT_EQ(zip.Add(std::to_string(i), {}, time), ZipWriteProblem::None);
    EXPECT_EQ(zip.Add("one more", {}, time), ZipWriteProblem::TooMany);
    EXPECT_EQ(zip.Finish(), ZipWriteProblem::None);

    roster::ZipWriter failing([](std::span<const std::uint8_t>) { return false; });
    EXPECT_EQ(failing.Add("a.jpg", {}, time), ZipWriteProblem::SinkFailed);
    EXPECT_EQ(failing.Finish(), ZipWriteProblem::SinkFailed);
}

}  // namespace
