#include "player/decks.h"

#include <gtest/gtest.h>

#include "support/mock_player_link.h"

namespace {

using ::testing::_;
using ::testing::Return;
using ::testing::StrictMock;

TEST(Decks, LaunchReusesRunningInstancesAndStartsOnlyTheMissingOnes) {
    for (const auto& [found0, found1, launches] :
         {std::tuple{true, true, 0}, {true, false, 1}, {false, false, 2}, {false, false, 0}}) {
        const bool programThere = launches > 0 || found0;
        StrictMock<MockPlayerLink> link;
        Decks decks(link);
        decks.WinAmpPath = "/opt/player";
        EXPECT_CALL(link, ProgramExists(_)).WillRepeatedly(Return(programThere));
        if (programThere) {
            EXPECT_CALL(link, Find(0)).WillOnce(Return(found0));
            EXPECT_CALL(link, Find(1)).WillOnce(Return(found1));
        }
        EXPECT_CALL(link, Launch(_, QString("/opt/player"))).Times(launches);
        decks.Launch();
        EXPECT_EQ(decks.WinAmpPath == "/opt/player", programThere);  // completed when missing
    }
}

TEST(Decks, ADeckNotFoundReadsZeroAndGetsNothingButHandOversUntilItAnswers) {
    StrictMock<MockPlayerLink> link;
    Decks decks(link);
    EXPECT_CALL(link, Find(0)).WillOnce(Return(true));
    EXPECT_CALL(link, Find(1)).Times(7).WillRepeatedly(Return(false));
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
    EXPECT_CALL(link, JumpTo(0, std::numeric_limits<int>::max()));
    decks.SetVolumePercent(0, 50);
    decks.SetVolumePercent(0, 140);
    decks.JumpTo(0, 1LL << 40);
}

}  // namespace
