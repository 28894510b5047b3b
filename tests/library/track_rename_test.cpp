#include "library/track_rename.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "playback/play_queue.h"
#include "schedule/list_file.h"
#include "spots/spot_file.h"
#include "support/fake_track_lengths.h"
#include "support/file_failure.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

class TrackRenameTest : public ::testing::Test {
protected:
    TrackRenameTest() {
        WriteBytes(song, "song");
        WriteBytes(other, "other");
        station.WriteList("a", {song, other, m + "song.mp3", song});
        station.WriteList("b", {other});
        station.WriteList("CD_x", {song});  // not shown: keeps the old path
        station.WriteSpots(1, 2, 10, {other, song});
        queue.SetProgram({"a"}, {{song}});
        for (const QString& entry : {song + "^a", song, other + "^a"}) queue.Append(entry);
    }
    RenameOutcome Rename(const QString& typed, const QString& from = {}) {
        const RenamePlaces places{station.ListsPath(), {"a", "b", "gone"}, station.SpotsPath()};
        return RenameTrackEverywhere(from.isEmpty() ? song : from, typed, places, queue);
    }
    QStringList List(const QString& n) { return list_file::Read(station.ListsPath(), n).value; }

    StationFolder station;
    const QString m = station.MusicPath();
    const QString song = m + "Song.mp3";
    const QString other = m + "Other.mp3";
    FakeTrackLengths lengths;
    PlayQueue queue{&lengths};
};

TEST_F(TrackRenameTest, RenameCarriesTheNewPathIntoExactLinesOfShownListsQueueAndSpots) {
    const QString renamed = m + "Song2.mp3";
    const RenameOutcome outcome = Rename("Song2.mp3");
    ASSERT_EQ(outcome.result, Result::Ok());
    EXPECT_FALSE(QFile::exists(song));
    EXPECT_EQ(ReadBytes(renamed), "song");
    EXPECT_EQ(List("a"), QStringList({renamed, other, m + "song.mp3", renamed}));
    EXPECT_EQ(List("CD_x"), QStringList({song}));
    EXPECT_FALSE(QFile::exists(station.ListsPath() + "gone"));
    EXPECT_EQ(queue.Entries(), QStringList({renamed + "^a", renamed, other + "^a"}));
    EXPECT_EQ(queue.ProgramList(0), QStringList({renamed}));
    EXPECT_EQ(spot_file::Read(station.SpotsPath(), 1, 2).value.mid(100, 3),
              QStringList({other, renamed, spot_file::kNullSpot}));
    EXPECT_FALSE(QFile::exists(spot_file::Path(station.SpotsPath(), 0, 0)));
}

TEST_F(TrackRenameTest, RefusedRenamesLeaveEveryFileAsItWas) {
    const QList<std::pair<QString, QStringList>> cases{{"empty", {"", "  "}},
                                                       {"not a file name", {".", ".."}},
                                                       {"separator", {"x/S.mp3", "x\\S.mp3"}},
                                                       {"control", {"S\n.mp3", "S\t.mp3"}},
                                                       {"already named", {"Other.mp3"}}};
    const QStringList before = FileTree(station.StartFolder());
    for (const auto& [reason, names] : cases) {
        for (const QString& typed : names) {
            const Result refusal = Rename(typed).result;
            EXPECT_TRUE(!refusal.ok() && refusal.message().contains(reason)) << typed.toStdString();
        }
    }
    EXPECT_FALSE(Rename("New.mp3", m + "Gone.mp3").result.ok());
    EXPECT_EQ(Rename("Song.mp3").result, Result::Ok()) << "the same name: nothing to do";
    EXPECT_EQ(FileTree(station.StartFolder()), before);
    EXPECT_EQ(ReadBytes(song), "song");
    EXPECT_EQ(ReadBytes(other), "other");
}

TEST_F(TrackRenameTest, AListThatCannotBeWrittenIsNamedAndKeepsTheOldPath) {
    station.WriteList("b", QStringList(20, song));  // larger than the writes allowed
    const RenameOutcome outcome = [&] {
        file_failure::FileSizeLimit limit(400);
        return Rename("Song2.mp3");
    }();
    EXPECT_EQ(outcome.result.kind(), Result::Kind::Warning);
    EXPECT_EQ(outcome.lists.left, QStringList({"b"}));
    EXPECT_TRUE(outcome.result.message().contains("\"b\""));
    EXPECT_EQ(List("b"), QStringList(20, song));
    EXPECT_EQ(List("a").first(), m + "Song2.mp3");
}

}  // namespace

#ifndef Q_OS_WIN
// On Linux a "\" belongs to the file's name: the renamed file stays in its folder.
TEST(TrackRenameName, ABackslashInALinuxNameIsNoFolder) {
    QTemporaryDir dir;
    const QString old = dir.filePath("AC\\DC.mp3");
    WriteBytes(old, "song");
    const TrackRename renamed = RenameTrack(old, "ACDC.mp3");
    ASSERT_TRUE(renamed.result.ok()) << renamed.result.message().toStdString();
    EXPECT_EQ(renamed.newPath, dir.filePath("ACDC.mp3"));
    EXPECT_EQ(ReadBytes(dir.filePath("ACDC.mp3")), "song");
}
#endif
