#include "player/simulated_player_link.h"

#include <gtest/gtest.h>

#include "support/engine_rig.h"

namespace {

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
    link.JumpTo(0, 55'000);
    rig.Advance(4'999);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kPlaying);
    rig.Advance(1);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kStopped);
}

}  // namespace
