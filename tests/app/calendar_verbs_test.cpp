// The calendar's commands as the window, the control socket and an actions file send them.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "app/calendar_state.h"
#include "app/operator_actions.h"
#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"

namespace {

// Monday 2026-12-07 at 09:59: "a" plays from 09:00 to 10:00.
struct CalendarOnAir {
    explicit CalendarOnAir(bool locked) {
        folder.AddList("a", {60, 60});
        folder.AddList("b", {60});
        folder.WriteDays({{1, "09:00", "10:00", "a"}});
        QSettings store(dir.filePath("stavox.conf"), QSettings::IniFormat);
        store.setValue("LockPrograms", locked ? "1" : "0");
        station.StartUp(&store);
        host.Advance(7'000);  // the main loop runs
    }
    Result Run(const char* verb, const QString& argument = {}) {
        return RunVerb(station, *FindOperatorVerb(verb), argument);
    }
    QTemporaryDir dir;
    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 59))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
};

TEST(CalendarVerbs, TheLockRefusesEveryEditWhileDaysAndRowsAreStillShown) {
    CalendarOnAir air(true);
    const Result locked = Result::Error(air.station.Lock().Refusal().message());
    for (const auto& [verb, argument] : {std::pair{"calendar-may-edit", ""},
                                         {"calendar-new-program", ""},
                                         {"calendar-set-program", "b"},
                                         {"calendar-delete-program", ""},
                                         {"calendar-same-as", "3"},
                                         {"program-dont-clear", "on"}})
        EXPECT_EQ(air.Run(verb, argument), locked) << verb;
    EXPECT_EQ(air.Run("calendar-day", "3"), Result::Ok());
    EXPECT_EQ(air.Run("calendar-day", "8").message(), "no weekday 8 (there are 7)");
    EXPECT_EQ(air.Run("calendar-select-row", "1").message(), "no program row 1 (there are 0)");
    EXPECT_EQ(CalendarStateOf(air.station).tabIndex, 2);
}

// What plays follows the calendar as it holds the day, not the day file edited by hand.
TEST(CalendarVerbs, AProgramSetOrAddedReachesTheAirFromTheCalendarsDay) {
    CalendarOnAir air(false);
    EXPECT_EQ(air.Run("calendar-select-row", "1"), Result::Ok());
    EXPECT_EQ(air.Run("calendar-set-program", "b"), Result::Ok());
    air.host.Advance(400);
    EXPECT_EQ(air.station.Loader().LabelProgramName1(), "b");

    EXPECT_EQ(air.Run("calendar-new-program"), Result::Ok());
    const int ten = int(CalendarStateOf(air.station).startHours.indexOf("10:00")) + 1;
    EXPECT_EQ(air.Run("calendar-start-hour", QString::number(ten)), Result::Ok());
    EXPECT_EQ(air.Run("calendar-end-hour", "1 a|b"), Result::Ok());
    const CalendarState state = CalendarStateOf(air.station);
    EXPECT_EQ(state.rows, QStringList({"09:00 - 10:00     b", "10:00 - 10:30     a|b|"}));
    EXPECT_FALSE(state.startHoursEnabled || state.endHoursEnabled);
    air.folder.WriteDays({{1, "10:00", "11:00", "a"}});
    air.host.Advance(60'000);
    EXPECT_EQ(air.station.Loader().LabelProgramName1(), "a|b|");

    EXPECT_EQ(air.Run("program-play-now", "gone").message(), "no list \"gone\"");
    EXPECT_EQ(air.Run("program-play-now", "a"), Result::Ok());
    EXPECT_EQ(air.station.Loader().LabelProgramName1(), "a");
    EXPECT_EQ(air.Run("program-dont-clear", "on"), Result::Ok());
    EXPECT_TRUE(air.station.Loader().DontClearPrevTracks);
}

}  // namespace
