// The cost of one main-loop tick on simulated decks with five tracks queued: a quiet
// tick while a long track plays, and a tick that hands the next track over (crossfade
// start, hand-over, five next-track texts read from their MPEG files). The same two again
// while two workers analyse sound files into an SQLite cache, the one the station looks
// its tracks up in. Wall-clock time throughout, so that sharing the cores shows.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "app/analysis_job.h"
#include "base/virtual_timer_host.h"
#include "platform/ffmpeg_sound_analyzer.h"
#include "platform/sqlite_analysis_cache.h"
#include "playback/main_loop.h"
#include "playback/playback_engine.h"
#include "player/simulated_player_link.h"
#include "support/mpeg_builder.h"
#include "support/tone_file.h"

namespace {

const QDateTime kStart(QDate(2026, 12, 7), QTime(10, 5, 0));
constexpr unsigned kTrackSec = 10u * 60 * 60;  // ten hours a track

// What the cache holds for each queued track, as the workers would have found it: too
// loud, a little silence at each end of its ten hours.
const SoundAnalysis kTrackAnalysis{-9.5, -0.3, 0.4, kTrackSec - 3.0, double(kTrackSec), true};

struct Station {
    explicit Station(AnalysisStore* analyses = nullptr)
        : link(host, host, [](const QString&) { return kTrackSec; }), engine(host, host, link) {
        QStringList tracks;
        for (int i = 0; i < 5; ++i) {
            tracks << dir.filePath(QString("Artist %1 - Song %1.mp3").arg(i));
            WriteCbrMpeg(tracks.back(), 180 + 20 * i);
            if (analyses) analyses->Keep(tracks.back(), kTrackAnalysis);
        }
        engine.SetAnalyses(analyses);
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

// Forty stereo MP3 tones of 20 to 59 s (about 26 minutes in all), made once a process.
const QStringList& ToneFiles() {
    static QTemporaryDir dir;
    static const QStringList files = [] {
        QStringList made;
        for (int i = 0; i < 40; ++i) {
            made << dir.filePath(QString("Tone %1.mp3").arg(i));
            const QString error = WriteToneMp3(made.back(), 220 + 10 * i, 20 + i, 0.1 + i / 50.0);
            if (!error.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                std::exit(1);
            }
        }
        return made;
    }();
    return files;
}

// Two workers analysing the tone files into a new cache file, so that none is known yet
// and they stay busy for the whole run.
struct Analysing {
    Analysing() { job.AddSoon(ToneFiles()); }

    // Files analysed while the ticks ran; a run in which the workers ran out of files
    // measured nothing of what it claims.
    void Report(benchmark::State& state, int doneBefore) const {
        const int analysed = job.Count().done - doneBefore;
        state.counters["analysed"] = analysed;
        state.counters["analysed/s"] = benchmark::Counter(analysed, benchmark::Counter::kIsRate);
        if (job.Idle()) state.SkipWithError("the workers ran out of files to analyse");
    }

    QTemporaryDir dir;
    FfmpegSoundAnalyzer analyzer;
    SqliteAnalysisCache cache{dir.filePath("analysis.sqlite")};
    AnalysisJob job{analyzer, cache, 2};
};

void BM_QuietTick(benchmark::State& state) {
    Station s;
    for (auto _ : state) s.host.Advance(400);
    state.counters["queued"] = s.engine.Queue().Count();
}
BENCHMARK(BM_QuietTick)->UseRealTime();

void BM_HandOverTick(benchmark::State& state) {
    Station s;
    for (auto _ : state) {
        s.engine.LoopForTickParts().SettleTicks = 0;
        s.engine.Next();
        s.host.Advance(400);  // the tick and the first four fade steps
    }
    state.counters["started"] = s.engine.Played().Count();
}
BENCHMARK(BM_HandOverTick)->UseRealTime();

void BM_QuietTickWhileAnalysing(benchmark::State& state) {
    Analysing a;
    Station s(&a.cache);  // built while the workers start on their first files
    const int doneBefore = a.job.Count().done;
    for (auto _ : state) s.host.Advance(400);
    a.Report(state, doneBefore);
    state.counters["queued"] = s.engine.Queue().Count();
}
BENCHMARK(BM_QuietTickWhileAnalysing)->UseRealTime();

void BM_HandOverTickWhileAnalysing(benchmark::State& state) {
    Analysing a;
    Station s(&a.cache);
    const int doneBefore = a.job.Count().done;
    for (auto _ : state) {
        s.engine.LoopForTickParts().SettleTicks = 0;
        s.engine.Next();
        s.host.Advance(400);  // as above, and its look-ups in the cache
    }
    a.Report(state, doneBefore);
    state.counters["started"] = s.engine.Played().Count();
}
BENCHMARK(BM_HandOverTickWhileAnalysing)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
