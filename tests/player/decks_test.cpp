#include "player/decks.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/mock_player_link.h"

namespace {

using ::testing::_;
using ::testing::AtLeast;
using ::testing::Return;
using ::testing::StrictMock;

TEST(Decks, LaunchLooksEachDeckUpAndHasTheLinkStartOrReuseIt) {
    for (const bool programThere : {true, false}) {
        StrictMock<MockPlayerLink> link;
        Decks decks(link);
        decks.WinAmpPath = "/opt/player";
        EXPECT_CALL(link, ProgramExists(_)).WillRepeatedly(Return(programThere));
        EXPECT_CALL(link, Find(0)).WillOnce(Return(true));
        EXPECT_CALL(link, Find(1)).WillOnce(Return(false));
        // Even a missing program is handed on: the link reports it and may find it later.
        EXPECT_CALL(link, Launch(0, _));
        EXPECT_CALL(link, Launch(1, _));
        decks.Launch();
        EXPECT_EQ(decks.WinAmpPath == "/opt/player", programThere);  // completed when missing
        EXPECT_EQ(decks.PlayerHandles, (std::array<bool, 2>{true, false}));
    }
}

TEST(Decks, ADeckNotFoundReadsZeroAndGetsNothingButHandOversUntilItAnswers) {
    StrictMock<MockPlayerLink> link;
    Decks decks(link);
    EXPECT_CALL(link, Find(0)).WillOnce(Return(true));
    EXPECT_CALL(link, Find(1)).Times(AtLeast(1)).WillRepeatedly(Return(false));
    decks.FindDeck(0);
    decks.FindDeck(1);
    EXPECT_EQ(decks.PlayState(1) + decks.PositionMs(1) + decks.LengthSec(1), 0);
    decks.SetVolumePercent(1, 50);
    decks.JumpTo(1, 1000);
    decks.Stop(1);
    EXPECT_CALL(link, HandOver(1, QString("/m/A B.mp3")));
    decks.LoadFileIntoDeck(1, "/m/A B.mp3");
    // The player came up late: found at the next command, and looked up no more.
    EXPECT_CALL(link, Find(1)).WillOnce(Return(true));
    EXPECT_CALL(link, Stop(1)).Times(2);
    decks.Stop(1);
    decks.Stop(1);
    EXPECT_CALL(link, SetVolume(0, 127));  // 50 % × 255 div 100
    EXPECT_CALL(link, SetVolume(0, 255));  // kept within 0..100 %
    decks.SetVolumePercent(0, 50);
    decks.SetVolumePercent(0, 140);
}

TEST(Decks, AJumpGoesNoFurtherThanTheStartOrTheKnownEnd) {
    // (length the deck reports, negative while no file is loaded; target; sent)
    for (const auto& [length, target, sent] : {std::tuple{76, -26'000LL, 0},
                                               {76, 30'000LL, 30'000},
                                               {76, 1LL << 40, 76'000},
                                               {-1, -(1LL << 40), 0},
                                               {-1, 1LL << 40, std::numeric_limits<int>::max()}}) {
        StrictMock<MockPlayerLink> link;
        Decks decks(link);
        EXPECT_CALL(link, Find(1)).WillOnce(Return(true));
        EXPECT_CALL(link, LengthSec(1)).WillRepeatedly(Return(length));
        EXPECT_CALL(link, JumpTo(1, sent));
        decks.JumpTo(1, target);
    }
}

}  // namespace
