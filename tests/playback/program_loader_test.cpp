// The scheduler wired to the main loop as at start-up: the program of the current slot
// loads once, then the loop's ticks decide every reload.
#include "playback/program_loader.h"

#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"
#include "playback/playback_engine.h"
#include "player/simulated_player_link.h"
#include "schedule/calendar.h"
#include "schedule/day_program.h"
#include "schedule/program_lock.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

constexpr int kMonday = 1;
const QDate kSomeMonday(2026, 12, 7);

struct StationOnAir {
    explicit StationOnAir(const QTime& start) : host(QDateTime(kSomeMonday, start)) {
        station.AddList("morning", {60, 60, 60, 60});
        station.AddList("three", {60, 60, 60});
        station.WriteDays(
            {{kMonday, "10:00", "12:00", "morning"}, {kMonday, "20:00", "21:00", "three|gone|"}});
        // Each load of a program clears the played list: the tests count loads by it.
        QObject::connect(&loader, &ProgramLoader::PlayedListOutdated, [this] {
            ++loads;
            engine.ClearPlayed();
        });
        engine.AddTickPart(loader);
        loader.SetLastProgramSlot(day_program::SlotOfTime(start.hour(), start.minute()));
        loader.LoadProgramOfHour(start.hour(), start.minute());
        engine.LaunchPlayers();
        host.Advance(engine.WaitSecInBeggining * 1000 + 500);
    }
    void AdvanceTo(const QTime& t) { host.Advance(host.Now().time().msecsTo(t)); }
    StationFolder station;
    VirtualTimerHost host;
    SimulatedPlayerLink link{host, host};
    PlaybackEngine engine{host, host, link};
    ProgramLock lock;
    Calendar calendar{station.DaysPath(), lock};
    ProgramLoader loader{station.ListsPath(), calendar, host, engine};
    int loads = 0;
};

// A list of the program that is missing is an empty pool of its own.
TEST(ProgramLoaderTest, FirstTickReloadsOnlyAtAProgramsFirstSlotAndAListByHandRunsToTheNext) {
    // (start, loads after the first tick, program shown, lists of the program)
    for (const auto& [start, shown] : {std::pair{QTime(10, 40), "1 morning 1"},
                                       {QTime(10, 5), "2 morning 1"},
                                       {QTime(9, 10), "2 ###NULL### 1"},
                                       {QTime(20, 10), "2 three|gone| 2"}}) {
        StationOnAir air(start);
        ASSERT_TRUE(air.engine.MainLoopRunning());
        EXPECT_EQ(
            QString::asprintf("%d %s %d", air.loads, qPrintable(air.loader.LabelProgramName1()),
                              air.engine.Queue().ProgramListCount()),
            shown);
    }
    for (const auto& c : {std::array{QTime(10, 15), QTime(11, 59), QTime(12, 1)},
                          {QTime(9, 10), QTime(9, 29), QTime(9, 31)}}) {  // an empty slot
        StationOnAir air(c[0]);
        air.station.AddList("by hand", {60, 60, 60});
        EXPECT_EQ(air.loader.PlayTheProgramnow1Click("by hand"), Result::Ok());
        EXPECT_EQ(air.engine.Queue().TracksToPlay(), 3);
        const int loads = air.loads;
        air.AdvanceTo(c[1]);
        EXPECT_EQ(air.loader.LabelProgramName1(), "by hand");
        air.AdvanceTo(c[2]);
        EXPECT_EQ(air.loads, loads + 1);
        EXPECT_FALSE(air.loader.HandProgramPlaying);
    }
}

// Then the program runs its span, its list uninterrupted, and gives way at its end.
TEST(ProgramLoaderTest, ClockSetBackLoadsTheSlotItGoesBackToAndUnreadableListsPlayAsEmpty) {
    StationOnAir air(QTime(13, 10));
    const int before = air.loads;
    air.host.SetWallTime(QDateTime(kSomeMonday, QTime(10, 10)));
    air.AdvanceTo(QTime(11, 59));
    EXPECT_EQ(air.loads, before + 1);  // at once; its continuation slots keep it
    EXPECT_EQ(air.loader.LabelProgramName1() + air.loader.LabelWra2() + air.loader.LabelMera1(),
              "morning10:00 - 12:007-12-26");
    EXPECT_EQ(air.engine.Played().Count(), 4);
    air.AdvanceTo(QTime(12, 1));
    EXPECT_EQ(air.loads, before + 2);
    EXPECT_EQ(air.engine.Played().Count(), 0);
    EXPECT_EQ(air.engine.Played().LabelPlayedTracks, 4) << "kept until a track starts";
    EXPECT_EQ(air.loader.LabelProgramName1(), "###NULL###");
    EXPECT_EQ(air.engine.Queue().Entries(), QStringList(5, QString()));
    // A list that is not there, or unreadable, plays as empty; an unreadable day loads nothing.
    EXPECT_TRUE(air.loader.LoadProgramOfHour(20, 0).message().endsWith("\ngone: no such list"));
    EXPECT_EQ(air.loader.LoadProgramOfHour(20, 0), Result::Ok()) << "told once in its slot";
    WriteBytes(air.station.ListsPath() + "morning", QByteArray("a\0b", 3));
    EXPECT_EQ(air.loader.LoadProgramOfHour(10, 0).kind(), Result::Kind::Warning);
    EXPECT_EQ(air.loader.LabeltracksToPlay1(), "0");
    // A day is read once: today's file spoilt on disk plays on as it was read; an unreadable
    // day not read yet loads nothing.
    WriteBytes(day_program::DayFilePath(air.station.DaysPath(), kMonday), QByteArray("a\0b", 3));
    EXPECT_TRUE(air.loader.LoadProgramOfHour(20, 0).ok());
    EXPECT_EQ(air.loader.LabelProgramName1(), "three|gone|");
    WriteBytes(day_program::DayFilePath(air.station.DaysPath(), kMonday + 1),
               QByteArray("a\0b", 3));
    air.host.SetWallTime(QDateTime(kSomeMonday.addDays(1), QTime(10, 0)));
    EXPECT_EQ(air.loader.LoadProgramOfHour(10, 0).kind(), Result::Kind::Error);
    EXPECT_EQ(air.loader.LabelProgramName1(), "three|gone|");
}

}  // namespace
