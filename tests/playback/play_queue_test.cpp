#include "playback/play_queue.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "playback/track_info.h"
#include "support/mpeg_builder.h"

namespace {

TEST(TrackInfo, TimesAndTheThreeLinesOfAnEntry) {
    for (const auto& [seconds, text] : {std::pair<long long, const char*>{0, "00:00"},
                                        {61, "01:01"},
                                        {7505, "125:05"},
                                        {-75, "-01:15"}})
        EXPECT_EQ(FormatMinSec(seconds), text);

    QTemporaryDir dir;
    ASSERT_TRUE(WriteCbrMpeg(dir.filePath("Band - Tune.mp3"), 185));
    const struct {
        QString entry;
        QString artist, song, length, category;
    } cases[] = {
        {dir.filePath("Band - Tune.mp3^Oldies"), "Band ", " Tune", "03:05", "Oldies"},
        {"C:\\Music\\Band - Tune.mp3^Oldies", "Band ", " Tune", "00:00", "Oldies"},
        {"/music/Solo.mp3^Pop", "", "Solo", "00:00", "Pop"},
        {"/music/A-B-C.mp3", "A", "B-C", "00:00", ""},
        {"/music/X -.mp3^Rock", "X ", "", "00:00", "Rock"},  // a song of four characters or fewer
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrackInfoText(c.entry), "Artist: " + c.artist + "\rsong :      " + c.song +
                                              "\rlength :       " + c.length +
                                              "         Category:    " + c.category);
}

QStringList Numbered(const QString& stem, int n) {
    QStringList lines;
    for (int i = 1; i <= n; ++i) lines << QString("/m/%1%2.mp3").arg(stem).arg(i);
    return lines;
}

TEST(PlayQueue, DrawsInOrderOrSeededAtRandomAndThenFillers) {
    PlayQueue q;
    q.SetProgram({"a"}, {Numbered("t", 3)});
    for (int i = 0; i < 5; ++i) q.RefillQueue();
    EXPECT_EQ(q.Entries(), QStringList({"/m/t1.mp3^a", "/m/t2.mp3^a", "/m/t3.mp3^a", "", ""}));

    auto draw = [](std::uint32_t seed, bool random) {
        PlayQueue r;
        r.Seed(seed);
        r.RandomPlay = random;
        r.SetProgram({"a", "b"}, {Numbered("a", 20), Numbered("b", 20)});
        for (int i = 0; i < 12; ++i) r.RefillQueue();
        return r.Entries();
    };
    const QStringList random = draw(42, true);
    EXPECT_EQ(random, draw(42, true));
    EXPECT_NE(random, draw(43, true));
    EXPECT_EQ(QSet<QString>(random.begin(), random.end()).size(), 12);
    // Random play off still mixes the lists, each in its own order.
    const QStringList fromA = draw(42, false).filter("^a");
    EXPECT_FALSE(fromA.isEmpty() || fromA.size() == 12);
    for (int i = 0; i < fromA.size(); ++i) EXPECT_EQ(fromA[i], Numbered("a", 20)[i] + "^a");
}

TEST(PlayQueue, InsertGoesToTheMarkedLabelOrMarksTheFirst) {
    PlayQueue q;
    for (const char* e : {"a", "b", "c", "d", "e"}) q.Append(e);
    q.InsertIntoQueue("new");
    EXPECT_EQ(q.MarkedSlot, 1);
    q.MarkSlot(4);
    q.InsertIntoQueue("x");
    EXPECT_EQ(q.Entries(), QStringList({"new", "a", "b", "x", "c", "d", "e"}));
    EXPECT_EQ(q.TracksToPlay, 2);
}

}  // namespace
