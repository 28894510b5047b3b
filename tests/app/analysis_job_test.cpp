// The background analysis: each path once, files only, what is soon before what the walks
// find, and a close that does not wait for a long file.
#include "app/analysis_job.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <mutex>

#include "media/sound_analysis.h"
#include "support/analysis_map.h"
#include "support/files.h"
#include "support/run_events.h"

namespace {

// Records the files in the order analysed; while held, a file is analysed until the
// station stops it (or the test lets it go).
struct CountingAnalyzer : SoundAnalyzer {
    ReadResult<SoundAnalysis> Analyze(const QString& path,
                                      const std::atomic<bool>* stop) const override {
        {
            const std::lock_guard<std::mutex> hold(lock);
            analysed << path;
        }
        while (held && !(stop && *stop)) QThread::msleep(5);
        ReadResult<SoundAnalysis> r;
        if (stop && *stop) static_cast<Result&>(r) = Result::Error("stopped");
        return r;
    }
    QStringList Analysed() const {
        const std::lock_guard<std::mutex> hold(lock);
        return analysed;
    }
    mutable std::mutex lock;
    mutable QStringList analysed;
    std::atomic<bool> held{false};
};

bool AllDone(const AnalysisJob& job) {
    return RunEventsUntil([&] { return job.Idle() && job.Count().done == job.Count().seen; },
                          10000);
}

TEST(AnalysisJob, TakesWhatIsSoonFirstThenWhatTheWalksFindEachFileOnce) {
    QTemporaryDir dir;
    QStringList f;  // first, a, b, c, d, known
    for (const char* name : {"first", "a", "b", "c", "d", "known"}) {
        f << dir.filePath(QString(name) + ".mp3");
        WriteBytes(f.back(), "audio");
    }
    CountingAnalyzer analyzer;
    AnalysisMap store;
    store.Keep(f[5], {});
    AnalysisJob job(analyzer, store, 1);
    analyzer.held = true;
    job.AddSoon({f[0]});
    ASSERT_TRUE(RunEventsUntil([&] { return !analyzer.Analysed().isEmpty(); }, 5000));
    // While the first is analysed: a walk, then the files about to play, some of them
    // found by the walk too; a folder, a missing file and a known one are passed over.
    job.AddLater([&] { return QStringList{f[3], f[1], "", f[4], f[2], f[5]}; });
    job.AddSoon({f[1], f[2], dir.path(), f[1], dir.filePath("gone.mp3")});
    analyzer.held = false;
    ASSERT_TRUE(AllDone(job));
    EXPECT_EQ(analyzer.Analysed(), QStringList({f[0], f[1], f[2], f[3], f[4]}));
    EXPECT_EQ(job.Count().seen, 8);
    EXPECT_EQ(store.Size(), 6);
}

TEST(AnalysisJob, ClosingStopsTheFileUnderAnalysisAndKeepsNothingOfIt) {
    QTemporaryDir dir;
    const QString longFile = dir.filePath("long.mp3");
    WriteBytes(longFile, "audio");
    CountingAnalyzer analyzer;
    analyzer.held = true;
    AnalysisMap store;
    QElapsedTimer closing;
    {
        AnalysisJob job(analyzer, store, 2);
        job.AddSoon({longFile});
        ASSERT_TRUE(RunEventsUntil([&] { return !analyzer.Analysed().isEmpty(); }, 5000));
        closing.start();
    }
    EXPECT_LT(closing.elapsed(), 2000);
    EXPECT_EQ(store.Size(), 0);
}

}  // namespace
