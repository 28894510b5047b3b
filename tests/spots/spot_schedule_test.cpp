#include "spots/spot_schedule.h"

#include <gtest/gtest.h>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "schedule/program_lock.h"
#include "spots/spot_editor.h"
#include "spots/spot_file.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

struct ScheduleRig {
    explicit ScheduleRig(const QDateTime& now)
        : clock(now), tab(folder.SpotsPath(), lock), spots(folder.SpotsPath(), clock, tab) {
        tab.StartUp(clock.Now().date().dayOfWeek() % 7);
    }
    StationFolder folder;
    VirtualTimerHost clock;
    ProgramLock lock;
    SpotEditor tab;
    SpotSchedule spots;
};

const QDate kScheduleMonday(2026, 12, 7);

TEST(SpotScheduleTest, NextSpotsHoldTheQuarterThatBeginsNext) {
    struct Case {
        QDateTime now;
        int weekday, quarter, hour;
    };
    for (const Case& c : {Case{{kScheduleMonday, QTime(10, 5)}, 1, 1, 10},
                          Case{{kScheduleMonday, QTime(10, 50)}, 1, 0, 11},
                          Case{{kScheduleMonday.addDays(5), QTime(23, 50)}, 0, 0, 0}}) {
        ScheduleRig rig(c.now);
        rig.folder.WriteSpots(c.weekday, c.quarter, c.hour, {"/s/due.mp3", "/s/too.mp3"});
        rig.spots.PrepareNextSpots(c.now.time().hour(), c.now.time().minute());
        EXPECT_EQ(rig.spots.NextSpotTitles(), QStringList({"due.mp3", "too.mp3"})) << c.hour;
        EXPECT_EQ(rig.spots.FirstCheckedSpot(), 0);
        EXPECT_EQ(rig.tab.EditedSpotHour() * 10 + rig.tab.EditedSpotQuarter(),
                  c.hour * 10 + c.quarter);
    }
}

