#include "library/queue_editing.h"

#include <gtest/gtest.h>

#include "playback/play_queue.h"
#include "support/fake_track_lengths.h"

namespace {

struct QueueRig {
    QueueRig(const QStringList& entries, int slot) {
        queue.SetProgram({"pop", "rock"}, {{"/m/p9.mp3"}, {"/m/r9.mp3"}});
        for (const QString& entry : entries) queue.Append(entry);
        queue.MarkSlot(slot);
    }
    FakeTrackLengths lengths;
    PlayQueue queue{&lengths};
    QueueEditor editor{queue};
};

const QStringList kFive = {"a", "b", "c", "d", "e"};

TEST(QueueEditor, UpAndDownMoveTheMarkedEntryAndNothingMovesPastTheEnd) {
    const auto up = &QueueEditor::ButtonUpPlay1Click, down = &QueueEditor::ButtonDownPlay1Click,
               del = &QueueEditor::ButtonPlayDel1Click;
    // command, queue, marked slot, queue after (empty: unchanged), marked slot after
    const QList<std::tuple<bool (QueueEditor::*)(), QStringList, int, QStringList, int>> cases{
        {up, kFive, 2, {"b", "a", "c", "d", "e"}, 1},
        {down, kFive, 4, {"a", "b", "c", "e", "d"}, 5},
        {up, kFive, 1, {}, 1},
        {down, kFive + QStringList{"f"}, 5, {}, 5},
        {up, {"a", "b"}, 3, {}, 3},
        {down, {"a", "b"}, 2, {}, 2},
        {del, {"a", "b", "c"}, 4, {}, 4},
        {del, kFive, 0, {}, 0},
    };
    for (const auto& [command, entries, slot, after, slotAfter] : cases) {
        QueueRig rig(entries, slot);
        EXPECT_EQ((rig.editor.*command)(), !after.isEmpty());
        EXPECT_EQ(rig.queue.Entries(), after.isEmpty() ? entries : after);
        EXPECT_EQ(rig.queue.MarkedSlot(), slotAfter);
    }
}

TEST(QueueEditor, DeleteGivesAProgramTrackBackAndCountsAnyOtherAsGone) {
    // the entry deleted, the pool of "pop" after, how much TracksToPlay falls
    const QList<std::tuple<QString, QStringList, int>> cases{
        {"/m/p1.mp3^pop", {"/m/p9.mp3", "/m/p1.mp3"}, 0},
        {"/m/p1.mp3^Pop", {"/m/p9.mp3"}, 1},  // another list, by case
        {"/m/j1.mp3^jazz", {"/m/p9.mp3"}, 1},
        {"/music/dir.mp3", {"/m/p9.mp3"}, 1},
        {"", {"/m/p9.mp3"}, 0},  // a filler was never counted
    };
    for (const auto& [entry, popPool, tracksLost] : cases) {
        QueueRig rig({"a", entry, "c", "d", "e", "f"}, 2);
        const int before = rig.queue.TracksToPlay();
        EXPECT_TRUE(rig.editor.ButtonPlayDel1Click());
        EXPECT_EQ(rig.queue.Entries(), QStringList({"a", "c", "d", "e", "f"}));
        EXPECT_EQ(rig.queue.MarkedSlot(), 2);
        EXPECT_EQ(rig.queue.ProgramList(0), popPool) << entry.toStdString();
        EXPECT_EQ(before - rig.queue.TracksToPlay(), tracksLost) << entry.toStdString();
    }
}

TEST(SelectionList, EachAddCommandPlacesItsRowsByItsOwnRule) {
    SelectionList list;
    EXPECT_EQ(list.AddToPlaylist3Click(TrackFile{"a", "/a^x"}), 1);
    EXPECT_EQ(list.AddToPlaylist3Click(std::nullopt), 1);
    EXPECT_EQ(list.AddToPlayList1Click({{"b", "/b"}, {"c", "/c"}}), 3);
    EXPECT_EQ(list.ButtonAddFromFileToPlayListClick({{"d", "/d"}, {"e", "/e"}}), 5);
    QStringList rows;
    for (const auto& row : list.Rows()) rows << row.title + (row.selected ? "*" : "") + row.path;
    EXPECT_EQ(rows, QStringList({"a/a^x", "d/d", "e*/e", "c/c", "b/b"}));
}

}  // namespace
