// termb.dll and sdtapi.dll, loaded as the program loads them, against the reader emulator on
// a COM port of this Wine prefix: finding the reader on its port, reading every sample card
// into wz.txt and xp.wlt, and failing cleanly on every fault. Every call of the components
// runs on a thread of its own, so that one that never returns fails the test instead of
// hanging it.
#include "platform/files.h"
#include "platform/owners.h"
#include "platform/win_text.h"
#include "sample_card.h"
#include "tests/e2e/reader_emulator_client.h"
#include "tests/win32/reader_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using e2e::ReaderEmulator;

constexpr int kPort = 7;
constexpr int kHung = -999;
constexpr auto kCallLimit = 10s;  // far beyond any time-out of the components

// A call of the components on a thread of its own, which holds its own share of this.
struct BoundedCall {
    std::function<int()> body;
    std::atomic<int> result{kHung};
};

DWORD WINAPI RunBoundedCall(void* context) {
    const std::unique_ptr<std::shared_ptr<BoundedCall>> call(static_cast<std::shared_ptr<BoundedCall>*>(context));
    (*call)->result = (*call)->body();
    return 0;
}

// The components in a program directory of their own, loaded once for the suite.
class EmulatedReader : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!ReaderEmulator::Unavailable().empty()) return;
        library_ = new readertest::ReaderLibrary;
    }

    static void TearDownTestSuite() {
        // A call that never returned may still be inside: then nothing may be unloaded.
        if (library_ && hung_) library_->KeepLoaded();
        delete library_;
        library_ = nullptr;
    }

    void SetUp() override {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_TRUE(library_ && library_->Termb()) << "termb.dll could not be copied from ORVIA_COMPONENT_DIR and loaded";
        const readertest::ReaderCalls calls = library_->Calls();
        ASSERT_TRUE(calls.Complete());
        initComm_ = calls.initComm;
        authenticate_ = calls.authenticate;
        readContent_ = calls.readContent;
        closeComm_ = calls.closeComm;
        for (const wchar_t* file : {L"wz.txt", L"xp.wlt"}) ::DeleteFileW(Beside(file).c_str());
    }

    void TearDown() override {
        if (closeComm_ && !hung_) Bounded([f = closeComm_] { return f(); });
        if (HasFailure()) std::printf("emulator log:\n%s\n", emulator_.Log().c_str());
        emulator_.Stop();
    }

    bool StartEmulator(std::string_view card, std::string_view fault = "none") {
        if (emulator_.Start(kPort, card, fault)) return true;
        ADD_FAILURE() << emulator_.Error();
        return false;
    }

    // The components' calls, each bounded; kHung (and a failure) when one does not return.
    // The calls take the functions' addresses with them, never the fixture.
    int InitComm(int port) { return Bounded([f = initComm_, port] { return f(port); }); }
    int Authenticate() { return Bounded([f = authenticate_] { return f(); }); }
    int ReadContent() { return Bounded([f = readContent_] { return f(4); }); }
    // Open, find and select, read: the whole road; true when every step said 1.
    bool ReadCard() { return InitComm(kPort) == 1 && Authenticate() == 1 && ReadContent() == 1; }

    static std::wstring Beside(const wchar_t* name) { return library_->Beside(name); }
    static bool CardFilesAbsent() { return !platform::Exists(Beside(L"wz.txt")) && !platform::Exists(Beside(L"xp.wlt")); }

    ReaderEmulator emulator_;

private:
    // The call runs on a thread of its own that owns everything it uses: one that never
    // returns stays parked there and outlives this fixture safely. After one has hung, the
    // turn it holds in the component would make every later call wait too: they fail at once.
    static int Bounded(std::function<int()> call) {
        if (hung_) return kHung;  // the hang itself was reported
        auto shared = std::make_shared<BoundedCall>();
        shared->body = std::move(call);
        auto* handed = new std::shared_ptr<BoundedCall>(shared);
        platform::UniqueHandle thread(::CreateThread(nullptr, 0, RunBoundedCall, handed, 0, nullptr));
        if (!thread) {
            delete handed;
            ADD_FAILURE() << "no thread for the call (error " << ::GetLastError() << ")";
            return kHung;
        }
        const DWORD limit = static_cast<DWORD>(std::chrono::milliseconds(kCallLimit).count());
        if (::WaitForSingleObject(thread.get(), limit) == WAIT_OBJECT_0) return shared->result;
        hung_ = true;
        ADD_FAILURE() << "a call of the reader components had not returned after 10 s";
        return kHung;
    }

    int(__stdcall* initComm_)(int) = nullptr;
    int(__stdcall* authenticate_)() = nullptr;
    int(__stdcall* readContent_)(int) = nullptr;
    int(__stdcall* closeComm_)() = nullptr;

    static inline readertest::ReaderLibrary* library_ = nullptr;
    static inline bool hung_ = false;
};

