#include "library/track_search.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <array>
#include <tuple>

#include "base/text_file.h"
#include "library/greek_folding.h"
#include "schedule/list_file.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

// Folding drops case, accents and diaeresis, so the Latin spelling is all Latin.
TEST(GreekFolding, FoldedTextsSpellInLatinAndReduceToOneSkeleton) {
    const QList<std::array<QString, 3>> cases{
        {"ΘΕΜΑ", "THEMA", "TIEMA"},
        {"ΞΑΝΑ", "KSANA", "KSANA"},
        {"ΨΥΧΗ", "PSYXH", "PSIKSI"},
        {"καλη μερα", "KALH MERA", "KALI MERA"},
        {"ωμος", "WMOS", "OMOS"},
        {"αγάπη-7", "AGAPH-7", "AGAPI-7"},
        {"ξημέρωμα", "KSHMERWMA", "KSIMEROMA"},
        {"Μαΐου ἄδῃ ΰ", "MAIOY ADH Y", "MEOU ADI I"},
        {"Άγγελος Angelos", "AGGELOS ANGELOS", "AGELOS AGELOS"}};
    for (const auto& [text, latin, skeleton] : cases) {
        QString folded = text;
        FoldForSearch(folded);
        EXPECT_EQ(MakeGreeklish(folded), latin) << text.toStdString();
        EXPECT_EQ(GreeklishSkeleton(folded), skeleton) << text.toStdString();
    }
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
        {{"καλη", "", false, false}, {"ΚΑΛΗ.mp3@pop", "Καλη.mp3@pop", "καλη.mp3@pop"}, ""},
        {{"καλη", "", true, false},
         {"KALH.mp3@pop", "kalh.mp3@pop", "ΚΑΛΗ.mp3@pop", "Καλη.mp3@pop", "καλη.mp3@pop"},
         "KALH"},
        {{"αγαπη", "", false, false}, {"ΑΓΑΠΗ live.mp3@pop", "ΑΓΑΠΗ.mp3@pop", "Αγάπη.mp3@pop"}, ""},
        {{"αγαπη", "", true, false},
         {"ΑΓΑΠΗ live.mp3@pop", "ΑΓΑΠΗ.mp3@pop", "Αγάπη.mp3@pop"},
         "AGAPH"},
        {{"αγαπη", "LIVE", true, false}, {"ΑΓΑΠΗ live.mp3@pop"}, "AGAPH"},
        {{"ξημέρωμα", "", true, false}, {}, "KSHMERWMA"},
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

// The search looks for the text in a list's whole text, then at the lines it hit: only a
// hit in the title counts, whatever the line breaks and the list's encoding.
TEST(TrackSearchScan, OnlyTitlesMatchWhateverTheLineBreaksAndEncoding) {
    StationFolder station;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        WriteBytes(station.ListsPath() + name, bytes);
    };
    // The folder "Love" holds a title without the text, then one with it on the same line.
    write("mixed", "/m/Love/Other.mp3\r\n/m/Love/Love Me.mp3\n/m/x/LOVE\r/m/y/lovely.mp3");
    write("greek", text_file::EncodeWindows1253("/m/Αγάπη/καλη αγαπη.mp3\r\n/m/a/x.mp3\r\n"));
    write("latin", "/m/b/KALH AGAPH.mp3\r\n/m/c/kalh agaph live.mp3");
    struct Case {
        SearchQuery query;
        QStringList rows;  // "path@list" in the view's order
    };
    const QList<Case> cases{
        {{"love", "", false, false},
         {"/m/x/LOVE@mixed", "/m/Love/Love Me.mp3@mixed", "/m/y/lovely.mp3@mixed"}},
        {{"love me", "", false, false}, {"/m/Love/Love Me.mp3@mixed"}},
        {{"E.MP3\r/M", "", false, false}, {}},  // no title holds a line break
        // Greek from a Windows-1253 list and its Latin spelling, each line once.
        {{"καλη αγαπη", "", true, false},
         {"/m/c/kalh agaph live.mp3@latin", "/m/b/KALH AGAPH.mp3@latin",
          "/m/Αγάπη/καλη αγαπη.mp3@greek"}},
        {{"καλη αγαπη", "live", true, false}, {"/m/c/kalh agaph live.mp3@latin"}},
    };
    // A list of binary junk is named among the problems; the others are searched all the same.
    write("junk", QByteArray("Love\0junk", 9));
    const SearchOutcome withJunk =
        RunTrackSearch(station.ListsPath(), {"love me", "", false, false});
    EXPECT_EQ(withJunk.rows.size(), 1);
    ASSERT_EQ(withJunk.problems.size(), 1);
    EXPECT_TRUE(withJunk.problems[0].contains(station.ListsPath() + "junk"));
    QFile::remove(station.ListsPath() + "junk");
    for (const Case& c : cases) {
        QStringList rows;
        for (const SearchRow& row : RunTrackSearch(station.ListsPath(), c.query).rows) {
            EXPECT_EQ(row.title, TrackTitle(row.path));
            rows << row.path + "@" + row.listName;
        }
        EXPECT_EQ(rows, c.rows) << c.query.text.toStdString();
    }
}

// A Greek title is found as a Greek types it: in any case and accents, and with Greeklish
// in the usual Latin spellings too.
TEST(TrackSearchGreek, GreekTitlesAreFoundAsTheyAreTyped) {
    StationFolder station;
    QStringList paths;
    for (const char* t : {"Ξημέρωμα.mp3", "Αύγουστος.mp3", "ΑΥΓΟΥΣΤΟΣ live.mp3", "Καλοκαίρι.mp3",
                          "Άγγελος.mp3", "Θάλασσα.mp3", "Ειρήνη.mp3", "ΨΥΧΗ.mp3", "Night.mp3"})
        paths << "/m/" + QString::fromUtf8(t);
    station.WriteList("gr", paths);
    const QStringList august{"ΑΥΓΟΥΣΤΟΣ live.mp3", "Αύγουστος.mp3"};
    const QList<std::tuple<QString, bool, QStringList>> cases{
        {"αύγουστος", false, august},          {"ΑΎΓΟΥΣΤΟΣ", false, august},
        {"ξημερωμα", false, {"Ξημέρωμα.mp3"}}, {"ximeroma", false, {}},
        {"ksimeroma", true, {"Ξημέρωμα.mp3"}}, {"ximeroma", true, {"Ξημέρωμα.mp3"}},
        {"ξιμερομα", true, {"Ξημέρωμα.mp3"}},  {"kalimera", true, {}},
        {"avgoustos", true, august},           {"aygoystos", true, august},
        {"kalokeri", true, {"Καλοκαίρι.mp3"}}, {"kalokairi", true, {"Καλοκαίρι.mp3"}},
        {"angelos", true, {"Άγγελος.mp3"}},    {"aggelos", true, {"Άγγελος.mp3"}},
        {"thalasa", true, {"Θάλασσα.mp3"}},    {"eirini", true, {"Ειρήνη.mp3"}},
        {"irini", true, {"Ειρήνη.mp3"}},       {"psixi", true, {"ΨΥΧΗ.mp3"}},
        {"psychi", true, {"ΨΥΧΗ.mp3"}},        {"night", true, {"Night.mp3"}}};
    for (const auto& [text, greeklish, titles] : cases) {
        QStringList found;
        for (const SearchRow& row : RunTrackSearch(station.ListsPath(), {text, "", greeklish}).rows)
            found << row.title;
        EXPECT_EQ(found, titles) << text.toStdString() << (greeklish ? " greeklish" : "");
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
