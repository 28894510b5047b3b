#include "player/volume_bars.h"

#include <gtest/gtest.h>

#include "support/engine_rig.h"

namespace {

using Box = VolumeBars::LevelBox;
using Fade = VolumeBars::Fade;

struct Bars : ::testing::Test {
    Bars() { rig.StartLoop(); }  // no program: the decks are found and stay idle
    EngineRig rig;
    VolumeBars& bars = rig.engine.BarsForTickParts();
};

TEST_F(Bars, ACrossfadeRestartsAFadeOutFromBarZeroAndOnlyTheFadeOutEndingOneStopsTheOldDeck) {
    bars.StartCrossfade(5, 0);  // bar 1 falls from 100 %, bar 0 rises from 30 %
    rig.Advance(300);
    EXPECT_EQ(bars.Volume(1), 85);
    const int bar0 = bars.Position(0);
    bars.StartCrossfade(5, 0);
    EXPECT_EQ(bars.Position(1), bar0);
    rig.Advance(300);
    EXPECT_EQ(bars.Volume(1), 30);
    const auto stops = rig.Events("stop");
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].deck, rig.engine.Players().NextDeck);
    rig.events.clear();
    bars.StartCrossfade(5, 0);
    rig.Advance(2'000);
    ASSERT_EQ(rig.Events("stop").size(), 1u);
    bars.FadeIn1();
    rig.Advance(2'000);
    bars.FadeOut1();
    rig.Advance(2'000);
    EXPECT_EQ(bars.Volume(1), 30);
    EXPECT_EQ(rig.Events("stop").size(), 1u) << "a hand fade after the crossfade stops nothing";
    // The operator turns a crossfade round (the old deck plays on), then back again.
    bars.StartCrossfade(5, 0);
    rig.Advance(300);
    bars.FadeIn1Amp();
    rig.Advance(2'000);
    EXPECT_EQ(rig.Events("stop").size(), 1u);
    bars.FadeIn0Amp();
    rig.Advance(2'000);
    ASSERT_EQ(rig.Events("stop").size(), 2u);
    EXPECT_EQ(rig.Events("stop")[1].deck, rig.engine.Players().NextDeck);
}

TEST_F(Bars,
       LevelsBeyondTheRangeKeepTheBarsWithinItAndCrossfadesStepAtTheMixingIntervalOrTheGivenOne) {
    const int current = rig.Current(), next = rig.engine.Players().NextDeck;
    // (level box, text typed, the fade it sets, the bar, its deck, the volume it ends at)
    for (const auto& [box, text, fade, bar, deck, volume] :
         {std::tuple{Box::EditFadeIn0, "150", Fade::Timer2, 0, current, 100},
          {Box::EditFadeOut0, "-20", Fade::Timer1, 0, current, 0},
          {Box::EditFadeOut1, "abc", Fade::TimerFadeOut1, 1, next, 10},
          {Box::EditFadeIn1, "300", Fade::TimerFadeIn1, 1, next, 100}}) {
        bars.SetLevelText(box, text);
        bars.StartFade(fade);
        rig.Advance(5'000);
        EXPECT_EQ(QList<int>({bars.Running(fade), bars.Volume(bar), rig.link.Volume(deck)}),
                  QList<int>({0, volume, volume * 255 / 100}))
            << text;
    }
    // (interval typed, step, interval given, ms to the first step)
    for (const auto& [text, step, interval, firstMs] :
         {std::tuple{"250", 5, 0, 250}, {"250", 20, 20, 20}, {"abc", 5, 0, 100}, {"0", 5, 0, 1}}) {
        bars.SetMixingIntervalText(text);
        rig.events.clear();
        const std::int64_t start = rig.host.ElapsedMs();
        bars.StartCrossfade(step, interval);
        rig.Advance(60'000);
        EXPECT_EQ(rig.Events("volume").at(0).atMs - start, firstMs) << text;
        EXPECT_EQ(rig.Events("stop").size(), 1u) << text;  // every crossfade finishes
    }
}

}  // namespace
