// One trainee after another at the desk: the next naming (a card or a typed name) empties
// the slots, and photos the disk does not have under the name shown (never saved, brightened
// after their save, retaken after it) are given up only when the operator says so. Also
// naming by hand on a reader desk when a card cannot be read.
#include "tests/e2e/trainee_desk.h"

namespace e2e {
namespace {

using NextTrainee = TraineeDesk;

TEST_F(NextTrainee, TheNextCardBeforeASaveAsksFirstAndNoKeepsEverything) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(CaptureInto(2));

    // 李四's card laid down: read at once, and asked about first.
    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 2), IDNO)) << "no question before 李四 is named";
    Pause(300ms);
    EXPECT_EQ(Caption(), std::string(kZhangsan) + std::string(reader::kWaitingCardBefore) + "李四")
        << "张三 stays, 李四's card shown waiting";
    EXPECT_EQ(Held(), "1100");
    ASSERT_TRUE(CaptureInto(3)) << "the counter went on where it was";

    // A press reads the card lying there again; Yes gives up 张三's photos: all four slots
    // empty, the next shot in slot 1.
    PressLabel();
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 3), IDYES));
    ASSERT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_EQ(Held(), "0000");
    EXPECT_FALSE(BrightnessShown());
    EXPECT_TRUE(CaptureInto(1));
}

TEST_F(NextTrainee, AfterASaveTheNextCardEmptiesTheSlotsAndResetsTheCounter) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    for (int k = 1; k <= 3; ++k) ASSERT_TRUE(CaptureInto(k));
    ASSERT_TRUE(Save(2, kZhangsan));
    ClickAt(CentreOf(MustQuery(mc::kSlots[1].board.name)));
    ASSERT_TRUE(WaitUntil([&] { return BrightnessShown(); }, 2s));

    // The same card again changes nothing.
    PressLabel();
    Pause(500ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "1110");

    ASSERT_TRUE(LayCard("lisi", kLisi)) << Caption();
    EXPECT_TRUE(NoBoxOpen()) << "张三's photo was saved: nothing to ask";
    EXPECT_EQ(Held(), "0000");
    EXPECT_FALSE(BrightnessShown());
    EXPECT_TRUE(CaptureInto(1));
}

// Retakes of a trainee after the save are not the next trainee's photos: the next card asks.
TEST_F(NextTrainee, RetakesAfterASaveAreAskedAboutBeforeTheNextCard) {
    ASSERT_NO_FATAL_FAILURE(StartWithReaderAndCamera("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kZhangsan));
    ASSERT_TRUE(CaptureInto(2));  // a retake of 张三

    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDNO)) << "李四 named over 张三's retake";
    EXPECT_TRUE(CaptionBecomes(Waiting(kZhangsan, "李四"))) << Caption();
    EXPECT_EQ(Held(), "1100");

    // The retake saved (the first photo kept in 已替换): nothing is left to lose.
    ASSERT_TRUE(Save(2, kZhangsan));
    PressLabel();
    ASSERT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "0000");
}

// A photo brightened after its save is not what the disk has: the next card asks, and the
// brightness buttons come back on a press of the slot that kept the focus.
TEST_F(NextTrainee, APhotoBrightenedAfterItsSaveIsAskedAboutBeforeTheNextCard) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kZhangsan));
    ClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    ASSERT_TRUE(WaitUntil([&] { return BrightnessShown(); }, 2s));
    const RECT slot1 = OnScreen(MustQuery(mc::kSlots[0].board.name));
    const std::uint64_t saved = SettledCapture(slot1).Hash();
    PressBrighter(1);
    ASSERT_TRUE(WaitUntil([&] { return SettledCapture(slot1).Hash() != saved; }, 2s)) << "not brightened";

    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDYES)) << "the brightened photo went without a word";
    ASSERT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_EQ(Held(), "0000");
    EXPECT_FALSE(BrightnessShown());

    ASSERT_TRUE(CaptureInto(1));
    ClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    EXPECT_TRUE(WaitUntil([&] { return BrightnessShown(); }, 2s)) << "no brightness buttons on the press";
}

using NamingTheNextByHand = TraineeDesk;

TEST_F(NamingTheNextByHand, BeforeASaveItAsksAndCancelOrNoKeepsTheNameAndTheSlots) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_TRUE(NameByHand(L"张三_1"));
    ASSERT_TRUE(CaptionBecomes("张三_1"));
    ASSERT_TRUE(CaptureInto(1));

    // Cancel in the input box: nothing asked, nothing changed.
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(TypeName(box, L"李四_2", IDCANCEL));
    Pause(300ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Caption(), "张三_1");

    // A new name: asked first; No keeps 张三 and the photo.
    ASSERT_TRUE(NameByHand(L"李四_2"));
    ASSERT_TRUE(Answer(ChangeQuestion("张三_1", 1), IDNO));
    Pause(300ms);
    EXPECT_EQ(Caption(), "张三_1");
    EXPECT_EQ(Held(), "1000");

    // The same name again asks nothing.
    ASSERT_TRUE(NameByHand(L"张三_1"));
    Pause(300ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "1000");

    ASSERT_TRUE(NameByHand(L"李四_2"));
    ASSERT_TRUE(Answer(ChangeQuestion("张三_1", 1), IDYES));
    ASSERT_TRUE(CaptionBecomes("李四_2"));
    EXPECT_EQ(Held(), "0000");
}

TEST_F(NamingTheNextByHand, ShotsTakenBeforeTheFirstNamingAreKept) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(CaptureInto(2));
    ASSERT_TRUE(NameByHand(L"王五_3"));
    ASSERT_TRUE(CaptionBecomes("王五_3"));
    Pause(300ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "1100");
    EXPECT_TRUE(Save(2, "王五_3"));
}

using UnreadableCard = TraineeDesk;

TEST_F(UnreadableCard, AFailedReadThenALabelPressNamesByHandAndLaterCardsAreRead) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kZhangsan));

    // A card the reader cannot read: the next press names by hand, starting from the name shown.
    ASSERT_TRUE(emulator_.TakeCardAway());
    PressLabel();
    ASSERT_TRUE(Answer(kPlaceCardAgain, IDOK));
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr) << "the press after a failed read opens the input box";
    EXPECT_EQ(Field(box), platform::Wide(kZhangsan));
    ASSERT_TRUE(TypeName(box, L"王五_110101199001011237"));
    ASSERT_TRUE(CaptionBecomes("王五_110101199001011237")) << Caption();
    EXPECT_EQ(Held(), "0000") << "张三's saved photo went with him";
    ASSERT_TRUE(CaptureInto(1));
    EXPECT_TRUE(Save(1, "王五_110101199001011237"));

    // The next card is read again through the label.
    ASSERT_TRUE(LayCard("lisi", kLisi)) << Caption();
}

}  // namespace
}  // namespace e2e
