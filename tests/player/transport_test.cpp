#include <gtest/gtest.h>

#include "player/position_knob.h"
#include "support/engine_rig.h"

namespace {

// Three tracks of 5:00 queued, the first on air since 100 ms, then at 1:40.
TEST(OnAir,
     KnobReleasedWithoutMovingSeeksUnderItsCentreKeysFadeAndPauseJumpsAndCuesOutliveTheTrack) {
    EngineRig rig;
    PlaybackEngine& engine = rig.engine;
    const auto lastJump = [&] { return rig.Events("jump").back().detail.toLongLong(); };
    rig.LoadProgram("L", rig.Tracks({300, 300, 300}));
    rig.StartLoop();
    rig.Advance(500);
    const PositionKnob& knob = engine.Panel().Knob();
    engine.Panel().SetKnobGeometry(4, 600, 16);
    rig.Advance(99'900);  // the tick at 1:40 places the knob
    EXPECT_EQ(knob.KnobLeft, 196);
    engine.Panel().KnobPress(true, 5);
    rig.Advance(800);  // a held knob stays
    EXPECT_EQ(knob.KnobLeft, 196);
    engine.KnobRelease();
    EXPECT_EQ(lastJump(), 100'000);
    EXPECT_FALSE(knob.LabelVisible);
    for (int key : {219, 222}) EXPECT_TRUE(engine.KeyDown(key));
    EXPECT_TRUE(engine.Bars().Running(VolumeBars::Fade::Timer1));
    EXPECT_EQ(engine.Controls().LabelPausePlay1, "||");
    EXPECT_TRUE(engine.KeyDown(221));
    EXPECT_FALSE(engine.Bars().Running(VolumeBars::Fade::Timer1));
    EXPECT_FALSE(engine.KeyDown('A'));
    EXPECT_FALSE(engine.KeyDown(220));  // no line input yet: nothing to toggle
    engine.KeyDown(222);                // playing again, still at 1:40
    for (const auto& [text, forward, target] :
         {std::tuple{"abc", true, 130'000}, {"abc", false, 70'000}, {"200", false, 0}}) {
        engine.SetJumpSecText(text);
        forward ? engine.JumpForward() : engine.JumpBackward();
        EXPECT_EQ(lastJump(), target) << text;  // never below 0
        rig.link.JumpTo(rig.Current(), 100'000);
    }
    engine.StoreCue(2);
    engine.Next();
    rig.Advance(400);
    engine.RecallCue(2);
    EXPECT_EQ(rig.link.File(rig.Current()), rig.dir.filePath("Artist - Title 2.mp3"));
    EXPECT_EQ(lastJump(), 100'000);
}

TEST(PositionKnob, DragStaysOnTheBarAndShowsTheTimeUnderItsCentre) {
    PositionKnob knob;
    knob.SetGeometry(10, 400, 20);
    knob.Place(50, 200);
    knob.Press(false, 3);  // only the left button drags
    knob.Move(50);
    EXPECT_EQ(knob.KnobLeft, 100);
    knob.Press(true, 3);
    for (const auto& [x, left, label] :
         {std::tuple{13, 110, "00:55"}, {-500, 4, "00:02"}, {1000, 400, "03:20"}}) {
        knob.Move(x);
        EXPECT_EQ(knob.KnobLeft, left);
        EXPECT_EQ(knob.LabelBarPosInSec, label);
        knob.KnobGrabX = x;  // the mouse stays on the knob as it moves
    }
    EXPECT_EQ(knob.Release(), 200'000);
    knob.Place(300, 200);  // a length below the position leaves the knob alone
    EXPECT_EQ(knob.KnobLeft, 400);
    EXPECT_EQ(PositionKnob::TimeUnderKnob(100, 10, 0, 20, 200), 0);  // bar not laid out yet
}

}  // namespace