TEST(SpotScheduleTest, AfterAnEditOfTheUpcomingSlotTheNextQuarterStillLoadsItsOwnSpots) {
    ScheduleRig rig({kScheduleMonday, QTime(10, 5)});
    rig.spots.PrepareNextSpots(10, 5);
    ASSERT_TRUE(rig.tab.AddSpot("/s/edited.mp3", "edited").ok());
    ASSERT_TRUE(rig.spots.TakeRefreshNextSpots());
    rig.spots.PrepareNextSpots(10, 5);
    rig.folder.WriteSpots(1, 2, 10, {"/s/half-past.mp3"});
    rig.clock.Advance(10 * 60'000);
    rig.spots.PrepareNextSpots(10, 15);
    EXPECT_EQ(rig.spots.NextSpotPaths(), QStringList{"/s/half-past.mp3"});
}

TEST(SpotScheduleTest, EditsSaveAtOnceKeepTenSpotsAndRefuseWhileLocked) {
    ScheduleRig rig({kScheduleMonday, QTime(10, 5)});
    for (int i = 0; i < 11; ++i) ASSERT_TRUE(rig.tab.AddSpot(QString("/s/%1.mp3").arg(i), "").ok());
    rig.tab.SelectSpot(0);
    ASSERT_TRUE(rig.tab.BitBtnSpotDown1Click().ok());
    // The library adds outside the command table, so the tab itself refuses while locked.
    rig.lock.LockPrograms = true;
    EXPECT_FALSE(rig.tab.AddSpot("/s/locked.mp3", "").ok());
    rig.lock.LockPrograms = false;
    rig.tab.TabSet1Change(0);
    const QStringList kept = rig.tab.EditedSpotPaths();
    EXPECT_EQ(kept.size(), 10);
    EXPECT_EQ(kept.mid(0, 3), QStringList({"/s/1.mp3", "/s/0.mp3", "/s/2.mp3"}));

    // "Same as...": onto itself nothing changes; from a day never saved nothing is copied.
    const QByteArray monday = ReadBytes(rig.folder.SpotsPath() + "1-0");
    EXPECT_TRUE(rig.tab.BitBtnIdioMeSpots1Click(1).ok());
    EXPECT_TRUE(rig.tab.BitBtnIdioMeSpots1Click(4).ok());
    EXPECT_EQ(ReadBytes(rig.folder.SpotsPath() + "1-0"), monday);
    rig.tab.TabControlSpotsChange(2);
    EXPECT_TRUE(rig.tab.BitBtnIdioMeSpots1Click(1).ok());
    EXPECT_EQ(ReadBytes(rig.folder.SpotsPath() + "2-0"), monday);
    EXPECT_EQ(rig.tab.EditedSpotPaths(), kept);
}

// A file the station did not write is read as well as it can be and never damaged further.
TEST(SpotScheduleTest, OddSpotFilesReadSafelyAndDamagedOnesAreNeverOverwritten) {
    struct Case {
        QByteArray bytes;
        int spots;  // at hour 10; -1: the file is refused
    };
    const QByteArray line = "/s/x.mp3\r\n";
    QByteArray shortFile, longFile = line.repeated(300);
    for (int i = 0; i < 100; ++i) shortFile += "###NULL###\r\n";
    shortFile += line + line;
    for (const Case& c :
         {Case{shortFile, 2}, Case{longFile, 10}, Case{QByteArray("/s/a\0b\r\n", 9), -1},
          Case{line.repeated(120'000), -1}}) {
        ScheduleRig rig({kScheduleMonday, QTime(10, 5)});
        WriteBytes(spot_file::Path(rig.folder.SpotsPath(), 1, 1), c.bytes);
        int problems = 0;
        QObject::connect(&rig.spots, &SpotSchedule::Problem, [&problems] { ++problems; });
        rig.spots.PrepareNextSpots(10, 5);
        rig.spots.PrepareNextSpots(10, 6);
        EXPECT_EQ(rig.spots.NextSpotPaths().size(), std::max(c.spots, 0));
        EXPECT_EQ(problems, c.spots < 0 ? 1 : 0);
        rig.tab.SelectSpot(0);
        EXPECT_EQ(rig.tab.BitBtnDelSpot1Click().ok(), c.spots >= 0);
        const QByteArray after = ReadBytes(rig.folder.SpotsPath() + "1-1");
        EXPECT_EQ(
            c.spots < 0 ? after : QByteArray::number(after.count("\r\n")),
            c.spots < 0 ? c.bytes : QByteArray::number(std::max(240, int(c.bytes.count("\r\n")))));
    }
}

// Started on Monday at 13:13 (1-1 is due next) and closed 8 s later, the station writes no
// spot file: one of any length and line ends stays byte for byte.
TEST(SpotScheduleTest, AStartAndACloseLeaveTheSpotFileAsItWas) {
    for (const auto& [lines, end] : {std::pair{300, "\r\n"}, std::pair{10'000, "\n"}}) {
        StationFolder folder;
        VirtualTimerHost host({kScheduleMonday, QTime(13, 13)});
        SimulatedPlayerLink link(host, host);
        QByteArray bytes;
        for (int i = 0; i < lines; ++i)
            bytes += (i % 7 ? "###NULL###" : "/s/" + QByteArray::number(i)) + end;
        WriteBytes(folder.SpotsPath() + "1-1", bytes);
        Station station(folder.StartFolder(), host, host, link);
        station.StartUp();
        host.Advance(8'000);
        EXPECT_TRUE(station.Close(nullptr).isEmpty());
        EXPECT_TRUE(ReadBytes(folder.SpotsPath() + "1-1") == bytes) << lines;
    }
}

TEST(SpotScheduleTest, NoWeekdayOrQuarterOutOfRangeNamesAFile) {
    for (const auto& [weekday, quarter] : {std::pair{7, 0}, {-1, 0}, {0, 4}, {0, -1}}) {
        EXPECT_TRUE(spot_file::Path("/spots/", weekday, quarter).isEmpty());
        EXPECT_FALSE(spot_file::Write("/spots/", weekday, quarter, {}).ok());
    }
    ScheduleRig rig({kScheduleMonday, QTime(10, 5)});
    rig.spots.PrepareNextSpots(24, 0);
    rig.tab.TabSet1Change(4);
    rig.tab.TabControlSpotsChange(9);
    EXPECT_EQ(rig.tab.EditedSpotDay() * 10 + rig.tab.EditedSpotQuarter(), 10);
}

}  // namespace
