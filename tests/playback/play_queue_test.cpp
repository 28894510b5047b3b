#include "playback/play_queue.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "support/fake_track_lengths.h"
#include "support/mpeg_builder.h"
#include "support/run_events.h"
#include "support/watchdog.h"

namespace {

TEST(PlayQueue, NextTrackTextsSplitTheEntryAndAskTheLengths) {
    FakeTrackLengths lengths;
    lengths.Seconds["/music/Band - Tune.mp3"] = 185;
    PlayQueue q(&lengths);
    // (entry; artist, song, length and category as shown)
    const std::pair<QString, QStringList> cases[] = {
        {"/music/Band - Tune.mp3^Oldies", {"Band ", " Tune", "03:05", "Oldies"}},
        {"C:\\Music\\Band - Tune.mp3^Oldies", {"Band ", " Tune", "00:00", "Oldies"}},
        {"/music/Solo.mp3^Pop", {"", "Solo", "00:00", "Pop"}},
        {"/music/A-B-C.mp3", {"A", "B-C", "00:00", ""}},
        {"/music/X -.mp3^Rock", {"X ", "", "00:00", "Rock"}},  // a song of four characters or fewer
    };
    for (const auto& [entry, shown] : cases) q.Append(entry);
    q.ShowNextTracks();
    for (int i = 0; i < PlayQueue::kShownEntries; ++i)
        EXPECT_EQ(q.NextTrackTexts()[i], QString("Artist: %1\rsong :      %2\rlength :       %3"
                                                 "         Category:    %4")
                                             .arg(cases[i].second[0], cases[i].second[1],
                                                  cases[i].second[2], cases[i].second[3]));
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

TEST(PlayQueue, NextTracksNeverWaitForAFileAndShowLengthsOnceRead) {
    // Lengths read in the background arrive through the event loop.
    static int argc = 1;
    static char name[] = "test_playback";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    QTemporaryDir dir;
    const QString fifo = dir.filePath("Band - Pipe.mp3"), good = dir.filePath("Band - Tune.mp3");
    ASSERT_TRUE(MakeFifo(fifo) && WriteCbrMpeg(good, 185));
    PlayQueue q;
    q.ReadLengthsInBackground();
    for (const QString& e : {fifo + "^Pop", good + "^Pop", QString()}) q.Append(e);
    ASSERT_TRUE(ReturnsWithin(
        20000, [&] { q.ShowNextTracks(); }, [&] { ReleaseFifoReader(fifo); }));
    const auto& texts = q.NextTrackTexts();
    const auto length = [&](int n) { return texts[n].section(u'\r', 2).mid(15, 5); };
    EXPECT_EQ(QStringList({length(0), length(1), length(2), texts[3]}).join('|').toStdString(),
              "--:--|--:--|00:00|");  // the filler has no file
    ASSERT_TRUE(
        RunEventsUntil([&] { return length(0) != "--:--" && length(1) != "--:--"; }, 20000));
    EXPECT_EQ(QStringList({length(0), length(1)}), QStringList({"00:00", "03:05"}));
    // A file rewritten with another length is read again; until then the old one shows.
    ASSERT_TRUE(WriteCbrMpeg(good, 61));
    q.ShowNextTracks();
    EXPECT_EQ(length(1), "03:05");
    EXPECT_TRUE(RunEventsUntil([&] { return length(1) == "01:01"; }, 20000));
}

}  // namespace
