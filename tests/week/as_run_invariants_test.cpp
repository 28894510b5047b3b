// The invariants of a week preview's as-run log, each shown firing on a small log that
// breaks it, and the folder comparison.
#include "as_run_invariants.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/station_folder.h"

namespace {

// Monday 2026-12-07: "a" from 10:00, "b" for the hour from 10:30, "a" again from 11:30.
class AsRunInvariantsTest : public testing::Test {
protected:
    void SetUp() override {
        station.WriteDays(
            {{1, "10:00", "10:30", "a"}, {1, "10:30", "11:30", "b"}, {1, "11:30", "12:00", "a"}});
    }
    QStringList Broken(const QStringList& log) {
        QStringList names;
        for (const Violation& v : CheckAsRunLog(log, station.DaysPath())) names << v.invariant;
        return names;
    }
    StationFolder station;
};

// A start, a crossfade into a second track, a spot run and the next program.
const QStringList kCleanLog{
    "2026-12-07 10:00:00.000\tstation\tprogram\ta",
    "2026-12-07 10:00:06.400\tstation\tprogram\ta",
    "2026-12-07 10:00:06.400\tstation\tqueue\t/m/1.mp3^a\t4",
    "2026-12-07 10:00:06.400\tdeck1\tload\t/m/1.mp3",
    "2026-12-07 10:00:06.500\tdeck1\tvolume\t242",
    "2026-12-07 10:02:00.000\tstation\tqueue\t/m/2.mp3^a\t3",
    "2026-12-07 10:02:00.000\tdeck0\tload\t/m/2.mp3",
    "2026-12-07 10:02:00.100\tdeck0\tvolume\t242",
    "2026-12-07 10:02:01.000\tdeck1\tstop",
    "2026-12-07 10:14:55.000\tstation\tspot\t/s/1.mp3\t2026-12-07 10:15 #1",
    "2026-12-07 10:15:15.000\tstation\tspot\t/s/2.mp3\t2026-12-07 10:15 #2",
    "2026-12-07 10:30:00.300\tstation\tprogram\tb",
    "2026-12-07 10:31:00.000\toperator\tpause",
    "2026-12-07 10:31:00.000\tdeck0\tpause",
    "2026-12-07 10:31:30.000\tdeck0\tpause",
};

TEST_F(AsRunInvariantsTest, EachInvariantFiresOnALogThatBreaksIt) {
    EXPECT_EQ(Broken(kCleanLog), QStringList());
    struct Case {
        const char* invariant;
        QStringList added;  // after the clean log
    };
    const Case cases[] = {
        {"queue-never-empty", {"2026-12-07 10:40:00.000\tstation\tqueue\t/m/3.mp3^b\t0"}},
        {"queue-never-empty", {"2026-12-07 10:40:00.000\tstation\tqueue\t/m/3.mp3^b"}},
        // Dead air: the track ends and the next comes 3 s later, or a tick later.
        {"queue-never-empty",
         {"2026-12-07 10:40:00.000\tdeck0\tended",
          "2026-12-07 10:40:03.000\tdeck1\tload\t/m/3.mp3"}},
        {"queue-never-empty",
         {"2026-12-07 10:40:00.000\tdeck0\tended",
          "2026-12-07 10:40:00.400\tdeck1\tload\t/m/3.mp3"}},
        {"one-deck-at-full",
         {"2026-12-07 10:40:00.000\tdeck0\tpause", "2026-12-07 10:40:00.000\tdeck1\tload\t/j.mp3",
          "2026-12-07 10:40:00.000\tdeck1\tvolume\t242", "2026-12-07 10:40:01.000\tdeck0\tpause"}},
        // A crossfade that never lets the old track go.
        {"one-deck-at-full",
         {"2026-12-07 10:40:00.000\tdeck1\tload\t/m/3.mp3",
          "2026-12-07 10:40:00.100\tdeck1\tvolume\t242",
          "2026-12-07 10:41:00.000\tdeck1\tvolume\t242"}},
        {"spot-in-quarter",
         {"2026-12-07 10:44:00.000\tstation\tspot\t/s/1.mp3\t2026-12-07 10:15 #3"}},
        {"spot-in-quarter",
         {"2026-12-07 10:44:53.000\tstation\tspot\t/s/1.mp3\t2026-12-07 10:45 #1"}},
        {"spot-in-quarter",
         {"2026-12-07 10:15:40.000\tstation\tspot\t/s/1.mp3\t2026-12-07 10:15 #2"}},
        {"spot-in-quarter", {"2026-12-07 10:45:00.000\tstation\tspot\t/s/1.mp3\tsoon #1"}},
        {"program-at-slot", {"2026-12-07 10:40:00.000\tstation\tprogram\tb"}},
        {"program-at-slot", {"2026-12-07 11:00:00.000\tstation\tprogram\ta"}},
        // The 11:30 program never loads.
        {"program-at-slot", {"2026-12-07 11:35:00.000\tdeck0\tvolume\t242"}},
        {"no-load-while-paused",
         {"2026-12-07 10:32:00.000\tdeck0\tpause",
          "2026-12-07 10:32:00.000\tstation\tqueue\t/m/3.mp3^b\t2"}},
        {"no-load-while-paused",
         {"2026-12-07 10:32:00.000\tdeck0\tpause",
          "2026-12-07 10:44:55.000\tstation\tspot\t/s/1.mp3\t2026-12-07 10:45 #1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.added.join('\n').toStdString());
        EXPECT_EQ(Broken(kCleanLog + c.added), QStringList{c.invariant});
    }
}

// What the operator does on purpose breaks nothing: manual mode may run the queue dry and
// fall silent, a track resumed from pause may be followed by the next, a pause as the track
// ends holds the queue, and a spot run paused half-way goes on at the resume, however late.
TEST_F(AsRunInvariantsTest, TheOperatorsOwnChoicesAreNoViolation) {
    const QStringList allowed[] = {
        {"2026-12-07 10:35:00.000\toperator\tmanual\ton",
         "2026-12-07 10:40:00.000\tstation\tqueue\t/m/3.mp3^b\t0"},
        {"2026-12-07 10:35:00.000\tdeck0\tpause", "2026-12-07 10:39:00.000\tdeck0\tpause",
         "2026-12-07 10:40:00.000\tstation\tqueue\t/m/3.mp3^b\t2"},
        {"2026-12-07 10:35:00.000\tdeck0\tended", "2026-12-07 10:35:00.000\tdeck0\tpause",
         "2026-12-07 10:40:00.000\tstation\tqueue\t/m/3.mp3^b\t2"},
        {"2026-12-07 10:35:00.000\toperator\tmanual\ton", "2026-12-07 10:35:00.000\tdeck0\tended",
         "2026-12-07 10:40:00.000\toperator\tmanual\toff",
         "2026-12-07 10:40:00.400\tdeck1\tload\t/m/3.mp3"},
        {"2026-12-07 10:44:55.000\tstation\tspot\t/s/1.mp3\t2026-12-07 10:45 #1",
         "2026-12-07 10:44:55.000\tdeck1\tload\t/s/1.mp3", "2026-12-07 10:44:55.080\tdeck0\tstop",
         "2026-12-07 10:45:01.000\tdeck1\tpause", "2026-12-07 11:20:00.000\tdeck1\tpause",
         "2026-12-07 11:20:00.400\tstation\tspot\t/s/2.mp3\t2026-12-07 10:45 #2"},
    };
    for (const QStringList& added : allowed)
        EXPECT_EQ(Broken(kCleanLog + added), QStringList()) << added.join('\n').toStdString();
}

TEST(FolderHashes, EveryFileMadeRemovedOrChangedIsTold) {
    StationFolder station;
    const QString days = station.DaysPath();
    WriteBytes(days + "0", "a");
    WriteBytes(days + "1", "b");
    const auto before = HashFolder(station.StartFolder());
    EXPECT_TRUE(CompareFolders(before, HashFolder(station.StartFolder())).isEmpty());
    WriteBytes(days + "0", "c");
    QFile::remove(days + "1");
    WriteBytes(station.ListsPath() + ".hidden", "");
    QStringList told;
    for (const Violation& v : CompareFolders(before, HashFolder(station.StartFolder())))
        told << v.invariant + ": " + v.reason;
    EXPECT_EQ(told, QStringList({"folder-unchanged: days1/0 was changed",
                                 "folder-unchanged: days1/1 was removed",
                                 "folder-unchanged: pro1/.hidden was made"}));
}

}  // namespace