// The card text file a card must give: its eight fields, CR LF between them, in code page 936.
Bytes CardText(const std::array<std::u16string_view, 8>& fields) {
    std::wstring joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) joined += L"\r\n";
        joined.append(fields[i].begin(), fields[i].end());
    }
    const int size = ::WideCharToMultiByte(936, 0, joined.data(), static_cast<int>(joined.size()), nullptr, 0,
                                           nullptr, nullptr);
    Bytes bytes(static_cast<std::size_t>(std::max(size, 0)));
    ::WideCharToMultiByte(936, 0, joined.data(), static_cast<int>(joined.size()),
                          reinterpret_cast<char*>(bytes.data()), size, nullptr, nullptr);
    return bytes;
}

// The portrait the sample card's file names.
Bytes PhotoOf(std::string_view card) {
    const auto file = platform::ReadWholeFile(e2e::SampleCardPath(card));
    if (!file) return {};
    const auto parsed = emulator::ParseSampleCard(std::string(file->begin(), file->end()));
    return parsed ? emulator::SamplePhoto(parsed->photoSeed) : Bytes{};
}

struct ExpectedCard {
    const char* card;
    std::array<std::u16string_view, 8> fields;
};

const ExpectedCard kReadable[] = {
    {"zhangsan",
     {u"张三", u"男", u"汉", u"19900307", u"北京市东城区景山前街4号", u"110101199003071234", u"北京市公安局东城分局",
      u"2015.01.01-2035.01.01"}},
    {"lisi",
     {u"李四", u"女", u"回", u"19980808", u"广东省广州市天河区体育西路191号", u"440106199808081212",
      u"广州市公安局天河分局", u"2016.05.20-2026.05.20"}},
    // A permit names no nation.
    {"permit",
     {u"陈大文", u"男", u"", u"19850612", u"广东省深圳市福田区福华三路88号", u"810000198506121239", u"深圳市公安局",
      u"2019.03.01-2024.03.01"}},
    {"longterm",
     {u"王秀英", u"女", u"满", u"19560101", u"辽宁省沈阳市沈河区中街路100号", u"210103195601012028",
      u"沈阳市公安局沈河分局", u"2012.03.15-长期"}},
    // The card's padding goes, the name's own space stays, full fields arrive whole.
    {"padded",
     {u"阿卜杜热合曼·买买提 艾力", u"男", u"维吾尔", u"19951231",
      u"新疆维吾尔自治区乌鲁木齐市天山区解放南路一百二十三号院四栋二单元五零一", u"65010219951231001X",
      u"新疆乌鲁木齐市公安局天山区分局", u"2013.09.09-2023.09.09"}},
};

TEST_F(EmulatedReader, IsFoundOnItsOwnPortAlone) {
    ASSERT_TRUE(StartEmulator("zhangsan"));
    // Port 1 is left out: Wine links it to the machine's first serial port, if it has one.
    for (int port = 2; port <= 255; ++port) EXPECT_EQ(InitComm(port), port == kPort ? 1 : 0) << "COM" << port;
    EXPECT_EQ(InitComm(kPort), 1) << "a second opening of the same port";
    EXPECT_EQ(InitComm(kPort + 1), 0);
}

TEST_F(EmulatedReader, ReadsEachCardIntoTheCardFiles) {
    ASSERT_TRUE(StartEmulator("zhangsan"));
    for (const ExpectedCard& expected : kReadable) {
        SCOPED_TRACE(expected.card);
        ASSERT_TRUE(emulator_.SetCard(expected.card));  // laid on the reader while it runs
        ASSERT_TRUE(ReadCard());
        const auto text = platform::ReadWholeFile(Beside(L"wz.txt"));
        ASSERT_TRUE(text.has_value()) << "no wz.txt";
        EXPECT_EQ(*text, CardText(expected.fields));
        const Bytes photo = PhotoOf(expected.card);
        ASSERT_EQ(photo.size(), 1024u) << "the sample card file cannot be read";
        EXPECT_EQ(platform::ReadWholeFile(Beside(L"xp.wlt")), photo);
    }
    // 张三 in code page 936, written out here so that the conversion itself is checked too.
    ASSERT_TRUE(emulator_.SetCard("zhangsan"));
    ASSERT_TRUE(ReadCard());
    const auto text = platform::ReadWholeFile(Beside(L"wz.txt")).value_or(Bytes{});
    EXPECT_EQ(Bytes(text.begin(), text.begin() + std::min<std::size_t>(text.size(), 6)),
              (Bytes{0xD5, 0xC5, 0xC8, 0xFD, 0x0D, 0x0A}));
}

TEST_F(EmulatedReader, RefusesAForeignersCardLeavingNoCardFiles) {
    ASSERT_TRUE(StartEmulator("foreign"));
    ASSERT_EQ(InitComm(kPort), 1);
    EXPECT_EQ(Authenticate(), 1) << "the card is there; only its layout is unknown";
    EXPECT_EQ(ReadContent(), 0);
    EXPECT_TRUE(CardFilesAbsent());
}

