// The scheduler wired to the main loop as at start-up: the calendar selects today, the
// program of the current slot loads once, then the loop's ticks decide every reload.
#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"
#include "platform/simulated_player_link.h"
#include "playback/playback_engine.h"
#include "schedule/calendar.h"
#include "schedule/program_loader.h"
#include "support/station_folder.h"

namespace {

constexpr int kMonday = 1;
const QDate kSomeMonday(2026, 12, 7);

struct StationOnAir {
    explicit StationOnAir(const QTime& start) : host(QDateTime(kSomeMonday, start)) {
        station.AddList("morning", {60, 60, 60, 60});
        station.WriteDays({{kMonday, "10:00", "12:00", "morning"}});
        loader.ClearPlayedList = [this] {
            engine.Played().Clear();
            ++loads;
        };
        calendar.SetProgramsChanged = [this] { engine.Loop().ProgramsChanged = true; };
        engine.LoadProgramOfHour = [this](int hour, int minute) {
            EXPECT_TRUE(loader.LoadProgramOfHour(hour, minute).isEmpty());
        };
        // Start-up: settings set ProgramsChanged, today is selected, the slot loads once.
        engine.Loop().ProgramsChanged = true;
        calendar.SelectToday(kSomeMonday);
        engine.Loop().LastProgramSlot = day_program::SlotOfTime(start.hour(), start.minute());
        loader.LoadProgramOfHour(start.hour(), start.minute());
        engine.LaunchPlayers();
        host.Advance(engine.WaitSecInBeggining * 1000 + 500);
    }
    void AdvanceMinutes(int minutes) { host.Advance(minutes * 60'000LL); }

    StationFolder station;
    VirtualTimerHost host;
    SimulatedPlayerLink link{host, host};
    PlaybackEngine engine{host, host, link};
    Calendar calendar{station.DaysPath()};
    ProgramLoader loader{station.ListsPath(), station.DaysPath(), host, engine.Queue()};
    int loads = 0;
};

TEST(ProgramScheduleTest, FirstTickReloadsOnlyAtAProgramsFirstSlot) {
    const struct {
        QTime start;
        int loadsAfterFirstTick;
    } cases[] = {{QTime(10, 40), 1}, {QTime(10, 5), 2}, {QTime(9, 10), 2}};
    for (const auto& c : cases) {
        StationOnAir air(c.start);
        ASSERT_TRUE(air.engine.MainLoopRunning());
        EXPECT_EQ(air.loads, c.loadsAfterFirstTick) << c.start.toString().toStdString();
        EXPECT_EQ(air.loader.LabelProgramName1(),
                  c.start.hour() == 10 ? QString("morning") : QString("###NULL###"));
    }
}

TEST(ProgramScheduleTest, ProgramRunsItsSpanAndGivesWayAtItsEnd) {
    StationOnAir air(QTime(10, 40));
    air.AdvanceMinutes(75);  // 11:55: through 11:00 and 11:30
    EXPECT_EQ(air.loads, 1);
    EXPECT_FALSE(air.engine.Played().Titles().isEmpty());
    air.AdvanceMinutes(10);
    EXPECT_EQ(air.loads, 2);
    EXPECT_EQ(air.loader.LabelProgramName1(), "###NULL###");
    EXPECT_EQ(air.engine.Queue().TracksToPlay, 0);
}

TEST(ProgramScheduleTest, ClockSetBackWaitsForTheLastSlot) {
    StationOnAir air(QTime(13, 10));
    const int before = air.loads;
    air.host.SetWallTime(QDateTime(kSomeMonday, QTime(10, 10)));
    air.AdvanceMinutes(100);  // 11:50, still before 13:00
    EXPECT_EQ(air.loads, before);
    EXPECT_EQ(air.loader.LabelProgramName1(), "###NULL###");

    // An edit of the calendar reloads at once, set-back clock or not.
    air.calendar.ButtonSetProgr1Click(0, {"morning"});
    air.AdvanceMinutes(1);
    EXPECT_EQ(air.loads, before + 1);
    EXPECT_EQ(air.loader.LabelProgramName1(), "morning");

    air.AdvanceMinutes(80);  // 13:11: the slot of 13:00 is the last one loaded
    EXPECT_EQ(air.loads, before + 1);
    air.AdvanceMinutes(20);  // 13:31
    EXPECT_EQ(air.loads, before + 2);
}

}  // namespace
