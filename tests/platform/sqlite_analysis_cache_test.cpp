#include "platform/sqlite_analysis_cache.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <limits>
#include <thread>

#include "support/files.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const SoundAnalysis kSong{-9.2, -0.4, 0.35, 181.5, 183.04, true};
const QDateTime kKeptAt = QDateTime::fromSecsSinceEpoch(1'700'000'000);

void WriteTrack(const QString& path, const QByteArray& audio, const QDateTime& modified) {
    WriteBytes(path, audio);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

QStringList MakeTracks(const QTemporaryDir& dir, int count) {
    QStringList tracks;
    for (int i = 0; i < count; ++i) {
        tracks << dir.filePath(QString("%1.mp3").arg(i));
        WriteTrack(tracks.back(), "audio", kKeptAt);
    }
    return tracks;
}

void Execute(const QString& database, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

}  // namespace

// A row holds for the file as it was kept, across runs; a file rewritten, touched or gone
// is analysed again.
TEST(SqliteAnalysisCacheTest, FindsAnAnalysisOnlyForTheFileAsItWasKept) {
    QTemporaryDir dir;
    const QString cacheFile = dir.filePath("new folder/analysis.sqlite");
    const SoundAnalysis silence{-kInf, -kInf, 0, 0, 30, false};
    struct Case {
        const char* name;
        SoundAnalysis analysis;
        std::function<void(const QString&)> change;
        bool found;
    };
    const Case cases[] = {
        {"as kept", kSong, [](const QString&) {}, true},
        {"silence", silence, [](const QString&) {}, true},
        {"rewritten, same time", kSong, [](const QString& t) { WriteTrack(t, "AUDIO!", kKeptAt); },
         false},
        {"same size, touched", kSong,
         [](const QString& t) { WriteTrack(t, "AUDIO", kKeptAt.addMSecs(1)); }, false},
        {"removed", kSong, [](const QString& t) { QFile::remove(t); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString track = dir.filePath(QString::fromUtf8(c.name) + ".mp3");
        WriteTrack(track, "audio", kKeptAt);
        {
            SqliteAnalysisCache cache(cacheFile);
            ASSERT_EQ(cache.Problem(), "");
            ASSERT_TRUE(cache.Keep(track, {-30, -20, 1, 2, 3, true}).ok());
            ASSERT_TRUE(cache.Keep(dir.path() + "/./" + c.name + ".mp3", c.analysis).ok());
        }
        c.change(track);
        const SqliteAnalysisCache reopened(cacheFile);
        EXPECT_EQ(reopened.Find(track), c.found ? std::optional(c.analysis) : std::nullopt);
    }
    EXPECT_EQ(
        QFile::permissions(dir.filePath("new folder")) & (QFile::ReadOther | QFile::ReadGroup),
        QFile::Permissions());
}

// A cache file that is not what this program wrote is never read: it is set aside, the
// cache starts empty and works, and the next run opens it without a word.
TEST(SqliteAnalysisCacheTest, ADamagedCacheIsRebuiltWithAProblemAndThenWorks) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> spoil;
    };
    const Case cases[] = {
        {"garbage bytes", [](const QString& f) { WriteBytes(f, QByteArray(20000, '\x5a')); }},
        {"truncated", [](const QString& f) { QFile::resize(f, QFileInfo(f).size() / 2); }},
        {"another shape",
         [](const QString& f) {
             QFile::remove(f);
             Execute(f, "CREATE TABLE analysis (path TEXT, lufs REAL); PRAGMA user_version=1");
         }},
        {"newer version", [](const QString& f) { Execute(f, "PRAGMA user_version=2"); }},
    };
    QTemporaryDir dir;
    const QStringList tracks = MakeTracks(dir, 100);  // a file of pages, so a cut one misses some
    const QString& track = tracks[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString cacheFile = dir.filePath(QString::fromUtf8(c.name) + ".sqlite");
        {
            SqliteAnalysisCache full(cacheFile);
            for (const QString& t : tracks) ASSERT_TRUE(full.Keep(t, {-20, 0, 0, 0, 0, true}).ok());
        }
        c.spoil(cacheFile);

        SqliteAnalysisCache cache(cacheFile);
        EXPECT_TRUE(cache.Problem().startsWith(
            QString("The analysis cache %1 was damaged and is rebuilt: ").arg(cacheFile)))
            << cache.Problem().toStdString();
        EXPECT_EQ(cache.Find(track), std::nullopt);
        EXPECT_TRUE(cache.Keep(track, kSong).ok());
        const SqliteAnalysisCache next(cacheFile);
        EXPECT_EQ(next.Problem(), "");
        EXPECT_EQ(next.Find(track), kSong);
    }
}

// Where no file can be made the station still runs: analyses last until it closes.
TEST(SqliteAnalysisCacheTest, ACacheThatCannotBeOpenedKeepsAnalysesInMemory) {
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath("plain"), track = dir.filePath("a.mp3");
    WriteBytes(notAFolder, "a file");
    WriteTrack(track, "audio", kKeptAt);
    SqliteAnalysisCache cache(notAFolder + "/analysis.sqlite");
    EXPECT_TRUE(cache.Problem().startsWith(
        QString("The analysis cache %1/analysis.sqlite cannot be opened").arg(notAFolder)));
    EXPECT_TRUE(cache.Keep(track, kSong).ok());
    EXPECT_EQ(cache.Find(track), kSong);
}

// Workers keep while the window's thread finds.
TEST(SqliteAnalysisCacheTest, WorkersKeepWhileAnotherThreadFinds) {
    QTemporaryDir dir;
    SqliteAnalysisCache cache(dir.filePath("analysis.sqlite"));
    const QStringList tracks = MakeTracks(dir, 200);
    const auto keepHalf = [&](int first) {
        for (int i = first; i < tracks.size(); i += 2)
            EXPECT_TRUE(cache.Keep(tracks[i], kSong).ok());
    };
    std::thread even(keepHalf, 0), odd(keepHalf, 1);
    for (const QString& track : tracks) EXPECT_EQ(cache.Find(track).value_or(kSong), kSong);
    even.join();
    odd.join();
    for (const QString& track : tracks) EXPECT_EQ(cache.Find(track), kSong);
}
