#include "schedule/list_editor.h"

#include <gtest/gtest.h>

#include <QFile>

#include "schedule/list_file.h"
#include "schedule/program_lock.h"
#include "support/station_folder.h"

namespace {

QStringList Titles(const ListEditor& editor) {
    QStringList titles;
    for (const auto& row : editor.Rows()) titles.append(row.title);
    return titles;
}

class ListEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        station.WriteList("rock",
                          {"/m/r1.mp3", "/m/r2.mp3", "/m/r3.mp3", "/m/r4.mp3", "/m/r5.mp3"});
        station.WriteList("CD_Best", {"/m/cd.mp3"});
        station.WriteList("ambient", {});
        station.WriteList(".hidden", {"/m/h.mp3"});
        station.WriteList("Rock|Pop", {"/m/rp.mp3"});  // cannot stand in a program value
        editor.RefreshListNames();
    }
    void Choose(const QString& name) {
        ASSERT_EQ(editor.ListBoxFileListBoxClick(editor.ListNames().indexOf(name)), Result::Ok());
    }
    QStringList ListFile(const QString& name) const {
        return list_file::Read(station.ListsPath(), name).value;
    }
    StationFolder station;
    ProgramLock lock;
    ListEditor editor{station.ListsPath(), lock};
};

TEST_F(ListEditorTest, NamesNoProgramCanHoldAreNotOfferedAndWriteNothing) {
    // Nor is a CD list offered without its box.
    EXPECT_EQ(editor.ListNames(), QStringList({"ambient", "rock"}));
    EXPECT_EQ(editor.BitBtnSaveProgram1Click(false), Result::Ok());  // at start: no name yet
    EXPECT_EQ(editor.FolderNames().size(), 4);
    Choose("rock");
    const QStringList refused = {"../escape", "a/b",   "a\\b",  "..",    ".",   "a|b",
                                 "a\nb",      ".Rock", "Rock ", " Rock", "a\tb"};
    for (const QString& name : refused) {
        editor.EditNewProgramName1Change(name);
        EXPECT_FALSE(editor.BitBtnSaveProgram1Click(false).ok()) << name.toStdString();
        EXPECT_EQ(editor.TotalTracks(), 5) << "the editor keeps its entries";
    }
    EXPECT_FALSE(QFile::exists(station.StartFolder() + "/escape"));
    editor.EditNewProgramName1Change("");
    EXPECT_EQ(editor.BitBtnSaveProgram1Click(false), Result::Ok());
    EXPECT_TRUE(editor.Rows().empty());
    EXPECT_EQ(editor.FolderNames().size(), 4) << "an empty name writes nothing";
}

TEST_F(ListEditorTest, EntriesMoveInOrderDeletingHonoursTheLockAndAListGoesOnlyWhenConfirmed) {
    Choose("rock");
    for (int row : {0, 2, 4}) editor.SetSelected(row, true);
    editor.ButtonDelTrackFromProgClick();
    EXPECT_EQ(Titles(editor), QStringList({"r2.mp3", "r4.mp3"}));
    editor.SetCurrentRow(0);
    editor.ButtonUpProgr2Click();
    editor.SetCurrentRow(1);
    editor.ButtonDnProgr2Click();
    EXPECT_EQ(Titles(editor), QStringList({"r2.mp3", "r4.mp3"})) << "ends do not move";
    editor.ButtonUpProgr2Click();
    EXPECT_EQ(editor.Paths(), QStringList({"/m/r4.mp3", "/m/r2.mp3"}));
    EXPECT_EQ(editor.CurrentRow(), 0);
    EXPECT_EQ(ListFile("rock").size(), 5) << "edits wait for Save";
    Choose("rock");  // the unsaved edits are dropped
    EXPECT_EQ(editor.DeleteListQuestion(), "Delete rock ?");
    editor.ButtonDelProgram1Click(false);
    EXPECT_EQ(editor.TotalTracks(), 5);
    editor.ListBoxTitles1KeyDown(Qt::Key_A, Qt::ControlModifier);
    for (const bool locked : {true, false}) {
        lock.LockPrograms = locked;
        EXPECT_EQ(editor.ListBoxFileListBoxKeyDown(Qt::Key_Delete), !locked);
        editor.ListBoxTitles1KeyDown(Qt::Key_Delete, Qt::NoModifier);
        EXPECT_EQ(editor.TotalTracks(), locked ? 5 : 0);
    }
    EXPECT_EQ(editor.ButtonDelProgram1Click(true), Result::Ok());
    EXPECT_EQ(editor.FolderNames(), QStringList({"ambient", "CD_Best", "Rock|Pop"}));
}

}  // namespace

namespace {

// A list read off the station's thread comes late: a click after it, or a new reading of
// the names, wins over it.
TEST_F(ListEditorTest, AnOpeningOvertakenByALaterClickOrANewReadingChangesNothing) {
    const auto read = [this](const ListEditor::Opening& opening) {
        return list_file::Read(opening.listsPath, opening.name);
    };
    const std::optional<ListEditor::Opening> ambient = editor.StartOpening(0);
    const std::optional<ListEditor::Opening> rock = editor.StartOpening(1);
    ASSERT_TRUE(ambient && rock);
    EXPECT_EQ(editor.FinishOpening(*rock, read(*rock)), Result::Ok());
    EXPECT_EQ(editor.FinishOpening(*ambient, read(*ambient)), Result::Ok());
    EXPECT_EQ(editor.ChosenListName(), "rock");
    EXPECT_EQ(editor.TotalTracks(), 5);
    const std::optional<ListEditor::Opening> again = editor.StartOpening(0);
    editor.RefreshListNames();
    EXPECT_EQ(editor.FinishOpening(*again, read(*again)), Result::Ok());
    EXPECT_EQ(editor.ChosenListIndex(), -1);
    EXPECT_EQ(editor.TotalTracks(), 0);
    EXPECT_FALSE(editor.StartOpening(2)) << "there are two names";
}

}  // namespace
