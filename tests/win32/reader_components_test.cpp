// Our reader components without a reader: termb.dll and sdtapi.dll copied into a program
// directory of their own, where every port number outside 1..255 and every absent port
// fails and a full scan finds nothing; and the writing of the card files, which leaves
// either a whole file or none.
#include "card_file_writer.h"
#include "platform/files.h"
#include "platform/win_text.h"
#include "sdtapi.h"
#include "tests/e2e/harness.h"
#include "tests/win32/reader_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using e2e::DirectoryEntries;

using readertest::Bind;

// The three components in a fresh program directory, termb.dll loaded from there by full
// path as the program loads it, and sdtapi.dll's own calls beside it.
class ReaderComponents : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library_ = new readertest::ReaderLibrary;
        sdtapi_ = library_->Load(L"sdtapi.dll");
    }

    static void TearDownTestSuite() {
        delete library_;
        library_ = nullptr;
        sdtapi_ = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(library_->Termb(), nullptr) << "termb.dll could not be copied from ORVIA_COMPONENT_DIR and loaded";
        ASSERT_NE(sdtapi_, nullptr);
        const readertest::ReaderCalls calls = library_->Calls();
        ASSERT_TRUE(calls.Complete());
        initComm = calls.initComm;
        authenticate = calls.authenticate;
        readContent = calls.readContent;
        closeComm = calls.closeComm;
    }

    static std::wstring Beside(const wchar_t* name) { return library_->Beside(name); }
    static HMODULE Transport() { return sdtapi_; }

    int(__stdcall* initComm)(int) = nullptr;
    int(__stdcall* authenticate)() = nullptr;
    int(__stdcall* readContent)(int) = nullptr;
    int(__stdcall* closeComm)() = nullptr;

private:
    static inline readertest::ReaderLibrary* library_ = nullptr;
    static inline HMODULE sdtapi_ = nullptr;
};

bool PortIsAbsent(int number) {
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(number);
    HANDLE port = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return true;
    ::CloseHandle(port);
    return false;
}

TEST_F(ReaderComponents, PortNumbersOutsideTheSerialRangeFail) {
    for (const int port : {0, 256, 1001, 1016, 1200, -1, INT_MIN, INT_MAX}) {
        EXPECT_NE(initComm(port), 1) << port;
        EXPECT_EQ(Bind<SamOpenPortFn>(Transport(), "SamOpenPort")(port), 0) << port;
    }
}

TEST_F(ReaderComponents, AbsentPortsFailAndAScanFindsNoReader) {
    const auto openPort = Bind<SamOpenPortFn>(Transport(), "SamOpenPort");
    int absent = 0;
    for (int port = 1; port <= 255; ++port) {
        if (!PortIsAbsent(port)) continue;
        ++absent;
        EXPECT_EQ(openPort(port), 0) << port;
        EXPECT_NE(initComm(port), 1) << port;
    }
    EXPECT_GT(absent, 200) << "the test prefix has a few serial ports at most";

    // As the program scans: no reader anywhere, so no port answers.
    for (int port = 1; port <= 1200; ++port) ASSERT_NE(initComm(port), 1) << port;
}

TEST_F(ReaderComponents, WithoutAnOpenPortEveryCommandFails) {
    EXPECT_EQ(closeComm(), 1);
    EXPECT_EQ(closeComm(), 1) << "closing twice is harmless";
    EXPECT_NE(authenticate(), 1);
    EXPECT_EQ(Bind<SamModuleStatusFn>(Transport(), "SamModuleStatus")(), sdtapi::kNotOpen);
    EXPECT_EQ(Bind<SamFindCardFn>(Transport(), "SamFindCard")(), sdtapi::kNotOpen);
    EXPECT_EQ(Bind<SamSelectCardFn>(Transport(), "SamSelectCard")(), sdtapi::kNotOpen);
    const auto read = Bind<SamReadTextAndPhotoFn>(Transport(), "SamReadTextAndPhoto");
    Bytes text(256), photo(1024);
    EXPECT_EQ(read(text.data(), photo.data()), sdtapi::kNotOpen);
    EXPECT_EQ(read(nullptr, photo.data()), sdtapi::kBadArgument);
}

TEST_F(ReaderComponents, AFailedReadLeavesNoCardFilesOfAnEarlierOne) {
    const Bytes stale{'o', 'l', 'd'};
    for (const int mode : {4, 1, 0, 5, -4}) {
        for (const wchar_t* name : {L"wz.txt", L"xp.wlt", L"zp.bmp"})
            ASSERT_TRUE(platform::WriteWholeFile(Beside(name), stale));
        EXPECT_NE(readContent(mode), 1) << mode;
        for (const wchar_t* name : {L"wz.txt", L"xp.wlt", L"zp.bmp"})
            EXPECT_FALSE(platform::Exists(Beside(name))) << mode;
    }
}

// ---- the card files ---------------------------------------------------------------------

const std::array<std::u16string, 8> kCard{u"张三", u"男", u"汉", u"19900307", u"北京市东城区景山前街4号",
                                          u"11010119900307123X", u"北京市公安局东城分局", u"2015.01.01-长期"};

