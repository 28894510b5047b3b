// The background analysis: each path once, files only, kept in the store.
#include "app/analysis_job.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <mutex>

#include "media/sound_analysis.h"
#include "support/analysis_map.h"
#include "support/files.h"
#include "support/run_events.h"

namespace {

struct CountingAnalyzer : SoundAnalyzer {
    ReadResult<SoundAnalysis> Analyze(const QString& path) const override {
        const std::lock_guard<std::mutex> hold(lock);
        analysed << path;
        ReadResult<SoundAnalysis> r;
        r.value.loudnessLufs = -20;
        return r;
    }
    mutable std::mutex lock;
    mutable QStringList analysed;
};

TEST(AnalysisJob, AnalysesEachFileOnceAndKeepsItPassingOverWhatIsNoFileOrKnown) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.mp3"), b = dir.filePath("b.mp3"),
                  known = dir.filePath("k.mp3");
    for (const QString& path : {a, b, known}) WriteBytes(path, "audio");
    CountingAnalyzer analyzer;
    AnalysisMap store;
    store.Keep(known, {});
    AnalysisJob job(analyzer, store);
    job.Add({a, "", dir.path(), a, known});
    job.Add({b, a, dir.filePath("gone.mp3")});
    ASSERT_TRUE(RunEventsUntil([&] { return job.Done() == job.Seen(); }, 10000));
    EXPECT_EQ(job.Seen(), 5);
    EXPECT_EQ(analyzer.analysed, QStringList({a, b}));
    EXPECT_EQ(store.Size(), 3);
}

}  // namespace
