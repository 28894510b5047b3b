#include "player/volume_bars.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/engine_rig.h"

namespace {

using Box = VolumeBars::LevelBox;
using Fade = VolumeBars::Fade;

// Volume and stop commands as the decks received them.
struct Commands {
    explicit Commands(EngineRig& rig) {
        rig.link.OnEvent = [this, &rig](int deck, const QString& event, const QString& detail) {
            if (event == "volume") volumes.push_back({rig.host.ElapsedMs(), deck, detail.toInt()});
            if (event == "stop") stops.push_back({rig.host.ElapsedMs(), deck, 0});
        };
    }
    struct Event {
        std::int64_t atMs;
        int deck;
        int value;
    };
    std::vector<Event> volumes;
    std::vector<Event> stops;
};

struct Bars : ::testing::Test {
    Bars() {
        rig.engine.Players().Launch();
        rig.engine.Players().FindDeck(0);
        rig.engine.Players().FindDeck(1);
    }
    EngineRig rig;
    VolumeBars& bars = rig.engine.Bars();
    Commands sent{rig};
};

TEST_F(Bars, LevelTextsThatAreNoNumberFallBack) {
    const struct {
        Box box;
        int fallback;
    } cases[] = {{Box::EditFadeOut0, 10},
                 {Box::EditFadeIn0, 90},
                 {Box::EditFadeOut1, 10},
                 {Box::EditFadeIn1, 90},
                 {Box::EditMixingTime, 20}};
    for (const auto& c : cases) {
        bars.SetLevelText(c.box, "abc");
        EXPECT_EQ(bars.Level(c.box), c.fallback);
        EXPECT_EQ(bars.LevelText(c.box), "abc");
        bars.SetLevelText(c.box, "42");
        EXPECT_EQ(bars.Level(c.box), 42);
    }
    bars.SetMixingIntervalText("x");
    EXPECT_EQ(bars.FadeInterval(), 100);
}

TEST_F(Bars, CrossfadeRaisesTheNewDeckAndStopsTheOldAtItsLevel) {
    rig.engine.Players().CurrentDeck = 1;
    rig.engine.Players().NextDeck = 0;
    bars.MoveBarByHand(0, 5);  // the old current deck plays at 95 %
    sent.volumes.clear();
    bars.StartCrossfade(5, 0);
    EXPECT_EQ(rig.Current(), 0);
    EXPECT_EQ(bars.PressedAmpButton, 0);
    EXPECT_EQ(bars.Position(1), 5);
    rig.Advance(2'000);
    std::vector<int> up, down, expectedUp, expectedDown;
    for (const auto& v : sent.volumes) (v.deck == 0 ? up : down).push_back(v.value);
    for (int p = 35; p <= 95; p += 5) expectedUp.push_back(p * 255 / 100);
    for (int p = 90; p >= 30; p -= 5) expectedDown.push_back(p * 255 / 100);
    EXPECT_EQ(up, expectedUp);
    EXPECT_EQ(down, expectedDown);
    ASSERT_EQ(sent.stops.size(), 1u);
    EXPECT_EQ(sent.stops[0].deck, 1);
    EXPECT_EQ(sent.stops[0].atMs, 1'300);
    EXPECT_FALSE(bars.StopAfterFade);
}

TEST_F(Bars, ACrossfadeDuringAFadeOutRestartsItFromBarZero) {
    bars.StartCrossfade(5, 0);  // bar 1 falls from 100 %, bar 0 rises from 30 %
    rig.Advance(300);
    ASSERT_TRUE(bars.Running(Fade::TimerFadeOut1));
    const int bar0 = bars.Position(0);
    EXPECT_EQ(bars.Volume(0), 45);
    EXPECT_EQ(bars.Volume(1), 85);
    bars.StartCrossfade(5, 0);
    EXPECT_EQ(bars.Position(1), bar0);
    rig.Advance(300);
    EXPECT_EQ(bars.Volume(1), 30);
    ASSERT_EQ(sent.stops.size(), 1u);
    EXPECT_EQ(sent.stops[0].deck, rig.engine.Players().NextDeck);
}

TEST_F(Bars, CrossfadeStepsAtTheMixingIntervalOrTheGivenOne) {
    const struct {
        const char* intervalText;
        int step;
        int interval;
        int expectedMs;
    } cases[] = {{"250", 5, 0, 250}, {"250", 20, 20, 20}, {"0", 5, 0, 1}, {"-40", 5, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.intervalText);
        bars.SetMixingIntervalText(c.intervalText);
        sent.volumes.clear();
        const std::int64_t start = rig.host.ElapsedMs();
        bars.StartCrossfade(c.step, c.interval);
        rig.Advance(60'000);
        ASSERT_FALSE(sent.volumes.empty());
        EXPECT_EQ(sent.volumes.front().atMs - start, c.expectedMs);
        EXPECT_FALSE(bars.Running(Fade::Timer2));  // every fade finished
        EXPECT_FALSE(bars.Running(Fade::TimerFadeOut1));
    }
}

TEST_F(Bars, HandFadesOfBarOneNeverStopTheDeck) {
    bars.StartCrossfade(5, 0);
    rig.Advance(2'000);
    sent.stops.clear();
    bars.FadeIn1();
    rig.Advance(2'000);
    bars.FadeOut1();
    rig.Advance(2'000);
    EXPECT_TRUE(sent.stops.empty());
    EXPECT_EQ(bars.Volume(1), 30);

    // Nor does a crossfade's fade-out that the operator interrupted.
    bars.StartCrossfade(5, 0);
    rig.Advance(300);
    bars.FadeIn1Amp();
    rig.Advance(2'000);
    bars.FadeIn0Amp();
    rig.Advance(2'000);
    EXPECT_TRUE(sent.stops.empty());
}

TEST_F(Bars, LevelsBeyondTheRangeKeepTheBarsWithinIt) {
    const struct {
        Box box;
        const char* text;
        Fade fade;
        int bar;
        int position;
        int volume;
    } cases[] = {{Box::EditFadeIn0, "150", Fade::Timer2, 0, 0, 255},
                 {Box::EditFadeOut0, "-20", Fade::Timer1, 0, 100, 0},
                 {Box::EditFadeIn1, "300", Fade::TimerFadeIn1, 1, 0, 255},
                 {Box::EditFadeOut1, "-5", Fade::TimerFadeOut1, 1, 100, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        bars.SetLevelText(c.box, c.text);
        sent.volumes.clear();
        bars.StartFade(c.fade);
        rig.Advance(5'000);
        EXPECT_FALSE(bars.Running(c.fade));
        EXPECT_EQ(bars.Position(c.bar), c.position);
        Decks& decks = rig.engine.Players();
        const int deck = c.bar == 0 ? decks.CurrentDeck : decks.NextDeck;
        int last = -1;
        for (const auto& v : sent.volumes)
            if (v.deck == deck) last = v.value;
        EXPECT_EQ(last, c.volume);
    }
}

TEST_F(Bars, MovingABarByHandSendsItsVolumeToItsDeck) {
    bars.MoveBarByHand(1, 30);
    bars.MoveBarByHand(0, 130);
    ASSERT_EQ(sent.volumes.size(), 2u);
    EXPECT_EQ(sent.volumes[0].deck, rig.engine.Players().NextDeck);
    EXPECT_EQ(sent.volumes[0].value, 178);  // 70 % × 255 div 100
    EXPECT_EQ(sent.volumes[1].value, 0);
    EXPECT_EQ(bars.Position(0), 100);
}

TEST_F(Bars, VolumeRefreshResendsBarZeroEveryTenSeconds) {
    bars.MoveBarByHand(0, 20);
    sent.volumes.clear();
    rig.Advance(30'000);
    ASSERT_EQ(sent.volumes.size(), 3u);
    for (const auto& v : sent.volumes) {
        EXPECT_EQ(v.deck, rig.Current());
        EXPECT_EQ(v.value, 204);
    }
}

}  // namespace