Bytes AsBytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(CardFiles, TheCardTextIsGb18030WithCrLfBetweenTheFields) {
    std::array<std::u16string, 8> ascii;
    for (std::size_t i = 0; i < ascii.size(); ++i) ascii[i] = std::u16string(1, static_cast<char16_t>(u'a' + i));
    EXPECT_EQ(termb::EncodeCardText(ascii), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh");
    EXPECT_EQ(termb::EncodeCardText({}), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

    const auto text = termb::EncodeCardText(kCard);
    ASSERT_TRUE(text);
    const Bytes bytes = AsBytes(*text);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{0xD5, 0xC5, 0xC8, 0xFD, 0x0D, 0x0A}));  // 张三
    EXPECT_EQ(Bytes(bytes.begin() + 6, bytes.begin() + 12), (Bytes{0xC4, 0xD0, 0x0D, 0x0A, 0xBA, 0xBA}));  // 男 汉
    EXPECT_TRUE(text->ends_with("-\xB3\xA4\xC6\xDA"));  // -长期, no CR LF after it
    EXPECT_EQ(std::count(text->begin(), text->end(), '\n'), 7);
}

TEST(CardFiles, EveryNameIsKeptOnlyWhatBreaksTheFileIsRefused) {
    // Beyond GBK: 䶮 (U+4DAE), a character beyond the BMP, one GBK has no place for at all.
    const std::pair<std::u16string, std::string> kept[] = {
        {u"王䶮", "\xCD\xF5\xFE\x9F"}, {u"\U00020000三", "\x95\x32\x82\x36\xC8\xFD"}, {u"张\U0001F600", "\xD5\xC5\x94\x39\xFC\x36"}};
    for (const auto& [name, bytes] : kept) {
        std::array<std::u16string, 8> fields = kCard;
        fields[0] = name;
        const auto text = termb::EncodeCardText(fields);
        ASSERT_TRUE(text) << platform::Narrow(std::wstring(name.begin(), name.end()));
        EXPECT_TRUE(text->starts_with(bytes + "\r\n"));
    }
    for (const std::u16string& name : {std::u16string(1, char16_t{0xD800}), std::u16string(u"张\r三"),
                                      std::u16string(u"张\n三"), std::u16string(u"张\0三", 3)}) {
        std::array<std::u16string, 8> fields = kCard;
        fields[0] = name;
        EXPECT_FALSE(termb::EncodeCardText(fields));
    }
}

// What a maker's library writes, code page 936 by the system's own table, reads as it did:
// every GBK character the system's table gives, decoded through GB18030 as the program now
// reads the card text file, comes back the same.
TEST(CardFiles, AGbkFileReadsAsItDidWhenReadAsGb18030) {
    int compared = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2] = {};
            if (::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) != 1) continue;
            if (wide[0] >= 0xE000 && wide[0] <= 0xF8FF) continue;  // private use: editions differ, no name has it
            EXPECT_EQ(platform::FromCodePage({bytes, 2}, platform::kGb18030CodePage),
                      platform::FromCodePage({bytes, 2}, 936))
                << std::hex << lead << ' ' << trail;
            ++compared;
        }
    }
    EXPECT_GT(compared, 21000);
    const std::string card = "\xCD\xF5\xD0\xA1\xC3\xF7\r\n\xC4\xD0";  // 王小明 CR LF 男, as makers write it
    EXPECT_EQ(platform::FromCodePage(card, platform::kGb18030CodePage), "王小明\r\n男");
}

TEST(CardFiles, WrittenWholeAndReplacingAnEarlierRead) {
    e2e::TempProgramDir dir;
    const Bytes portrait(1024, 0x5A);
    ASSERT_TRUE(platform::WriteWholeFile(dir / L"wz.txt", AsBytes("earlier card\r\n")));
    ASSERT_TRUE(termb::WriteCardFiles(dir.Path(), kCard, portrait));
    EXPECT_EQ(platform::ReadWholeFile(dir / L"wz.txt"), AsBytes(*termb::EncodeCardText(kCard)));
    EXPECT_EQ(platform::ReadWholeFile(dir / L"xp.wlt"), portrait);
    EXPECT_EQ(DirectoryEntries(dir.Path()), (std::vector<std::wstring>{L"wz.txt", L"xp.wlt"}));

    ASSERT_TRUE(termb::RemoveCardFiles(dir.Path()));
    EXPECT_TRUE(DirectoryEntries(dir.Path()).empty());
    EXPECT_TRUE(termb::RemoveCardFiles(dir.Path())) << "nothing to remove is no failure";
}

TEST(CardFiles, AFailureLeavesNeitherFile) {
    e2e::TempProgramDir dir;
    const Bytes portrait(1024, 0x5A);
    std::array<std::u16string, 8> unwritable = kCard;
    unwritable[0] = u"张\r\n三";  // a line break would make nine fields
    EXPECT_FALSE(termb::WriteCardFiles(dir.Path(), unwritable, portrait));
    EXPECT_TRUE(DirectoryEntries(dir.Path()).empty());

    EXPECT_FALSE(termb::WriteCardFiles(dir / L"missing", kCard, portrait));
    EXPECT_TRUE(DirectoryEntries(dir.Path()).empty());

    // The card text file cannot take the place of a directory: the portrait written just
    // before goes again.
    ASSERT_TRUE(::CreateDirectoryW((dir / L"wz.txt").c_str(), nullptr));
    EXPECT_FALSE(termb::WriteCardFiles(dir.Path(), kCard, portrait));
    EXPECT_EQ(DirectoryEntries(dir.Path()), std::vector<std::wstring>{L"wz.txt"});
    EXPECT_FALSE(termb::RemoveCardFiles(dir.Path())) << "an entry that stays is reported";
}

}  // namespace
