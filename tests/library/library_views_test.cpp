#include <gtest/gtest.h>

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <atomic>
#include <numeric>
#include <stdexcept>

#include "base/parallel_map.h"
#include "library/artist_index.h"
#include "library/dir_view.h"
#include "library/library.h"
#include "support/files.h"
#include "support/run_events.h"
#include "support/station_folder.h"

namespace {

// The orders expected here and in the search's tests are those of an English-speaking
// operator, whatever the machine's locale: Latin titles before Greek ones.
class EnglishLocale : public ::testing::Environment {
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English)); }
};
const auto* const kEnglishLocale = ::testing::AddGlobalTestEnvironment(new EnglishLocale);

using Page = Library::Page;

// "title@list" for track entries, "title" otherwise, in the view's order.
QStringList Shown(const TrackRows& rows) {
    QStringList shown;
    for (int row = 0; row < rows.Count(); ++row) {
        const QString list = rows.Entry(row).section(u'^', 1);
        shown << (list.isEmpty() ? rows.Title(row) : rows.Title(row) + "@" + list);
    }
    return shown;
}

// In every locale, the C locale too, whose collation keys would otherwise keep the case.
TEST(TrackRowsOrder, TitlesWithoutCaseThenPayloadsInEveryLocale) {
    struct Case {
        QStringList titles;
        QStringList payloads;
        QStringList sorted;  // "title|payload"
    };
    const QList<Case> cases{
        {{"beta.mp3", "Alpha.mp3", "gamma.mp3"},
         {"1", "2", "3"},
         {"Alpha.mp3|2", "beta.mp3|1", "gamma.mp3|3"}},
        {{"song.mp3", "song.mp3"}, {"/z/", "/a/"}, {"song.mp3|/a/", "song.mp3|/z/"}},
        {{"Song.mp3", "song.mp3", "SONG.mp3"},
         {"/b/", "/c/", "/a/"},
         {"SONG.mp3|/a/", "Song.mp3|/b/", "song.mp3|/c/"}},
        {{"b.mp3", "B.mp3", "a.mp3", "A.mp3"},
         {"x", "x", "x", "x"},
         {"A.mp3|x", "a.mp3|x", "B.mp3|x", "b.mp3|x"}},
    };
    for (const QLocale::Language language : {QLocale::C, QLocale::Greek, QLocale::English}) {
        QLocale::setDefault(QLocale(language));
        for (const Case& c : cases) {
            QStringList sorted;
            for (const qsizetype i : ListBoxOrder(c.titles, c.payloads))
                sorted << c.titles[i] + "|" + c.payloads[i];
            EXPECT_EQ(sorted, c.sorted) << language << c.titles.join(",").toStdString();
        }
    }
}

class LibraryTest : public ::testing::Test {
protected:
    LibraryTest() {
        for (const char* list : {"b", "c"}) Write(list, {"Shared - Song.mp3"});
        Write("a", {"Shared - Song.mp3", "ABC-Early.mp3"});
        Write("pop", {"Abc-Song.mp3", "Abc - Song.mp3", "Abcde - Other.mp3", "ΑΛΦΑ - x.mp3",
                      "αλφα - y.mp3", "-Song.mp3", "NoDash.mp3", "beta.mp3", "Alpha.mp3"});
        Write("CD_rock", {"Cdonly - X.mp3"});
        Write("cd_rock", {"Lower - Y.mp3"});
        library.RefreshListNames();
    }
    void Write(const QString& list, const QStringList& titles) {
        QStringList lines;
        for (const QString& title : titles) lines << station.MusicPath() + title;
        station.WriteList(list, lines);
    }
    StationFolder station;
    Library library{station.ListsPath()};
};

// A long list is keyed on several cores; its order must be that of one comparison sort.
TEST(TrackRowsOrder, ALongListSortsAsAComparisonSortDoes) {
    QStringList titles;
    QStringList payloads;
    const QStringList words{"Άλφα", "alpha", "Beta", "βήτα", "Γάμμα", "gamma", "ALPHA"};
    for (int i = 0; i < 5000; ++i) {
        titles << words[(i * 7) % words.size()] + QString::number(i % 13);
        payloads << QString::number(i % 3);
    }
    std::vector<qsizetype> expected(titles.size());
    std::iota(expected.begin(), expected.end(), 0);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
        if (const int c = collator.compare(titles[a], titles[b]); c != 0) return c < 0;
        if (const int c = collator.compare(payloads[a], payloads[b]); c != 0) return c < 0;
        if (titles[a] != titles[b]) return titles[a] < titles[b];
        return payloads[a] < payloads[b];
    });
    EXPECT_EQ(ListBoxOrder(titles, payloads), expected);
}

