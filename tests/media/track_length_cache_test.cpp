#include "media/track_length_cache.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/mpeg_builder.h"

namespace {

TEST(TrackLengthCache, ReadsChangedFilesAgainAndForgetsTheLeastUsed) {
    QTemporaryDir dir;
    const QString track = dir.filePath("t.mp3");
    TrackLengthCache cache;
    ASSERT_TRUE(WriteCbrMpeg(track, 185));
    EXPECT_EQ(cache.Lookup(track), 185u);
    ASSERT_TRUE(WriteCbrMpeg(track, 61));
    EXPECT_EQ(cache.Lookup(track), 61u);
    for (int i = 0; i < 2000; ++i) {
        cache.Lookup(dir.filePath(QString::number(i)));
        if (i % 100 == 0) cache.Lookup(track);  // still in use: kept
    }
    EXPECT_EQ(cache.Known(track), 61u);
    EXPECT_EQ(cache.Known(dir.filePath("0")), std::nullopt);
    EXPECT_EQ(cache.Known(dir.filePath("1999")), 0u);
}

}  // namespace
