// The cost of one main-loop tick on simulated decks with five tracks queued: a quiet
// tick while a long track plays, and a tick that hands the next track over (crossfade
// start, hand-over, five next-track texts read from their MPEG files).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "base/virtual_timer_host.h"
#include "playback/main_loop.h"
#include "playback/playback_engine.h"
#include "player/simulated_player_link.h"
#include "support/mpeg_builder.h"

namespace {

const QDateTime kStart(QDate(2026, 12, 7), QTime(10, 5, 0));

struct Station {
    Station()
        : link(host, host, [](const QString&) { return 10u * 60 * 60; }),  // ten hours a track
          engine(host, host, link) {
        QStringList tracks;
        for (int i = 0; i < 5; ++i) {
            tracks << dir.filePath(QString("Artist %1 - Song %1.mp3").arg(i));
            WriteCbrMpeg(tracks.back(), 180 + 20 * i);
        }
        QStringList pool;
        for (int i = 0; i < 200'000; ++i) pool << tracks[i % 5];
        engine.StartProgram({"Bench"}, {pool});  // as the program loader starts it
        engine.LaunchPlayers();
        host.Advance(engine.WaitSecInBeggining * 1000 + 400 + 4'000);  // started and settled
    }

    QTemporaryDir dir;
    VirtualTimerHost host{kStart};
    SimulatedPlayerLink link;
    PlaybackEngine engine;
};

void BM_QuietTick(benchmark::State& state) {
    Station s;
    for (auto _ : state) s.host.Advance(400);
    state.counters["queued"] = s.engine.Queue().Count();
}
BENCHMARK(BM_QuietTick);

void BM_HandOverTick(benchmark::State& state) {
    Station s;
    for (auto _ : state) {
        s.engine.LoopForTickParts().SettleTicks = 0;
        s.engine.Next();
        s.host.Advance(400);  // the tick and the first four fade steps
    }
    state.counters["started"] = s.engine.Played().Count();
}
BENCHMARK(BM_HandOverTick);

}  // namespace

BENCHMARK_MAIN();
