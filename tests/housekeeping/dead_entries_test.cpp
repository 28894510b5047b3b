#include "housekeeping/dead_entries.h"

#include <gtest/gtest.h>

#include "base/text_file.h"
#include "schedule/list_file.h"
#include "spots/spot_file.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

// The files A, C, E are there; B and D are gone; U lies in a folder that is gone too (a
// share that is down).
class DeadEntriesTest : public ::testing::Test {
protected:
    DeadEntriesTest() {
        for (const QString& path : Tracks("ACE")) WriteBytes(path, "");
    }
    // One path per letter; "0" is "###NULL###".
    QStringList Tracks(const QString& letters) {
        QStringList paths;
        for (const QChar letter : letters) {
            paths << (letter == u'0'   ? spot_file::kNullSpot
                      : letter == u'U' ? folder.StartFolder() + "/share/U"
                                       : folder.MusicPath() + letter);
        }
        return paths;
    }
    QStringList SpotFile(const QList<std::pair<int, QString>>& hours) {
        QStringList lines(spot_file::kLines, spot_file::kNullSpot);
        for (const auto& [hour, letters] : hours) {
            const QStringList spots = Tracks(letters);
            for (int i = 0; i < spots.size(); ++i) lines[hour * 10 + i] = spots[i];
        }
        return lines;
    }
    static QStringList Found(const DeadEntryReport& report) {
        QStringList found;
        for (const DeadEntry& e : report.entries)
            found << e.fileName + ":" + TrackTitle(e.path) + (e.unreachable ? "!" : "");
        return found;
    }
    StationFolder folder;
};

TEST_F(DeadEntriesTest, ListsLoseTheirDeadLinesButCdListsAndUnreachableEntriesStay) {
    const struct {
        const char* name;
        const char* lines;
        const char* afterDelete;
    } lists[] = {
        {"CD_live", "ABD", "ABD"}, {"mixCD_x", "DCB", "C"}, {"pop", "ABC", "AC"},
        {"rock", "BDUE", "UE"},    {"zen", "ACE", "ACE"},
    };
    for (const auto& l : lists) folder.WriteList(l.name, Tracks(l.lines));
    const QStringList found{"mixCD_x:D", "mixCD_x:B", "pop:B", "rock:B", "rock:D", "rock:U!"};
    const DeadEntryReport report =
        ScanListsForDeadEntries(folder.ListsPath(), DeadEntryMode::Report);
    EXPECT_EQ(Found(report), found);
    // Each line of the dialog names the list that holds the path.
    const QString b = Tracks("B")[0];
    EXPECT_EQ(DeadEntryLines(report).filter(b),
              QStringList({"mixCD_x\t" + b, "pop\t" + b, "rock\t" + b}));
    EXPECT_EQ(Found(ScanListsForDeadEntries(folder.ListsPath(), DeadEntryMode::Delete)), found);
    for (const auto& l : lists)
        EXPECT_EQ(list_file::Read(folder.ListsPath(), l.name).value, Tracks(l.afterDelete))
            << l.name;
    // What is left cannot be removed: "Delete" is not offered.
    EXPECT_FALSE(ScanListsForDeadEntries(folder.ListsPath(), DeadEntryMode::Report).HasRemovable());
}

TEST_F(DeadEntriesTest, ADeadSpotMovesTheLaterSpotsOfItsHourUpAndTheFileKeeps240Lines) {
    ASSERT_TRUE(
        spot_file::Write(
            folder.SpotsPath(), 2, 1,
            SpotFile({{0, "ABC"}, {7, "BDC"}, {9, "A0DC"}, {12, "UBE"}, {23, "ACEACEACEB"}}))
            .ok());
    const DeadEntryReport report =
        ScanSpotFilesForDeadEntries(folder.SpotsPath(), DeadEntryMode::Delete);
    EXPECT_EQ(Found(report),
              QStringList({"2-1:B", "2-1:B", "2-1:D", "2-1:D", "2-1:U!", "2-1:B", "2-1:B"}));
    const ReadResult<QStringList> after = text_file::ReadLines(folder.SpotsPath() + "2-1");
    EXPECT_EQ(after.value,
              SpotFile({{0, "AC"}, {7, "C"}, {9, "A0C"}, {12, "UE"}, {23, "ACEACEACE"}}));
}

TEST_F(DeadEntriesTest, AFileThatCannotBeReadIsToldAndNeverRewritten) {
    const QByteArray junk = QByteArray("junk\0", 5) + Tracks("B")[0].toUtf8();
    folder.WriteList("a", Tracks("AB"));
    WriteBytes(folder.ListsPath() + "b", junk);
    folder.WriteList("c", Tracks("DC"));
    WriteBytes(folder.SpotsPath() + "0-0", QByteArray("\0\0\0", 3));
    folder.WriteSpots(4, 3, 10, Tracks("B"));
    for (const DeadEntryKind kind : {DeadEntryKind::Songs, DeadEntryKind::Spots}) {
        const DeadEntryReport report =
            ScanForDeadEntries(kind, folder.ListsPath(), folder.SpotsPath(), DeadEntryMode::Delete);
        ASSERT_EQ(report.problems.size(), 1);
        EXPECT_TRUE(report.problems[0].contains(kind == DeadEntryKind::Songs ? "pro1/b" : "0-0"))
            << report.problems[0].toStdString();
        EXPECT_EQ(Found(report), kind == DeadEntryKind::Songs ? QStringList({"a:B", "c:D"})
                                                              : QStringList({"4-3:B"}));
    }
    EXPECT_EQ(ReadBytes(folder.ListsPath() + "b"), junk);
    EXPECT_EQ(ReadBytes(folder.SpotsPath() + "0-0"), QByteArray("\0\0\0", 3));
    EXPECT_EQ(list_file::Read(folder.ListsPath(), "c").value, Tracks("C"));
}

}  // namespace
