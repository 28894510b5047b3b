// Two hours of station time in automatic mode: every hand-over, every fade step and
// every gap between the decks is watched through the simulated decks' events.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/engine_rig.h"

namespace {

struct Load {
    std::int64_t atMs;
    int deck;
    QString path;
    int oldDeckPositionMs;  // where the track before stood at the hand-over
};

struct VolumeEvent {
    std::int64_t atMs;
    int deck;
    int volume;
};

TEST(AutomaticProgram, TwoHoursOfOneListHandOverEarlyAlternateAndNeverFallSilent) {
    EngineRig rig;
    const QList<int> seconds{210, 95, 300, 150, 245, 180, 330, 125, 270, 200, 160, 240};
    QStringList lines;
    std::map<QString, int> lengthOf;
    for (int i = 0; i < seconds.size(); ++i) {
        lines << rig.Track(QString("Band %1 - Song %1.mp3").arg(i), seconds[i]);
        lengthOf[lines.back()] = seconds[i];
    }
    rig.LoadProgram("Hits", lines);

    std::vector<Load> loads;
    std::vector<VolumeEvent> volumes;
    std::vector<std::pair<std::int64_t, int>> stops;
    rig.link.OnEvent = [&](int deck, const QString& event, const QString& detail) {
        const std::int64_t now = rig.host.ElapsedMs();
        if (event == "load")
            loads.push_back({now, deck, detail, rig.link.PositionMs(1 - deck)});
        else if (event == "volume")
            volumes.push_back({now, deck, detail.toInt()});
        else if (event == "stop")
            stops.emplace_back(now, deck);
    };

    // Ticks, fade steps and track ends all fall on whole 100 ms here, so a look halfway
    // between them sees every state the decks pass through.
    rig.StartLoop();
    rig.Advance(50);
    std::vector<std::int64_t> silentAt;
    while (rig.host.ElapsedMs() < 2 * 60 * 60 * 1000) {
        if (!(rig.link.Audible(0) || rig.link.Audible(1))) silentAt.push_back(rig.host.ElapsedMs());
        rig.Advance(100);
    }

    ASSERT_EQ(qsizetype(loads.size()), lines.size());
    const std::int64_t lastEnd = loads.back().atMs + 1000LL * lengthOf[loads.back().path];
    for (std::int64_t t : silentAt)
        EXPECT_TRUE(t < loads.front().atMs || t > lastEnd) << "silent at " << t << " ms";
    for (std::size_t i = 0; i < loads.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(loads[i].path, lines[int(i)]);  // random off: list order
        EXPECT_EQ(loads[i].deck, i % 2 == 0 ? 1 : 0);
        if (i > 0) {
            // Handed over at the first tick with fewer than 20 s left: a 3:30 track at 3:11.
            const int length = lengthOf[loads[i - 1].path];
            EXPECT_GE(loads[i].oldDeckPositionMs, (length - 19) * 1000);
            EXPECT_LT(loads[i].oldDeckPositionMs, (length - 19) * 1000 + 400);
        }
        // The new deck rises 35 .. 95 % in 13 steps of 100 ms (volume resends aside).
        std::vector<int> rise;
        for (const auto& v : volumes) {
            if (v.deck != loads[i].deck || v.atMs <= loads[i].atMs) continue;
            if (v.atMs > loads[i].atMs + 1300) break;
            if (rise.empty() || rise.back() != v.volume) {
                EXPECT_EQ(v.atMs, loads[i].atMs + 100 * std::int64_t(rise.size() + 1));
                rise.push_back(v.volume);
            }
        }
        std::vector<int> expectedRise;
        for (int p = 35; p <= 95; p += 5) expectedRise.push_back(p * 255 / 100);
        EXPECT_EQ(rise, expectedRise);
        // The old deck ends its fall at 30 % and is stopped right then.
        if (i > 0) {
            const int oldDeck = 1 - loads[i].deck;
            int last = -1;
            std::int64_t lastAt = 0;
            for (const auto& v : volumes)
                if (v.deck == oldDeck && v.atMs > loads[i].atMs && v.atMs <= loads[i].atMs + 1300) {
                    last = v.volume;
                    lastAt = v.atMs;
                }
            EXPECT_EQ(last, 30 * 255 / 100);
            const bool stoppedThen = std::any_of(stops.begin(), stops.end(), [&](const auto& s) {
                return s.first == lastAt && s.second == oldDeck;
            });
            EXPECT_TRUE(stoppedThen);
        }
    }
    const PlayQueue& q = rig.engine.Queue();
    EXPECT_EQ(q.TracksToPlay, 0);
    EXPECT_EQ(q.Count(), 5);
    for (const QString& e : q.Entries()) EXPECT_TRUE(e.isEmpty());
    EXPECT_EQ(rig.engine.Played().Count(), int(lines.size()));
}

}  // namespace
