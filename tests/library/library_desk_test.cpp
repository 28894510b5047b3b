#include "library/library_desk.h"

#include <gtest/gtest.h>

#include <QFile>

#include "schedule/list_editor.h"
#include "schedule/program_lock.h"
#include "spots/spot_file.h"
#include "spots/spot_schedule.h"
#include "support/engine_rig.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

using Page = Library::Page;

// A station's library with an engine, the Lists tab's editor and the Spots tab around it.
struct DeskRig {
    DeskRig() {
        spots.StartUp(1);
        lists.RefreshListNames();
        library.RefreshListNames();
    }
    QStringList Lines(const QString& list) const {
        return list_file::Read(folder.ListsPath(), list).value;
    }
    StationFolder folder;
    EngineRig rig;
    ProgramLock lock;
    ListEditor lists{folder.ListsPath(), lock};
    SpotSchedule spots{folder.SpotsPath(), rig.host, lock};
    Library library{folder.ListsPath()};
    LibraryDesk desk{{folder.ListsPath(), folder.SpotsPath()}, library, rig.engine, lists, spots};
};

TEST(LibraryDesk, InsertsAtTheMarkedSlotNewestFirstAndTheListsPageNeverBuildsABadEntry) {
    DeskRig d;
    d.folder.WriteList("pop", {"/m/A.mp3", "/m/B.mp3"});
    d.library.RefreshListNames();
    PlayQueue& queue = d.rig.engine.QueueForLoader();
    for (const char* e : {"1", "2", "3", "4", "5"}) queue.Append(e);
    queue.MarkSlot(3);
    d.library.ListBoxListsForFileClick(0);
    TrackRows& rows = d.library.Rows(Page::ListsAlphabetic);
    for (const int row : {0, 1}) {
        rows.SetCurrentRow(row);
        d.desk.InsertIntoQueue(Page::ListsAlphabetic);
    }
    EXPECT_EQ(queue.Entries().mid(2, 3), QStringList({"/m/B.mp3^pop", "/m/A.mp3^pop", "3"}));
    // The Lists tab after "NEW": no list is chosen, so the entry is the path alone.
    d.lists.SpeedButtonNewProgram1Click();
    d.lists.AppendRow("C.mp3", "/m/C.mp3");
    d.lists.SetCurrentRow(0);
    d.desk.InsertEditorRow();
    EXPECT_EQ(queue.At(2), "/m/C.mp3");
}

TEST(LibraryDesk, RenameInTheArtistsViewCarriesTheNewPathEverywhereThatNamesItExactly) {
    DeskRig d;
    const QString song = d.folder.MusicPath() + "Band - Song.mp3";
    WriteBytes(song, "song");
    const QString other = d.folder.MusicPath() + "band - song.mp3";  // another file
    d.folder.WriteList("pop", {song, "/m/x.mp3"});
    d.folder.WriteList("rock", {song.toUpper(), other});
    d.folder.WriteSpots(1, 0, 10, {song});
    d.lists.RefreshListNames();
    d.library.RefreshListNames();
    d.rig.engine.QueueForLoader().Append(song + "^pop");
    d.library.PageControl1Change(Page::Artists);
    d.library.ListBoxArtistClick(0);
    TrackRows& rows = d.library.Rows(Page::Artists);
    rows.SetCurrentRow(0);
    ASSERT_EQ(rows.Entry(0), song + "^pop");

    EXPECT_TRUE(d.desk.Rename(Page::Artists, "Band - Song2.mp3").ok());
    const QString renamed = d.folder.MusicPath() + "Band - Song2.mp3";
    EXPECT_TRUE(QFile::exists(renamed));
    EXPECT_EQ(d.Lines("pop"), QStringList({renamed, "/m/x.mp3"}));
    EXPECT_EQ(d.Lines("rock"), QStringList({song.toUpper(), other})) << "only the exact case";
    EXPECT_EQ(rows.Title(0), "Band - Song2.mp3");
    EXPECT_EQ(rows.Entry(0), renamed + "^pop") << "the row keeps its list";
    EXPECT_EQ(d.rig.engine.Queue().At(0), renamed + "^pop");
    EXPECT_EQ(spot_file::SlotSpots(spot_file::Read(d.folder.SpotsPath(), 1, 0).value, 10),
              QStringList({renamed}));

    // Onto a name another file has: refused, and neither file nor any list changes.
    WriteBytes(d.folder.MusicPath() + "Taken.mp3", "taken");
    EXPECT_FALSE(d.desk.Rename(Page::Artists, "Taken.mp3").ok());
    EXPECT_EQ(ReadBytes(d.folder.MusicPath() + "Taken.mp3"), "taken");
    EXPECT_EQ(ReadBytes(renamed), "song");
    EXPECT_EQ(d.Lines("pop"), QStringList({renamed, "/m/x.mp3"}));
    EXPECT_EQ(rows.Entry(0), renamed + "^pop");
}

TEST(LibraryDesk, TheAddButtonFollowsTheTabAndCommandsWithoutARowDoNothing) {
    DeskRig d;
    d.folder.WriteList("pop", {"/m/A.mp3", "/m/B.mp3"});
    d.library.RefreshListNames();
    d.library.ListBoxListsForFileClick(0);
    d.library.PageControl1Change(Page::ListsAlphabetic);
    const int queued = d.rig.engine.Queue().Count();
    for (const Page page : {Page::Dir, Page::ListsAlphabetic, Page::Search, Page::Artists}) {
        d.desk.InsertIntoQueue(page);
        EXPECT_TRUE(d.desk.Rename(page, "x.mp3").ok());
    }
    EXPECT_EQ(d.rig.engine.Queue().Count(), queued);
    d.library.Rows(Page::ListsAlphabetic).SelectAll();
    d.library.Rows(Page::ListsAlphabetic).SetCurrentRow(1);
    EXPECT_EQ(d.desk.ButtonAddToProgrClick(CalendarAreaTab::Spots).added, 1);
    EXPECT_EQ(d.spots.EditedSpotPaths(), QStringList({"/m/B.mp3"}));
    EXPECT_EQ(d.desk.ButtonAddToProgrClick(CalendarAreaTab::Lists).added, 2);
    EXPECT_EQ(d.lists.TotalTracks(), 2);
}

}  // namespace