TEST_F(EmulatedReader, SkipsStrayBytesBeforeEveryReply) {
    ASSERT_TRUE(StartEmulator("zhangsan", "garbage"));
    ASSERT_TRUE(ReadCard());
    EXPECT_EQ(platform::ReadWholeFile(Beside(L"wz.txt")), CardText(kReadable[0].fields));
}

using EmulatedReaderFaults = EmulatedReader;

TEST_F(EmulatedReaderFaults, NoCardOnTheReaderFailsAndWritesNothing) {
    ASSERT_TRUE(StartEmulator("none"));
    ASSERT_EQ(InitComm(kPort), 1);
    EXPECT_EQ(Authenticate(), 0);
    EXPECT_EQ(ReadContent(), 0);
    EXPECT_TRUE(CardFilesAbsent());
}

TEST_F(EmulatedReaderFaults, ACardTakenAwayBeforeTheReadLeavesNoCardFiles) {
    ASSERT_TRUE(StartEmulator("zhangsan"));
    // The card goes after select: the read fails outright, or no reply comes.
    for (const char* fault : {"removed", "silent@read"}) {
        SCOPED_TRACE(fault);
        ASSERT_TRUE(emulator_.SetFault("none"));
        ASSERT_TRUE(ReadCard());
        ASSERT_TRUE(platform::Exists(Beside(L"wz.txt")));
        ASSERT_TRUE(emulator_.SetFault(fault));
        EXPECT_EQ(Authenticate(), 1);
        EXPECT_EQ(ReadContent(), 0);
        EXPECT_TRUE(CardFilesAbsent()) << "the earlier card's files are still there";
    }
}

TEST_F(EmulatedReaderFaults, BadChecksumsInRepliesFail) {
    ASSERT_TRUE(StartEmulator("zhangsan", "bad-checksum"));
    EXPECT_EQ(InitComm(kPort), 0);
    ASSERT_TRUE(emulator_.SetFault("bad-checksum@find"));
    ASSERT_EQ(InitComm(kPort), 1);
    EXPECT_EQ(Authenticate(), 0);
    ASSERT_TRUE(emulator_.SetFault("bad-checksum@read"));
    EXPECT_EQ(Authenticate(), 1);
    EXPECT_EQ(ReadContent(), 0);
    EXPECT_TRUE(CardFilesAbsent());
}

TEST_F(EmulatedReaderFaults, SilenceAndNoiseFailEveryCallAndLeaveThePortUsable) {
    ASSERT_TRUE(StartEmulator("zhangsan"));
    for (const std::string fault : {"silent", "noise"}) {
        SCOPED_TRACE(fault);
        ASSERT_TRUE(emulator_.SetFault(fault));
        EXPECT_EQ(InitComm(kPort), 0);
        ASSERT_TRUE(emulator_.SetFault("none"));
        ASSERT_EQ(InitComm(kPort), 1);
        ASSERT_TRUE(emulator_.SetFault(fault + "@find"));
        EXPECT_EQ(Authenticate(), 0);
        ASSERT_TRUE(emulator_.SetFault(fault + "@read"));
        EXPECT_EQ(Authenticate(), 1);
        EXPECT_EQ(ReadContent(), 0);
        EXPECT_TRUE(CardFilesAbsent());
        // What the fault left on the line does not spoil the next exchange.
        ASSERT_TRUE(emulator_.SetFault("none"));
        EXPECT_EQ(Authenticate(), 1);
        EXPECT_EQ(ReadContent(), 1);
    }
}

TEST_F(EmulatedReaderFaults, UnpluggedMidFrameFailsAndTheDeadPortIsNotFoundAgain) {
    ASSERT_TRUE(StartEmulator("zhangsan", "unplug@read"));
    ASSERT_EQ(InitComm(kPort), 1);
    EXPECT_EQ(Authenticate(), 1);
    EXPECT_EQ(ReadContent(), 0);
    EXPECT_TRUE(CardFilesAbsent());
    ASSERT_TRUE(e2e::WaitUntil([&] { return emulator_.HasEnded(); }, 5s)) << "the emulator did not unplug";
    EXPECT_EQ(emulator_.ExitReason(), "unplugged");
    // The handle termb still holds is dead; a new scan does not take the port for a reader.
    EXPECT_EQ(Authenticate(), 0);
    for (int port = 2; port <= 255; ++port) EXPECT_EQ(InitComm(port), 0) << "COM" << port;
}

TEST_F(EmulatedReaderFaults, UnpluggedWhileAskedForStatusIsNoReader) {
    ASSERT_TRUE(StartEmulator("zhangsan", "unplug@status"));
    EXPECT_EQ(InitComm(kPort), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return emulator_.HasEnded(); }, 5s));
    EXPECT_EQ(InitComm(kPort), 0);
}

}  // namespace
