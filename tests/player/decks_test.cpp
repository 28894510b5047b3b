#include "player/decks.h"

#include <gtest/gtest.h>

#include "support/mock_player_link.h"

namespace {

using ::testing::_;
using ::testing::Return;
using ::testing::StrictMock;

TEST(Decks, LaunchReusesRunningInstancesAndStartsOnlyTheMissingOne) {
    const struct {
        bool found0;
        bool found1;
        int launches;
    } cases[] = {{true, true, 0}, {true, false, 1}, {false, false, 2}};
    for (const auto& c : cases) {
        StrictMock<MockPlayerLink> link;
        Decks decks(link);
        decks.WinAmpPath = "/opt/player";
        EXPECT_CALL(link, ProgramExists(QString("/opt/player"))).WillRepeatedly(Return(true));
        EXPECT_CALL(link, Find(0)).WillOnce(Return(c.found0));
        EXPECT_CALL(link, Find(1)).WillOnce(Return(c.found1));
        EXPECT_CALL(link, Launch(_, QString("/opt/player"))).Times(c.launches);
        decks.Launch();
        EXPECT_EQ(decks.PlayerHandles[0], c.found0);
        EXPECT_EQ(decks.PlayerHandles[1], c.found1);
    }
}

TEST(Decks, AMissingProgramIsReplacedByTheFallbackOrNothingStarts) {
    StrictMock<MockPlayerLink> link;
    Decks decks(link);
    decks.WinAmpPath = "/gone/player";
    decks.StartFolder = "/station/";
    EXPECT_CALL(link, ProgramExists(_)).WillRepeatedly(Return(false));
    decks.Launch();  // nothing found, nothing launched
    EXPECT_NE(decks.WinAmpPath, "/gone/player");
    EXPECT_EQ(decks.PlayerHandles, (std::array<bool, 2>{false, false}));
}

TEST(Decks, ADeckNotFoundReadsZeroAndGetsNothingButHandOvers) {
    StrictMock<MockPlayerLink> link;
    Decks decks(link);
    EXPECT_CALL(link, Find(0)).WillOnce(Return(true));
    EXPECT_CALL(link, Find(1)).WillOnce(Return(false));
    decks.FindDeck(0);
    decks.FindDeck(1);

    EXPECT_EQ(decks.PlayState(1), 0);
    EXPECT_EQ(decks.PositionMs(1), 0);
    EXPECT_EQ(decks.LengthSec(1), 0);
    decks.SetVolumePercent(1, 50);
    decks.JumpTo(1, 1000);
    decks.TogglePause(1);
    decks.Stop(1);
    decks.StopWithFade(1);
    EXPECT_CALL(link, HandOver(1, QString("/m/A B.mp3")));
    decks.LoadFileIntoDeck(1, "/m/A B.mp3");

    EXPECT_CALL(link, SetVolume(0, 127));  // 50 % × 255 div 100
    EXPECT_CALL(link, SetVolume(0, 255));  // kept within 0..100 %
    EXPECT_CALL(link, JumpTo(0, std::numeric_limits<int>::max()));
    decks.SetVolumePercent(0, 50);
    decks.SetVolumePercent(0, 140);
    decks.JumpTo(0, 1LL << 40);
}

}  // namespace
