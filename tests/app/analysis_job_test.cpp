// The background analysis: each path once, files only, kept in the store.
#include "app/analysis_job.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QTemporaryDir>
#include <mutex>

#include "media/sound_analysis.h"
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

struct MapStore : AnalysisStore {
    std::optional<SoundAnalysis> Find(const QString& path) const override {
        const std::lock_guard<std::mutex> hold(lock);
        return kept.contains(path) ? std::optional(kept[path]) : std::nullopt;
    }
    Result Keep(const QString& path, const SoundAnalysis& analysis) override {
        const std::lock_guard<std::mutex> hold(lock);
        kept[path] = analysis;
        return {};
    }
    mutable std::mutex lock;
    QMap<QString, SoundAnalysis> kept;
};

TEST(AnalysisJob, AnalysesEachFileOnceAndKeepsItPassingOverWhatIsNoFileOrKnown) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.mp3"), b = dir.filePath("b.mp3"),
                  known = dir.filePath("k.mp3");
    for (const QString& path : {a, b, known}) WriteBytes(path, "audio");
    CountingAnalyzer analyzer;
    MapStore store;
    store.Keep(known, {});
    AnalysisJob job(analyzer, store);
    job.Add({a, "", dir.path(), a, known});
    job.Add({b, a, dir.filePath("gone.mp3")});
    ASSERT_TRUE(RunEventsUntil([&] { return job.Done() == job.Seen(); }, 10000));
    EXPECT_EQ(job.Seen(), 5);
    EXPECT_EQ(analyzer.analysed, QStringList({a, b}));
    EXPECT_EQ(store.kept.size(), 3);
}

}  // namespace
