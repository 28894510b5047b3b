#include "library/track_search.h"

#include <gtest/gtest.h>

#include <QProcess>

#include "library/greek_folding.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

TEST(GreekFolding, GreekTextsSpellInLatinAfterFolding) {
    const QList<std::pair<QString, QString>> cases{{"ΘΕΜΑ", "THEMA"}, {"ΞΑΝΑ", "KSANA"},
                                                   {"ΨΥΧΗ", "PSYXH"}, {"καλη μερα", "KALH MERA"},
                                                   {"ωμος", "WMOS"},  {"αγάπη-7", "AGάPH-7"}};
    for (const auto& [text, latin] : cases)
        EXPECT_EQ(MakeGreeklish(MakeCapitalGreek(UpperLatin(text))), latin) << text.toStdString();
}

class TrackSearchTest : public ::testing::Test {
protected:
    TrackSearchTest() {
        const QString m = station.MusicPath();
        QStringList pop;
        for (const char* t : {"LOVE SONG.mp3", "Love.mp3", "ΚΑΛΗ.mp3", "καλη.mp3", "Καλη.mp3",
                              "KALH.mp3", "kalh.mp3", "Αγάπη.mp3", "ΑΓΑΠΗ.mp3", "ΑΓΑΠΗ live.mp3"})
            pop << m + QString::fromUtf8(t);
        station.WriteList("pop", pop);
        for (const char* list : {"a", "b", "c", "CD_gold"})
            station.WriteList(list, {m + "Shared - Song.mp3"});
    }
    StationFolder station;
};

TEST_F(TrackSearchTest, RowsFollowTheFoldingTheNarrowingTextAndTheCdBox) {
    struct Case {
        SearchQuery query;
        QStringList rows;  // "title@list" in the view's order
        QString latin;
    };
    const QList<Case> cases{
        {{"abc", "", true, true}, {}, ""},
        {{"love", "", false, false}, {"LOVE SONG.mp3@pop", "Love.mp3@pop"}, ""},
        {{"καλη", "", false, false}, {"καλη.mp3@pop"}, ""},
        {{"καλη", "", true, false},
         {"KALH.mp3@pop", "kalh.mp3@pop", "ΚΑΛΗ.mp3@pop", "Καλη.mp3@pop", "καλη.mp3@pop"},
         "KALH"},
        {{"αγαπη", "", false, false}, {}, ""},
        {{"αγαπη", "", true, false}, {"ΑΓΑΠΗ live.mp3@pop", "ΑΓΑΠΗ.mp3@pop"}, "AGAPH"},
        {{"αγαπη", "LIVE", true, false}, {"ΑΓΑΠΗ live.mp3@pop"}, "AGAPH"},
        {{"shared", "", false, false},
         {"Shared - Song.mp3@a", "Shared - Song.mp3@b", "Shared - Song.mp3@c"},
         ""},
        {{"shared", "", false, true},
         {"Shared - Song.mp3@a", "Shared - Song.mp3@b", "Shared - Song.mp3@c",
          "Shared - Song.mp3@CD_gold"},
         ""},
    };
    for (const Case& c : cases) {
        const SearchOutcome outcome = RunTrackSearch(station.ListsPath(), c.query);
        QStringList rows;
        for (const SearchRow& row : outcome.rows) {
            EXPECT_EQ(row.path, station.MusicPath() + row.title);
            rows << row.title + "@" + row.listName;
        }
        const std::string what = (c.query.text + "/" + c.query.narrowing).toStdString();
        EXPECT_EQ(outcome.ran, c.query.text.size() > 3) << what;
        EXPECT_EQ(rows, c.rows) << what;
        EXPECT_EQ(outcome.latin, c.latin) << what;
    }
}

// The program itself prints the rows in the station folder and leaves it as it was.
TEST_F(TrackSearchTest, TheProgramPrintsTheRowsAndRefusesStrayOptions) {
    const QStringList before = FileTree(station.StartFolder(), true);
    QProcess program;
    program.setWorkingDirectory(station.StartFolder());
    program.start(STAVOX_MIXER_BINARY, {"--search", "καλη", "--and", "η.", "--greeklish"});
    ASSERT_TRUE(program.waitForFinished(30'000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString m = station.MusicPath();
    QString expected = "# latin: KALH\n";
    for (const QString title : {"ΚΑΛΗ.mp3", "Καλη.mp3", "καλη.mp3"})
        expected += title + "\t" + m + title + "\tpop\n";
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), expected);
    EXPECT_EQ(FileTree(station.StartFolder(), true), before);
    for (const QStringList& bad :
         {QStringList{"--greeklish"},
          QStringList{"--search", "love", "--simulate", "2026-12-07 10:00:00", "--for", "1h"}}) {
        program.start(STAVOX_MIXER_BINARY, bad);
        ASSERT_TRUE(program.waitForFinished(30'000));
        EXPECT_EQ(program.exitCode(), 2);
        EXPECT_TRUE(program.readAllStandardError().contains("--search TEXT"));
    }
}

}  // namespace
