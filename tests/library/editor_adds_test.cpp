#include "library/editor_adds.h"

#include <gtest/gtest.h>

#include "schedule/list_editor.h"
#include "schedule/program_lock.h"
#include "spots/spot_editor.h"
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
    ProgramLock lock;
    ListEditor editor{station.ListsPath(), lock};
    SpotEditor spots{station.SpotsPath(), lock};
};

// A page's selection as the library hands it over: titles and paths, top to bottom.
const QList<TrackFile> kSelection{{"C", "/m/C"}, {"A", "/m/A"}, {"B^1", "/m/B"}, {"C", "/n/C"}};
using Tab = CalendarAreaTab;

TEST_F(EditorAddsTest, SelectedRowsWhoseTitleIsNewAreAddedInOrder) {
    // the tab shown, the rows added after the one already there
    const QList<std::tuple<Tab, QStringList>> cases{{Tab::Lists, {"C=/m/C", "B^1=/m/B"}},
                                                    {Tab::Calendar, {}}};
    for (const auto& [tab, added] : cases) {
        editor.SpeedButtonNewProgram1Click();
        editor.AppendRow("A", "/old/A");
        const EditorAdds adds =
            ButtonAddToProgrClick(tab, kSelection, kSelection[0], editor, spots);
        EXPECT_EQ(Editor(), QStringList{"A=/old/A"} + added);
        EXPECT_EQ(adds.added, added.size());
        EXPECT_EQ(adds.totalTracks, 1 + added.size());
        EXPECT_EQ(adds.scrollToLast, tab == Tab::Lists);
    }
}

TEST_F(EditorAddsTest, PlayedTracksAddEvenTwiceAndNothingWhileLocked) {
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(AddToProgram4Click(editor, TrackFile{"A", "/m/A"}).added, 1);
    EXPECT_EQ(Editor(), QStringList({"A=/old/A", "A=/m/A", "A=/m/A"}));
    lock.LockPrograms = true;
    EXPECT_FALSE(AddSelectionToEditor(editor, kSelection).result.ok());
    EXPECT_EQ(editor.TotalTracks(), 3);
}

TEST_F(EditorAddsTest, TheSpotsTabTakesTheCurrentRowOnlyAsASpot) {
    EditorAdds adds = ButtonAddToProgrClick(Tab::Spots, kSelection, kSelection[2], editor, spots);
    EXPECT_EQ(adds.added, 1);
    EXPECT_EQ(spots.EditedSpotPaths(), QStringList({"/m/B"}));
    EXPECT_EQ(spots.EditedSpotTitles(), QStringList({"B^1"}));
    adds = ButtonAddToProgrClick(Tab::Spots, {}, std::nullopt, editor, spots);
    EXPECT_EQ(spots.EditedSpotPaths().size(), 1) << "an empty page adds nothing";
    EXPECT_EQ(editor.TotalTracks(), 1);
}

}  // namespace
