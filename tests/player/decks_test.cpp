// The decks, the link that logs what they are told, and the simulated decks.
#include "player/decks.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "player/logging_player_link.h"
#include "player/simulated_player_link.h"
#include "support/engine_rig.h"
#include "support/mock_player_link.h"

namespace {

using ::testing::_;
using ::testing::AtLeast;
using ::testing::Return;
using ::testing::StrictMock;

TEST(Decks, LaunchLooksEachDeckUpAndHasTheLinkStartOrReuseItAndJumpsStayWithinTheTrack) {
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

// A deck found stopped after playing is reported as ended once; a deck stopped by a
// command, or handed a new file, is not. A dead player is reported once, with why,
// instead of an end, or before the next file.
TEST(LoggingPlayerLink, ReportsCommandsAndEndsTheDeckReachedByItselfOrItsDeath) {
    testing::NiceMock<MockPlayerLink> inner;
    std::array<int, 2> state{};
    PlayerLink::Deaths deaths;
    ON_CALL(inner, PlayState).WillByDefault([&](int deck) { return state[deck]; });
    ON_CALL(inner, DeathsOf).WillByDefault([&](int deck) {
        return deck == 1 ? deaths : PlayerLink::Deaths{};
    });
    QStringList events;
    LoggingPlayerLink link(inner);
    QObject::connect(&link, &LoggingPlayerLink::DeckEvent,
                     [&](int deck, const QString& e, const QString& d) {
                         events << QString("%1 %2 %3").arg(deck).arg(e, d).trimmed();
                     });
    const auto look = [&](int deck, int now) {
        state[deck] = now;
        link.PlayState(deck);
    };
    link.HandOver(0, "short");
    look(0, PlayerLink::kPlaying);
    look(0, PlayerLink::kStopped);
    look(0, PlayerLink::kStopped);  // still stopped: no second report
    link.HandOver(1, "long");
    look(1, PlayerLink::kPlaying);
    link.SetVolume(1, 127);
    link.TogglePause(1);
    state[1] = PlayerLink::kPaused;
    link.TogglePause(1);
    link.JumpTo(1, 5000);
    link.Stop(1);
    look(1, PlayerLink::kStopped);
    link.HandOver(1, "a");
    look(1, PlayerLink::kPlaying);
    deaths = {1, "hung"};
    look(1, PlayerLink::kStopped);
    look(1, PlayerLink::kStopped);
    deaths = {2, "gone"};
    link.HandOver(1, "b");
    // An end the deck tells is logged as it comes, once, and passed on.
    link.SetListener([&](int deck, PlayerLink::News) { events << QString("%1 told").arg(deck); });
    look(1, PlayerLink::kPlaying);
    inner.Tell(1, PlayerLink::News::Ended);
    look(1, PlayerLink::kStopped);
    inner.Tell(0, PlayerLink::News::CueFailed);
    EXPECT_EQ(events,
              QStringList({"0 load short", "0 ended", "1 load long", "1 volume 127", "1 pause",
                           "1 resume", "1 jump 5000", "1 stop", "1 load a", "1 dead hung",
                           "1 dead gone", "1 load b", "1 ended", "1 told", "0 told"}));
}

// The rig's engine is never started: the test drives its simulated decks by hand.
TEST(SimulatedPlayerLink, PlaysAFileItsLengthMovedByPauseAndJumps) {
    EngineRig rig;
    SimulatedPlayerLink& link = rig.link;
    for (int deck = 0; deck < 2; ++deck) link.Launch(deck, {});
    EXPECT_EQ(link.LengthSec(1), -1);
    link.HandOver(1, rig.Tracks({10})[0]);
    rig.Advance(9'999);
    EXPECT_EQ(link.PlayState(1), PlayerLink::kPlaying);
    EXPECT_EQ(link.PositionMs(1), 9'999);
    EXPECT_EQ(link.LengthSec(1), 10);
    rig.Advance(1);
    EXPECT_EQ(link.PlayState(1), PlayerLink::kStopped);
    const auto ended = rig.Events("ended");
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].atMs, 10'000);
    // 10 s played, 100 s paused, then a jump to 5 s before the end.
    link.HandOver(0, rig.Tracks({60})[0]);
    rig.Advance(10'000);
    link.TogglePause(0);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kPaused);
    rig.Advance(100'000);
    EXPECT_EQ(link.PositionMs(0), 10'000);
    link.TogglePause(0);
    EXPECT_EQ(rig.Events("resume").size(), 1u);
    link.JumpTo(0, 55'000);
    rig.Advance(4'999);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kPlaying);
    rig.Advance(1);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kStopped);
}

}  // namespace
