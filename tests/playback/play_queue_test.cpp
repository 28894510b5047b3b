#include "playback/play_queue.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <set>

#include "playback/track_info.h"
#include "support/mpeg_builder.h"

namespace {

TEST(FormatMinSec, PadsBothPartsAndLetsMinutesGrow) {
    const struct {
        long long seconds;
        const char* text;
    } cases[] = {{0, "00:00"},   {9, "00:09"},     {61, "01:01"},  {599, "09:59"},
                 {600, "10:00"}, {7505, "125:05"}, {-75, "-01:15"}};
    for (const auto& c : cases) EXPECT_EQ(FormatMinSec(c.seconds), c.text) << c.seconds;
}

TEST(TrackInfoText, SplitsArtistSongAndCategoryInTheirOrder) {
    const QChar cr(13);
    const struct {
        const char* entry;
        const char* artist;
        const char* song;
        const char* category;
    } cases[] = {
        {"C:\\Music\\Band - Tune.mp3^Oldies", "Band ", " Tune", "Oldies"},
        {"/music/Solo.mp3^Pop", "", "Solo", "Pop"},
        {"/music/A-B-C.mp3", "A", "B-C", ""},
        {"/music/X -.mp3^Rock", "X ", "", "Rock"},  // a song of four characters or fewer
        {"/music/abc^Rock", "", "", "Rock"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        const QString expected = QString("Artist: ") + c.artist + cr + "song :      " + c.song +
                                 cr + "length :       00:00         Category:    " + c.category;
        EXPECT_EQ(TrackInfoText(c.entry), expected) << c.entry;
    }
}

TEST(TrackInfoText, ReadsTheLengthFromThePathBeforeTheCaret) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Band - Tune.mp3");
    ASSERT_TRUE(WriteCbrMpeg(path, 185));
    EXPECT_TRUE(TrackInfoText(path + "^Oldies").contains("length :       03:05"));
}

QStringList Numbered(const QString& stem, int n) {
    QStringList lines;
    for (int i = 1; i <= n; ++i) lines << QString("/m/%1%2.mp3").arg(stem).arg(i);
    return lines;
}

TEST(PlayQueue, InOrderDrawTakesTheHeadOfAListThenFillers) {
    PlayQueue q;
    q.SetProgram({"a"}, {Numbered("t", 3)});
    EXPECT_EQ(q.TracksToPlay, 3);
    for (int i = 0; i < 5; ++i) q.RefillQueue();
    const QStringList expected{"/m/t1.mp3^a", "/m/t2.mp3^a", "/m/t3.mp3^a", "", ""};
    EXPECT_EQ(q.Entries(), expected);
    EXPECT_TRUE(q.ProgramLists[0].isEmpty());
}

TEST(PlayQueue, RandomDrawsAreSeededAndNeverRepeatATrack) {
    auto draw = [](std::uint32_t seed, bool random) {
        PlayQueue q;
        q.Seed(seed);
        q.RandomPlay = random;
        q.SetProgram({"a", "b"}, {Numbered("a", 20), Numbered("b", 20)});
        for (int i = 0; i < 12; ++i) q.RefillQueue();
        return q.Entries();
    };
    const QStringList first = draw(42, true);
    EXPECT_EQ(first, draw(42, true));
    EXPECT_NE(first, draw(43, true));
    EXPECT_EQ(std::set<QString>(first.begin(), first.end()).size(), 12u);
    // Without random play each list still gives its tracks in order, mixed between lists.
    const QStringList ordered = draw(42, false);
    QStringList fromA = ordered.filter("^a"), fromB = ordered.filter("^b");
    EXPECT_FALSE(fromA.isEmpty());
    EXPECT_FALSE(fromB.isEmpty());
    for (int i = 0; i < fromA.size(); ++i) EXPECT_EQ(fromA[i], Numbered("a", 20)[i] + "^a");
}

TEST(PlayQueue, InOrderStartOverridesRandomPlay) {
    PlayQueue q;
    q.RandomPlay = true;
    q.NextTrackNowInOrder = true;
    q.SetProgram({"a"}, {Numbered("t", 9)});
    q.RefillQueue();
    EXPECT_EQ(q.At(0), "/m/t1.mp3^a");
}

TEST(PlayQueue, NoProgramGivesFillers) {
    PlayQueue q;
    q.RefillQueue();
    EXPECT_EQ(q.Entries(), QStringList{""});
}

TEST(PlayQueue, InsertGoesToTheMarkedLabelOrMarksTheFirst) {
    PlayQueue q;
    for (const char* e : {"a", "b", "c", "d", "e"}) q.Append(e);
    q.TracksToPlay = 4;
    q.InsertIntoQueue("new");
    EXPECT_EQ(q.MarkedSlot, 1);
    EXPECT_EQ(q.At(0), "new");
    EXPECT_EQ(q.TracksToPlay, 5);
    EXPECT_EQ(q.LabelColour(1), PlayQueue::kMarkedColour);
    EXPECT_EQ(q.LabelColour(2), PlayQueue::kUnmarkedColour);
    q.MarkSlot(4);
    q.InsertIntoQueue("x");
    EXPECT_EQ(q.At(3), "x");
    EXPECT_TRUE(q.NextTrackTexts()[3].startsWith("Artist: \rsong :      "));
}

TEST(PlayQueue, ProgramKeepsAtMostElevenLists) {
    PlayQueue q;
    QStringList names;
    QList<QStringList> lists;
    for (int i = 0; i < 13; ++i) {
        names << QString::number(i);
        lists << QStringList{"x"};
    }
    q.SetProgram(names, lists);
    EXPECT_EQ(q.ProgramListCount, 11);
    EXPECT_EQ(q.TracksToPlay, 11);
}

}  // namespace