// The model the views show: a rename keeps the row's place and selection, a new set of rows
// keeps none, and the views hear of every change.
TEST(TrackRowsModel, RowsKeepTheirSelectionThroughARenameAndLoseItOnReplace) {
    TrackRows rows;
    QList<int> changedRoles;
    QObject::connect(&rows, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                         changedRoles += roles;
                     });
    rows.Replace({{"a.mp3", "/m/a.mp3^x"}, {"b.mp3", "/m/b.mp3^x"}, {"c.mp3", "/m/c.mp3^y"}});
    EXPECT_TRUE(rows.setData(rows.index(2), true, TrackRows::SelectedRole));
    rows.SetSelected(0, true);
    rows.SetCurrentRow(2);
    rows.SetRow(2, "d.mp3", "/m/d.mp3^y");
    EXPECT_EQ(rows.SelectedRows(), QList<int>({0, 2}));
    EXPECT_EQ(rows.data(rows.index(2)).toString(), "d.mp3");
    EXPECT_EQ(rows.data(rows.index(2), TrackRows::EntryRole).toString(), "/m/d.mp3^y");
    EXPECT_TRUE(changedRoles.contains(TrackRows::SelectedRole));
    EXPECT_TRUE(changedRoles.contains(Qt::DisplayRole));
    rows.SetSelected(7, true);  // no such row
    rows.Replace({{"e.mp3", "/m/e.mp3"}});
    EXPECT_EQ(rows.SelectedRows(), QList<int>());
    EXPECT_EQ(rows.CurrentRow(), -1);
    EXPECT_EQ(rows.Title(3), "");
}

TEST(ParallelMap, EveryIndexOnceInOrder) {
    for (const qsizetype count : {0, 1, 3, 1000}) {
        std::atomic<int> calls{0};
        const std::vector<qsizetype> doubled = MapInParallel<qsizetype>(count, [&](qsizetype i) {
            ++calls;
            return 2 * i;
        });
        ASSERT_EQ(static_cast<qsizetype>(doubled.size()), count);
        EXPECT_EQ(calls, count);
        for (qsizetype i = 0; i < count; ++i) EXPECT_EQ(doubled[i], 2 * i);
    }
    // A failure of one call stops the map and reaches the caller after every thread ended.
    EXPECT_THROW(MapInParallel<int>(100,
                                    [](qsizetype i) {
                                        if (i == 42) throw std::runtime_error("no memory");
                                        return 1;
                                    }),
                 std::runtime_error);
}

TEST_F(LibraryTest, ArtistsFoldOnlyLatinCaseKeepTheFirstSpellingAndHonourTheCdBox) {
    const QStringList plain{"", "ABC", "Abc ", "Abcde ", "Lower ", "Shared ", "ΑΛΦΑ ", "αλφα "};
    QStringList withCds = plain;
    withCds.insert(4, "Cdonly ");
    for (const auto& [cds, artists] : {std::pair{false, plain}, std::pair{true, withCds}}) {
        library.CheckBoxCDsArtistsClick(cds);
        EXPECT_TRUE(library.Problems().isEmpty());
        EXPECT_EQ(library.Artists(), artists) << cds;
    }
}

TEST_F(LibraryTest, AnArtistCollectsTheTitlesThatStartWithItsName) {
    library.PageControl1Change(Page::Artists);
    const QList<std::pair<QString, QStringList>> cases{
        {"ABC",
         {"Abc - Song.mp3@pop", "ABC-Early.mp3@a", "Abc-Song.mp3@pop", "Abcde - Other.mp3@pop"}},
        {"Abc ", {"Abc - Song.mp3@pop"}},
        {"", {}},
        {"ΑΛΦΑ ", {"ΑΛΦΑ - x.mp3@pop"}},
        {"Shared ", {"Shared - Song.mp3@a", "Shared - Song.mp3@b", "Shared - Song.mp3@c"}},
    };
    for (const auto& [artist, tracks] : cases) {
        library.ListBoxArtistClick(library.Artists().indexOf(artist));
        EXPECT_EQ(Shown(library.Rows(Page::Artists)), tracks) << artist.toStdString();
        EXPECT_EQ(library.ArtistTracksCount(), tracks.size());
    }
}

