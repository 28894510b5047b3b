// Two hours of station time in automatic mode, watched through what the decks received.
#include <gtest/gtest.h>

#include "support/engine_rig.h"

namespace {

TEST(AutomaticProgram, TwoHoursOfOneListHandOverEarlyAlternateAndNeverFallSilent) {
    EngineRig rig;
    const QList<int> seconds{210, 95, 300, 150, 245, 180, 330, 125, 270, 200, 160, 240};
    const QStringList lines = rig.Tracks(seconds);
    rig.LoadProgram("Hits", lines);
    // Ticks, fade steps and track ends all fall on whole 100 ms here, so a look halfway
    // between them sees every state the decks pass through.
    rig.StartLoop();
    rig.Advance(50);
    std::vector<std::int64_t> silentAt;
    while (rig.host.ElapsedMs() < 2 * 60 * 60 * 1000) {
        if (!rig.link.Audible(0) && !rig.link.Audible(1)) silentAt.push_back(rig.host.ElapsedMs());
        rig.Advance(100);
    }
    const auto loads = rig.Events("load");
    ASSERT_EQ(qsizetype(loads.size()), lines.size());
    const std::int64_t lastEnd = loads.back().atMs + 1000LL * seconds.back();
    for (std::int64_t t : silentAt) EXPECT_TRUE(t < loads[0].atMs || t > lastEnd) << t;
    const auto volumes = rig.Events("volume");
    const auto stops = rig.Events("stop");
    for (std::size_t i = 0; i < loads.size(); ++i) {
        SCOPED_TRACE(i);
        const std::int64_t at = loads[i].atMs;
        const int deck = loads[i].deck;
        EXPECT_EQ(loads[i].detail, lines[qsizetype(i)]);
        EXPECT_EQ(deck, i % 2 == 0 ? 1 : 0);
        // The new deck rises 35 .. 95 % a step per 100 ms (resends of a value aside); the
        // old one falls to 30 % and is stopped at that moment.
        std::vector<int> rise, expectedRise;
        for (int p = 35; p <= 95; p += 5) expectedRise.push_back(p * 255 / 100);
        std::pair<std::int64_t, int> lastFall{0, -1};
        for (const auto& v : volumes) {
            if (v.atMs <= at || v.atMs > at + 1300) continue;
            if (v.deck != deck)
                lastFall = {v.atMs, v.detail.toInt()};
            else if (rise.empty() || rise.back() != v.detail.toInt()) {
                rise.push_back(v.detail.toInt());
                EXPECT_EQ(v.atMs, at + 100 * std::int64_t(rise.size()));
            }
        }
        EXPECT_EQ(rise, expectedRise);
        if (i == 0) continue;
        // Handed over at the first tick with fewer than 20 s left: a 3:30 track at 3:11.
        const std::int64_t leftAtMs = seconds[qsizetype(i) - 1] * 1000 - (at - loads[i - 1].atMs);
        EXPECT_LE(leftAtMs, 19'000);
        EXPECT_GT(leftAtMs, 18'600);
        EXPECT_EQ(lastFall.second, 30 * 255 / 100);
        EXPECT_TRUE(std::any_of(stops.begin(), stops.end(), [&](const auto& s) {
            return s.atMs == lastFall.first && s.deck == 1 - deck;
        }));
    }
}

}  // namespace
