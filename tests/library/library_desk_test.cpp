#include "library/library_desk.h"

#include <gtest/gtest.h>

#include <QFile>

#include "playback/program_loader.h"
#include "schedule/calendar.h"
#include "schedule/list_editor.h"
#include "schedule/program_lock.h"
#include "spots/spot_editor.h"
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
    SpotEditor spots{folder.SpotsPath(), lock};
    SpotSchedule nextSpots{folder.SpotsPath(), rig.host, spots};
    Library library{folder.ListsPath()};
    LibraryDesk desk{
        {folder.ListsPath(), folder.SpotsPath()}, library, rig.engine, lists, spots, nextSpots};
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
    d.folder.WriteSpots(1, 1, 10, {song});  // the quarter "Next Spots" holds
    d.nextSpots.PrepareNextSpots(10, 5);
    d.folder.WriteSpots(1, 0, 0, {song});  // the slot the Spots tab shows
    d.spots.ComboBoxHourSpots1Change(0);
    d.spots.LoadSpotSlot(0);
    d.lists.RefreshListNames();
    d.library.RefreshListNames();
    d.rig.engine.QueueForLoader().Append(song + "^pop");
    d.library.PageControl1Change(Page::Artists);
    d.library.ListBoxArtistClick(0);
    TrackRows& rows = d.library.Rows(Page::Artists);
    rows.SetCurrentRow(0);
    ASSERT_EQ(rows.Entry(0), song + "^pop");

    ASSERT_TRUE(d.lists.ListBoxFileListBoxClick(0).ok());  // "pop" open on the Lists tab
    EXPECT_TRUE(d.desk.Rename(Page::Artists, "Band - Song2.mp3").ok());
    const QString renamed = d.folder.MusicPath() + "Band - Song2.mp3";
    EXPECT_TRUE(QFile::exists(renamed));
    EXPECT_EQ(d.Lines("pop"), QStringList({renamed, "/m/x.mp3"}));
    EXPECT_EQ(d.Lines("rock"), QStringList({song.toUpper(), other})) << "only the exact case";
    EXPECT_EQ(rows.Title(0), "Band - Song2.mp3");
    EXPECT_EQ(rows.Entry(0), renamed + "^pop") << "the row keeps its list";
    EXPECT_EQ(d.rig.engine.Queue().At(0), renamed + "^pop");
    EXPECT_EQ(d.lists.Rows()[0].path, renamed) << "a Save of the open list keeps the new path";
    EXPECT_EQ(spot_file::SlotSpots(spot_file::Read(d.folder.SpotsPath(), 1, 0).value, 0),
              QStringList({renamed}));
    EXPECT_EQ(d.spots.EditedSpotPaths(), QStringList({renamed})) << "the tab shows the new path";
    EXPECT_EQ(d.nextSpots.NextSpotPaths(), QStringList({renamed})) << "and so does the run";

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
    // Locked programs: the adds refuse with the lock's reason and the editor stays.
    d.lists.SpeedButtonNewProgram1Click();
    d.lock.LockPrograms = true;
    const Result refused = d.desk.AddToProgram(Page::ListsAlphabetic);
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.message().isEmpty());
    EXPECT_EQ(d.lists.TotalTracks(), 0);
}

}  // namespace

namespace {

TEST(LibraryDesk, PlayStartsTheChosenRowAtOnceAndTheSelectionListCollectsWithoutTouchingTheQueue) {
    DeskRig d;
    const QStringList tracks = d.rig.Tracks({30, 30, 30});
    d.folder.WriteList("pop", tracks);
    d.library.RefreshListNames();
    d.rig.LoadProgram("pop", tracks);
    d.rig.StartLoop();
    d.rig.Advance(500);
    d.library.EditSearch1Change("title");
    TrackRows& results = d.library.Rows(Page::Search);
    ASSERT_EQ(results.Count(), 3);
    results.SetCurrentRow(2);
    d.desk.PlayAtOnce(Page::Search);
    d.rig.Advance(500);
    EXPECT_EQ(d.rig.link.File(d.rig.Current()), tracks[2]);

    // "AddToPlayList": the hidden list grows, the queue stays, the label shows its size.
    Calendar calendar(d.folder.DaysPath(), d.lock);
    const ProgramLoader loader(d.folder.ListsPath(), calendar, d.rig.host, d.rig.engine);
    const QStringList queue = d.rig.engine.Queue().Entries();
    d.desk.AddToPlayList(Page::Search);
    d.library.ListBoxListsForFileClick(0);
    d.library.Rows(Page::ListsAlphabetic).SelectAll();
    d.desk.AddToPlayList(Page::ListsAlphabetic);
    d.desk.AddToPlayList(Page::Artists);  // the Artists page has no such command
    EXPECT_EQ(d.desk.PlayListSelection().Count(), 4);
    EXPECT_EQ(loader.LabeltracksToPlay1(), "4");
    d.lists.RefreshListNames();
    ASSERT_TRUE(d.lists.ListBoxFileListBoxClick(0).ok());
    d.lists.SetSelected(1, true);
    d.desk.AddEditorRowsToPlayList();
    EXPECT_EQ(loader.LabeltracksToPlay1(), "5");
    EXPECT_EQ(d.rig.engine.Queue().Entries(), queue);
    d.rig.Advance(30'000);  // until a track starts
    EXPECT_EQ(loader.LabeltracksToPlay1(), QString::number(d.rig.engine.Queue().TracksToPlay()));
}

// A rename on the Lists tab reads the chosen list again: its unsaved edits are gone.
TEST(LibraryDesk, RenameOnTheListsTabReloadsTheChosenList) {
    DeskRig d;
    const QString song = d.folder.MusicPath() + "Song.mp3";
    WriteBytes(song, "song");
    d.folder.WriteList("pop", {song});
    d.lists.RefreshListNames();
    ASSERT_TRUE(d.lists.ListBoxFileListBoxClick(0).ok());
    d.lists.AppendRow("unsaved.mp3", "/m/unsaved.mp3");
    d.lists.SetCurrentRow(0);
    EXPECT_TRUE(d.desk.RenameEditorRow("Song2.mp3").ok());
    ASSERT_EQ(d.lists.TotalTracks(), 1);
    EXPECT_EQ(d.lists.Rows()[0].path, d.folder.MusicPath() + "Song2.mp3");
    EXPECT_EQ(d.Lines("pop"), QStringList({d.folder.MusicPath() + "Song2.mp3"}));
    // With no list chosen (after NEW), the entry itself shows the new name.
    d.lists.SpeedButtonNewProgram1Click();
    d.lists.AppendRow("Song2.mp3", d.folder.MusicPath() + "Song2.mp3");
    d.lists.SetCurrentRow(0);
    EXPECT_TRUE(d.desk.RenameEditorRow("Song4.mp3").ok());
    EXPECT_EQ(d.lists.Rows()[0].title, "Song4.mp3");
    EXPECT_EQ(d.Lines("pop"), QStringList({d.folder.MusicPath() + "Song4.mp3"}));
    ASSERT_TRUE(d.lists.ListBoxFileListBoxClick(0).ok());
    // A refused name leaves the editor and the file as they are, and says why.
    d.lists.SetCurrentRow(0);
    const Result refused = d.desk.RenameEditorRow("../Song3.mp3");
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.message().isEmpty());
    EXPECT_TRUE(QFile::exists(d.folder.MusicPath() + "Song4.mp3"));
}

}  // namespace