TEST_F(LibraryTest, ATrackInThreeListsNamesItsOwnListInSearchAndArtists) {
    library.EditSearch1Change("shared");
    library.PageControl1Change(Page::Artists);
    library.ListBoxArtistClick(library.Artists().indexOf("Shared "));
    for (int row = 0; row < 3; ++row) {
        library.ListBoxListAll1Click(row);
        library.ListBoxArtistTracksClick(row);
        const QString list = QString(QChar(u'a' + row));
        EXPECT_EQ(library.ListThatContains(), list);
        EXPECT_EQ(library.ProgrThatContainsArtist(), list);
        EXPECT_EQ(library.CurrentEntry(Page::Search),
                  station.MusicPath() + "Shared - Song.mp3^" + list);
    }
    EXPECT_EQ(library.TracksInSearch(), 3);
    // A text of three characters keeps the results; Label21 moves with Greeklish runs only.
    library.EditSearch1Change("sha");
    EXPECT_EQ(library.TracksInSearch(), 3);
    EXPECT_EQ(library.Label21(), "");
    library.SetGreeklishSearch(true);
    library.EditSearch1Change("καλη");
    EXPECT_EQ(library.Label21(), "KALH");
}

TEST_F(LibraryTest, ListsAlphabeticShowsTheChosenListByTitleWithPathsAndItsList) {
    EXPECT_EQ(library.AlphabeticListNames(), QStringList({"a", "b", "c", "cd_rock", "pop"}));
    library.CheckBoxIncludeCDsAlphabeticClick(true);
    EXPECT_TRUE(library.AlphabeticListNames().contains("CD_rock"));
    library.ListBoxListsForFileClick(library.AlphabeticListNames().indexOf("pop"));
    const TrackRows& rows = library.Rows(Page::ListsAlphabetic);
    EXPECT_EQ(Shown(rows).mid(0, 4),
              QStringList({"-Song.mp3", "Abc - Song.mp3", "Abc-Song.mp3", "Abcde - Other.mp3"}));
    EXPECT_EQ(Shown(rows).mid(4, 2), QStringList({"Alpha.mp3", "beta.mp3"}));
    EXPECT_EQ(library.TracksInFile(), 9);
    library.Rows(Page::ListsAlphabetic).SetCurrentRow(4);
    EXPECT_EQ(library.CurrentEntry(Page::ListsAlphabetic), station.MusicPath() + "Alpha.mp3^pop");
    library.RefreshListNames();
    EXPECT_EQ(library.Rows(Page::ListsAlphabetic).Count(), 0);
    EXPECT_EQ(library.CurrentEntry(Page::ListsAlphabetic), "");
}

TEST_F(LibraryTest, AListThatCannotBeReadIsReportedAndTheOthersStillShow) {
    WriteBytes(station.ListsPath() + "broken", QByteArray("a\0b", 3));
    library.RefreshListNames();
    library.ListBoxListsForFileClick(library.AlphabeticListNames().indexOf("broken"));
    EXPECT_EQ(library.Problems().size(), 1);
    EXPECT_EQ(library.TracksInFile(), 0);
    library.PageControl1Change(Page::Artists);
    EXPECT_EQ(library.Problems().size(), 1);
    EXPECT_TRUE(library.Artists().contains("Shared "));
    library.EditSearch1Change("song");
    EXPECT_EQ(library.Problems().size(), 1);
    EXPECT_GT(library.TracksInSearch(), 0);
}

TEST_F(LibraryTest, RenamedRowsKeepTheirListAndAddCommandsTakeThePaths) {
    library.EditSearch1Change("shared");
    library.PageControl1Change(Page::Artists);
    library.ListBoxArtistClick(library.Artists().indexOf("Shared "));
    const QString old = station.MusicPath() + "Shared - Song.mp3";
    const QString renamed = station.MusicPath() + "Renamed.mp3";
    EXPECT_EQ(library.TrackRenamed(old, renamed), 6);  // three lists, on both pages
    for (const Page page : {Page::Search, Page::Artists}) {
        EXPECT_EQ(Shown(library.Rows(page)),
                  QStringList({"Renamed.mp3@a", "Renamed.mp3@b", "Renamed.mp3@c"}));
        library.Rows(page).SetSelected(2, true);
        const QList<TrackFile> chosen = library.SelectedTitlesAndPaths(page);
        ASSERT_EQ(chosen.size(), 1);
        EXPECT_EQ(chosen[0].title + chosen[0].path, "Renamed.mp3" + renamed);
    }
    EXPECT_EQ(library.TrackRenamed(old, renamed), 0);
    EXPECT_TRUE(library.TrackRowsKeyDown(Page::Search, 97, true));
    EXPECT_FALSE(library.TrackRowsKeyDown(Page::Artists, 65, false));
    EXPECT_EQ(library.Rows(Page::Search).SelectedRows(), QList<int>({0, 1, 2}));
}

