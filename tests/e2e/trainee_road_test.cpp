// One trainee after another at the desk: a save ends a trainee, the next naming (a card or
// a typed name) empties what belongs to the trainee before, and photos that were never
// saved are given up only when the operator says so. Also naming by hand on a reader desk
// when a card cannot be read.
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
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan), IDNO)) << "no question before 李四 is named";
    Pause(300ms);
    EXPECT_EQ(Caption(), std::string(kZhangsan) + std::string(reader::kWaitingCardBefore) + "李四")
        << "张三 stays, 李四's card shown waiting";
    EXPECT_EQ(Held(), "1100");
    ASSERT_TRUE(CaptureInto(3)) << "the counter went on where it was";

    // A press reads the card lying there again; Yes gives up 张三's photos: all four slots
    // empty, the next shot in slot 1.
    PressLabel();
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan), IDYES));
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

TEST_F(NextTrainee, ShotsAfterASaveAreKeptForTheTraineeNamedNext) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(CaptureInto(2));
    ASSERT_TRUE(Save(1, kZhangsan));
    // The next trainee steps up and is photographed before the card goes on the reader.
    ASSERT_TRUE(CaptureInto(3));

    ASSERT_TRUE(LayCard("lisi", kLisi)) << Caption();
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "0010");
    EXPECT_TRUE(CaptureInto(1)) << "the counter goes to the first empty slot";
    ASSERT_TRUE(Save(3, kLisi));

    // 李四 saved; the next card asks nothing and empties everything taken so far.
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "0000");
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
    ASSERT_TRUE(Answer(ChangeQuestion("张三_1"), IDNO));
    Pause(300ms);
    EXPECT_EQ(Caption(), "张三_1");
    EXPECT_EQ(Held(), "1000");

    // The same name again asks nothing.
    ASSERT_TRUE(NameByHand(L"张三_1"));
    Pause(300ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "1000");

    ASSERT_TRUE(NameByHand(L"李四_2"));
    ASSERT_TRUE(Answer(ChangeQuestion("张三_1"), IDYES));
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
    ASSERT_TRUE(TypeName(box, L"王五_110101199001011234"));
    ASSERT_TRUE(CaptionBecomes("王五_110101199001011234")) << Caption();
    EXPECT_EQ(Held(), "0000") << "张三's saved photo went with him";
    ASSERT_TRUE(CaptureInto(1));
    EXPECT_TRUE(Save(1, "王五_110101199001011234"));

    // The next card is read again through the label.
    ASSERT_TRUE(LayCard("lisi", kLisi)) << Caption();
}

}  // namespace
}  // namespace e2e
