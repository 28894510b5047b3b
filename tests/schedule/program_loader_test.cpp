#include "schedule/program_loader.h"

#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"
#include "playback/play_queue.h"
#include "support/station_folder.h"

namespace {

constexpr int kMonday = 1;
const QDate kSomeMonday(2026, 12, 7);
const QString kMarker = QStringLiteral("left from before");

class ProgramLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        station.AddList("morning", {1, 1, 1, 1, 1, 1, 1, 1});
        station.AddList("noon", {1, 1});
        station.WriteDays(
            {{kMonday, "10:00", "12:00", "morning"}, {kMonday, "12:00", "13:00", "noon"}});
        loader.ClearPlayedList = [this] { ++playedListClears; };
    }
    /// Loads at hh:mm and tells whether a fresh queue was drawn.
    bool LoadsAt(int hour, int minute) {
        clock.SetWallTime(QDateTime(kSomeMonday, QTime(hour, minute)));
        queue.Append(kMarker);
        EXPECT_TRUE(loader.LoadProgramOfHour(hour, minute).isEmpty());
        return !queue.Entries().contains(kMarker);
    }

    StationFolder station;
    VirtualTimerHost clock{QDateTime(kSomeMonday, QTime(0, 0))};
    PlayQueue queue;
    ProgramLoader loader{station.ListsPath(), station.DaysPath(), clock, queue};
    int playedListClears = 0;
};

TEST_F(ProgramLoaderTest, StartInsideAProgramLoadsItOnce) {
    EXPECT_TRUE(LoadsAt(10, 40));
    EXPECT_EQ(loader.LabelWra2(), "10:00 - 12:00");
    EXPECT_EQ(loader.LabelProgramName1(), "morning");
    EXPECT_EQ(loader.LabelMera1(), "7-12-26");
    EXPECT_EQ(queue.Count(), 5);
    EXPECT_EQ(loader.LabeltracksToPlay1(), "8");
    EXPECT_FALSE(LoadsAt(10, 40)) << "the first tick finds the same program";
    EXPECT_FALSE(LoadsAt(11, 0));
    EXPECT_FALSE(LoadsAt(11, 30));
    EXPECT_TRUE(LoadsAt(12, 0));
    EXPECT_EQ(loader.LabelProgramName1(), "noon");
    EXPECT_EQ(playedListClears, 2);
}

TEST_F(ProgramLoaderTest, StartInAProgramsFirstSlotDrawsTwice) {
    EXPECT_TRUE(LoadsAt(10, 5));
    EXPECT_TRUE(LoadsAt(10, 5));
    loader.DontClearPrevTracks = true;
    EXPECT_TRUE(LoadsAt(10, 5));
    EXPECT_EQ(playedListClears, 2);
}

TEST_F(ProgramLoaderTest, ListStartedByHandRunsToTheNextProgram) {
    station.AddList("by hand", {1, 1, 1});
    const struct {
        int startHour, startMinute;
        QList<QTime> keeps;
        QTime replacedAt;
    } cases[] = {
        {10, 15, {QTime(10, 30), QTime(11, 0), QTime(11, 30)}, QTime(12, 0)},
        {9, 10, {}, QTime(9, 30)},  // an empty slot: the calendar takes over at once
    };
    for (const auto& c : cases) {
        LoadsAt(c.startHour, c.startMinute);
        EXPECT_TRUE(loader.PlayTheProgramnow1Click("by hand").isEmpty());
        EXPECT_EQ(loader.LabelProgramName1(), "by hand");
        EXPECT_EQ(queue.TracksToPlay, 3);
        for (const QTime& t : c.keeps) EXPECT_FALSE(LoadsAt(t.hour(), t.minute()));
        EXPECT_TRUE(LoadsAt(c.replacedAt.hour(), c.replacedAt.minute()));
        EXPECT_FALSE(loader.HandProgramPlaying);
        EXPECT_NE(loader.LabelProgramName1(), "by hand");
    }
}

TEST_F(ProgramLoaderTest, MissingListsAndDaysPlayNothing) {
    station.AddList("three", {1, 1, 1});
    station.WriteDays({{kMonday, "20:00", "21:00", "three|gone|"}});
    EXPECT_TRUE(LoadsAt(20, 0));
    EXPECT_EQ(queue.ProgramListCount, 2);
    EXPECT_EQ(queue.TracksToPlay, 3);

    EXPECT_TRUE(LoadsAt(3, 0));
    EXPECT_EQ(loader.LabelProgramName1(), "###NULL###");
    EXPECT_EQ(queue.TracksToPlay, 0);
    EXPECT_EQ(queue.Entries(), QStringList(5, QString()));

    // Tuesday has no day file at all; the weekday comes from the clock.
    clock.SetWallTime(QDateTime(kSomeMonday.addDays(1), QTime(10, 0)));
    EXPECT_TRUE(loader.LoadProgramOfHour(10, 0).isEmpty());
    EXPECT_EQ(loader.LabelProgramName1(), "###NULL###");
    EXPECT_EQ(loader.ListBoxProgramNow1(), QStringList(48, "###NULL###"));
}

}  // namespace