TEST(DirViewTest, ChoosingAFolderSelectsItsFilesAndAnotherMaskDoesNot) {
    QTemporaryDir dir;
    for (const char* name : {"b.mp3", "A.MP3", "c.wav", "d.txt"})
        WriteBytes(dir.filePath(name), "x");
    Library library{dir.path() + "/"};
    const DirView& view = library.Dir();
    library.DirectoryOutline1Change(dir.path() + "/");
    EXPECT_EQ(Shown(view.Rows()), QStringList({"A.MP3", "b.mp3"}));
    EXPECT_EQ(view.Rows().Entry(1), dir.path() + "/b.mp3");
    EXPECT_EQ(view.Rows().SelectedRows(), QList<int>({0, 1}));
    library.FilterComboBox1Change(DirView::MaskNames().indexOf("all"));
    EXPECT_EQ(Shown(view.Rows()), QStringList({"A.MP3", "b.mp3", "c.wav"}));
    EXPECT_TRUE(view.Rows().SelectedRows().isEmpty());
    EXPECT_EQ(view.TracksInDir(), 2);
    library.DirectoryOutline1Change(dir.path());
    EXPECT_EQ(view.Rows().Entry(2), dir.path() + "/c.wav");
    EXPECT_EQ(view.TracksInDir(), 3);
}

// On workers a command returns at once and its read lands later, on the library's thread;
// a newer read of the same view drops the older, whose rows are never shown. A folder's
// files read under a newer mask still come selected and counted.
TEST_F(LibraryTest, ReadsOnWorkersLandLaterAndTheNewestReadWins) {
    Library onWorkers{station.ListsPath(), Library::Reads::OnWorkers};
    QList<QStringList> shown;
    QObject::connect(&onWorkers, &Library::ReadDone,
                     [&] { shown << Shown(onWorkers.Rows(Page::Search)); });
    onWorkers.EditSearch1Change("shared");
    onWorkers.EditSearch1Change("song.mp3");
    QTemporaryDir dir;
    for (const char* file : {"a.mp3", "b.wav"}) WriteBytes(dir.filePath(file), "x");
    onWorkers.DirectoryOutline1Change(dir.path());
    onWorkers.FilterComboBox1Change(DirView::MaskNames().indexOf("all"));
    EXPECT_TRUE(onWorkers.Reading(Page::Search) && onWorkers.Reading(Page::Dir));
    EXPECT_EQ(onWorkers.TracksInSearch(), 0);
    ASSERT_TRUE(RunEventsUntil(
        [&] { return !onWorkers.Reading(Page::Search) && !onWorkers.Reading(Page::Dir); }, 10'000));
    library.EditSearch1Change("song.mp3");
    EXPECT_EQ(Shown(onWorkers.Rows(Page::Search)), Shown(library.Rows(Page::Search)));
    EXPECT_FALSE(shown.contains(
        QStringList({"Shared - Song.mp3@a", "Shared - Song.mp3@b", "Shared - Song.mp3@c"})));
    EXPECT_EQ(onWorkers.Dir().TracksInDir(), 2);
    EXPECT_EQ(onWorkers.Dir().Rows().SelectedRows(), QList<int>({0, 1}));
}

TEST(DirViewTest, SubfolderTracksAreTakenOnceFromTheFirstSubfolder) {
    QTemporaryDir dir;
    const QDir top(dir.path());
    for (const char* path : {"one/inner", "two", ".hidden"}) ASSERT_TRUE(top.mkpath(path));
    for (const char* path : {"top.mp3", "one/a.mp3", "one/.h.mp3", "two/a.mp3", "two/b.mp3",
                             "two/c.mp3", ".hidden/z.mp3"})
        WriteBytes(top.filePath(path), "x");
    QStringList taken;
    for (const TrackFile& track : AddSubfolderTracks(dir.path(), {"b.mp3"}))
        taken << track.title + "=" + track.path.mid(dir.path().size());
    EXPECT_EQ(taken, QStringList({".h.mp3=/one/.h.mp3", "a.mp3=/one/a.mp3", "inner=/one/inner",
                                  "c.mp3=/two/c.mp3"}));
}

TEST(Favourites, SixteenPressesLeaveTheFourteenNewest) {
    QStringList favourites;
    for (int press = 1; press <= 16; ++press) AddFavourite(favourites, QString::number(press));
    EXPECT_EQ(favourites, QStringList({"16", "15", "14", "13", "12", "11", "10", "9", "8", "7", "6",
                                       "5", "4", "3"}));
}

}  // namespace
