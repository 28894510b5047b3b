#include "player/line_in.h"

#include <gtest/gtest.h>

#include "player/line_in_control.h"
#include "support/engine_rig.h"

namespace {

using Box = VolumeBars::LevelBox;

struct LineInFade : ::testing::Test {
    LineInFade() {
        rig.StartLoop();
        QObject::connect(&control, &SimulatedLineInControl::VolumeSet,
                         [this](int v) { sent.push_back(v); });
        line.StartUp();
    }
    // Bar position and control volume after each of the next `ticks` 200 ms ticks.
    std::vector<std::pair<int, int>> Ticks(int ticks) {
        std::vector<std::pair<int, int>> seen;
        for (int i = 0; i < ticks; ++i) {
            rig.Advance(200);
            seen.emplace_back(line.Position(), control.Volume());
        }
        return seen;
    }
    EngineRig rig;
    VolumeBars& bars = rig.engine.BarsForTickParts();
    SimulatedLineInControl control;
    LineIn line{bars, rig.host, control};
    std::vector<int> sent;
};

using Steps = std::vector<std::pair<int, int>>;

TEST_F(LineInFade, ThePressFadesTheLineInOverOneSecondAndTheReleaseBackWhileTheDeckMakesRoom) {
    EXPECT_TRUE(control.IsOpen());
    EXPECT_EQ(sent, std::vector<int>{0}) << "opened at silence";
    line.SetButtonDown(true);
    EXPECT_EQ(Ticks(6), (Steps{{80, 51}, {60, 102}, {40, 153}, {20, 204}, {0, 255}, {0, 255}}));
    EXPECT_FALSE(line.Fading());
    rig.Advance(1'000);  // the deck steps every 100 ms by 5 points
    EXPECT_EQ(bars.Volume(0), bars.Level(Box::EditFadeOut0));
    EXPECT_EQ(rig.link.Volume(rig.Current()), bars.Level(Box::EditFadeOut0) * 255 / 100);

    line.SetButtonDown(false);
    EXPECT_EQ(Ticks(5), (Steps{{20, 204}, {40, 153}, {60, 102}, {80, 51}, {100, 0}}));
    rig.Advance(2'000);
    EXPECT_EQ(bars.Volume(0), bars.Level(Box::EditFadeIn0));
    EXPECT_EQ(sent.size(), 11u) << "nothing is sent once the fade is over";
}

TEST_F(LineInFade, APressDuringAFadeTurnsItRoundFromWhereTheBarIs) {
    // (how the button is pressed, ticks, where the bar is then)
    const auto key = [this] { line.ToggleButton(); };
    const auto amp2 = [this] { line.ClickAmpButton(1); };
    const auto down = [this] { line.SetButtonDown(true); };
    for (const auto& [press, ticks, position] : {std::tuple{std::function<void()>(key), 2, 60},
                                                 {key, 1, 80},
                                                 {down, 3, 20},
                                                 {amp2, 1, 0},
                                                 {key, 2, 40}}) {
        press();
        Ticks(ticks);
        EXPECT_EQ(line.Position(), position);
    }
    EXPECT_EQ(bars.PressedAmpButton, 1);
    EXPECT_FALSE(line.ButtonDown());
    // The bar moved by hand sets the level at once; a fade goes on from there.
    line.MoveBarByHand(150);
    EXPECT_EQ(std::pair(line.Position(), control.Volume()), std::pair(100, 0));
    line.MoveBarByHand(50);
    EXPECT_EQ(control.Volume(), 128);
    line.Close();
    EXPECT_FALSE(control.IsOpen());
    EXPECT_FALSE(line.Fading());
}

}  // namespace
