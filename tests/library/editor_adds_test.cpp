#include "library/editor_adds.h"

#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"
#include "schedule/list_editor.h"
#include "schedule/program_lock.h"
#include "spots/spot_schedule.h"
#include "support/station_folder.h"

namespace {

class EditorAddsTest : public ::testing::Test {
protected:
    EditorAddsTest() {
        spots.StartUp(1);
        editor.AppendRow("A", "/old/A");
    }
    QStringList Editor() const {
        QStringList rows;
        for (const auto& row : editor.Rows()) rows << row.title + "=" + row.path;
        return rows;
    }
    StationFolder station;
    VirtualTimerHost clock{QDateTime(QDate(2026, 12, 7), QTime(10, 0))};
    ProgramLock lock;
    ListEditor editor{station.ListsPath(), lock};
    SpotSchedule spots{station.SpotsPath(), clock, lock};
};

const QList<PageRow> kRows{
    {"C", "/m/C^pop", true},      {"A", "/m/A^pop", true},  {"X", "/m/X^pop", false},
    {"B^1", "/m/B^1^rock", true}, {"C", "/n/C^rock", true},
};
using Tab = CalendarAreaTab;

TEST_F(EditorAddsTest, SelectedRowsWhoseTitleIsNewAreAddedInOrder) {
    // the tab shown, the library page, the rows added after the one already there
    const QList<std::tuple<Tab, LibraryPage, QStringList>> cases{
        {Tab::Lists, LibraryPage::Search, {"C=/m/C", "B^1=/m/B"}},
        {Tab::Lists, LibraryPage::Dir, {"C=/m/C^pop", "B^1=/m/B^1^rock"}},
        {Tab::Calendar, LibraryPage::Dir, {}}};
    for (const auto& [tab, page, added] : cases) {
        editor.SpeedButtonNewProgram1Click();
        editor.AppendRow("A", "/old/A");
        const EditorAdds adds = ButtonAddToProgrClick(tab, {page, kRows, 0}, editor, spots);
        EXPECT_EQ(Editor(), QStringList{"A=/old/A"} + added);
        EXPECT_EQ(adds.added, added.size());
        EXPECT_EQ(adds.totalTracks, 1 + added.size());
        EXPECT_EQ(adds.scrollToLast, tab == Tab::Lists);
    }
}

TEST_F(EditorAddsTest, PlayedTracksAddEvenTwiceAndNothingWhileLocked) {
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(AddToProgram4Click(editor, TrackPick{"A", "/m/A"}).added, 1);
    EXPECT_EQ(Editor(), QStringList({"A=/old/A", "A=/m/A", "A=/m/A"}));
    lock.LockPrograms = true;
    EXPECT_FALSE(AddSelectionToEditor(editor, {LibraryPage::Dir, kRows, 0}).result.ok());
    EXPECT_EQ(editor.TotalTracks(), 3);
}

TEST_F(EditorAddsTest, TheSpotsTabTakesTheCurrentRowOnlyAsASpot) {
    EditorAdds adds =
        ButtonAddToProgrClick(Tab::Spots, {LibraryPage::Search, kRows, 3}, editor, spots);
    EXPECT_EQ(adds.added, 1);
    EXPECT_EQ(spots.EditedSpotPaths(), QStringList({"/m/B"}));
    EXPECT_EQ(spots.EditedSpotTitles(), QStringList({"B^1"}));
    adds = ButtonAddToProgrClick(Tab::Spots, {LibraryPage::Dir, {}, -1}, editor, spots);
    EXPECT_EQ(spots.EditedSpotPaths().size(), 1) << "an empty page adds nothing";
    EXPECT_EQ(editor.TotalTracks(), 1);
}

}  // namespace
