#include "player/transport.h"

#include <gtest/gtest.h>

#include <vector>

#include "player/position_knob.h"
#include "support/engine_rig.h"

namespace {

// One track on air on the current deck, with the deck's jumps recorded.
struct OnAir : ::testing::Test {
    OnAir() {
        rig.LoadProgram("L", {rig.Track("A - One.mp3", 300), rig.Track("B - Two.mp3", 300),
                              rig.Track("C - Three.mp3", 300)});
        rig.StartLoop();
        rig.Advance(400);  // the first track starts
        rig.link.OnEvent = [this](int deck, const QString& event, const QString& detail) {
            if (event == "jump" && deck == rig.Current()) jumps.push_back(detail.toLongLong());
        };
    }
    int PositionMs() { return rig.link.PositionMs(rig.Current()); }

    EngineRig rig;
    PlaybackEngine& engine = rig.engine;
    std::vector<long long> jumps;
};

TEST_F(OnAir, JumpsUseTheSecondsBoxOrThirty) {
    rig.Advance(100'000);  // at 1:40
    const struct {
        const char* text;
        bool forward;
        long long delta;
    } cases[] = {{"abc", true, 30'000},
                 {"abc", false, -30'000},
                 {"10", true, 10'000},
                 {"", false, -30'000},
                 {"200", false, -200'000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        engine.Controls().Editsec1 = c.text;
        const long long before = PositionMs();
        c.forward ? engine.JumpForward() : engine.JumpBackward();
        ASSERT_FALSE(jumps.empty());
        EXPECT_EQ(jumps.back(), before + c.delta);  // sent unchanged, even below 0
        rig.engine.Restart();
        EXPECT_EQ(jumps.back(), 0);
        rig.Advance(100'000 - PositionMs());
    }
}

TEST_F(OnAir, CuePointsStayAcrossTracks) {
    rig.Advance(42'000);
    engine.StoreCue(2);
    const int stored = engine.Controls().CuePoint[2];
    EXPECT_EQ(stored, PositionMs());
    engine.Next();
    rig.Advance(400);
    EXPECT_EQ(rig.link.File(rig.Current()), rig.dir.filePath("B - Two.mp3"));
    engine.RecallCue(2);
    EXPECT_EQ(jumps.back(), stored);
    EXPECT_EQ(PositionMs(), stored);
    engine.RecallCue(1);  // never stored: the start
    EXPECT_EQ(jumps.back(), 0);
}

TEST_F(OnAir, PauseTwiceResumes) {
    engine.Pause();
    EXPECT_EQ(engine.Controls().LabelPausePlay1, "||");
    EXPECT_EQ(rig.link.PlayState(rig.Current()), PlayerLink::kPaused);
    engine.Pause();
    EXPECT_EQ(engine.Controls().LabelPausePlay1, "|>");
    EXPECT_FALSE(engine.Controls().PauseDown);
    EXPECT_EQ(rig.link.PlayState(rig.Current()), PlayerLink::kPlaying);
}

TEST_F(OnAir, KeysFadePauseAndToggleLineIn) {
    std::vector<bool> lineIn;
    engine.OnLineInToggled = [&](bool open) { lineIn.push_back(open); };
    EXPECT_TRUE(engine.KeyDown(219));
    EXPECT_TRUE(engine.Bars().Running(VolumeBars::Fade::Timer1));
    EXPECT_TRUE(engine.KeyDown(221));
    EXPECT_TRUE(engine.Bars().Running(VolumeBars::Fade::Timer2));
    EXPECT_FALSE(engine.Bars().Running(VolumeBars::Fade::Timer1));
    EXPECT_TRUE(engine.KeyDown(222));
    EXPECT_EQ(engine.Controls().LabelPausePlay1, "||");
    EXPECT_TRUE(engine.KeyDown(220));
    EXPECT_TRUE(engine.KeyDown(220));
    EXPECT_EQ(lineIn, std::vector<bool>({true, false}));
    EXPECT_FALSE(engine.KeyDown(65));
}

TEST_F(OnAir, KnobReleasedWithoutMovingSeeksToTheTimeUnderItsCentre) {
    PositionKnob& knob = engine.Knob();
    knob.BarLeft = 4;
    knob.BarWidth = 600;
    knob.KnobWidth = 16;
    rig.Advance(100'000);  // the tick at 1:40 places the knob
    EXPECT_EQ(knob.KnobLeft, 4 + 600 * 100 / 300 - 8);
    engine.KnobPress(true, 5);
    rig.Advance(800);  // ticks do not move a held knob
    EXPECT_EQ(knob.KnobLeft, 196);
    EXPECT_TRUE(knob.LabelVisible);
    engine.KnobRelease();
    ASSERT_FALSE(jumps.empty());
    EXPECT_EQ(jumps.back(), 100'000);
    EXPECT_FALSE(knob.KnobDragging);
    EXPECT_FALSE(knob.LabelVisible);
}

TEST(PositionKnob, DragStaysOnTheBarAndShowsTheTimeUnderTheCentre) {
    PositionKnob knob;
    knob.BarLeft = 10;
    knob.BarWidth = 400;
    knob.KnobWidth = 20;
    knob.TrackLength = 200;
    knob.Place(50, 200);
    ASSERT_EQ(knob.KnobLeft, 100);
    knob.Press(false, 3);  // only the left button drags
    knob.Move(50);
    EXPECT_EQ(knob.KnobLeft, 100);

    const struct {
        int mouseX;
        int left;
        const char* label;
    } moves[] = {{13, 110, "00:55"}, {-500, 4, "00:02"}, {1000, 400, "03:20"}};
    knob.Press(true, 3);
    for (const auto& m : moves) {
        knob.Move(m.mouseX);
        EXPECT_EQ(knob.KnobLeft, m.left) << m.mouseX;
        EXPECT_EQ(knob.LabelBarPosInSec, m.label) << m.mouseX;
        EXPECT_EQ(knob.LabelLeft, m.left);
        knob.KnobGrabX = m.mouseX;  // the mouse stays on the knob as it moves
    }
    EXPECT_EQ(knob.Release(), 200'000);

    knob.Place(300, 200);  // a length below the position leaves the knob alone
    EXPECT_EQ(knob.KnobLeft, 400);
    EXPECT_EQ(knob.TrackLength, 200);
    knob.Place(0, 0);
    EXPECT_EQ(knob.KnobLeft, 0);
    EXPECT_EQ(PositionKnob::TimeUnderKnob(100, 10, 0, 20, 200), 0);  // not laid out yet
}

}  // namespace
