#include "spots/spot_statistics.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/station_folder.h"

namespace {

using spot_statistics::StatsView;

TEST(SpotStatisticsTest, ListAndTimetableShowEachOccurrenceWhereItIsDueAndNoneIsCutOff) {
    StationFolder folder;
    const QString spot = "/s/Spot.mp3";
    folder.WriteSpots(1, 1, 9, {spot, "/s/other.mp3", spot});
    folder.WriteSpots(
        1, 0, 14, {"/s/1", "/s/2", "/s/3", "/s/4", "/s/5", "/s/6", "/s/7", "/s/8", "/s/9", spot});
    folder.WriteSpots(3, 2, 9, {"/t/Spot.mp3"});

    const StatsView list = spot_statistics::ShowStats(folder.SpotsPath(), spot);
    EXPECT_EQ(list.LabelStats, "Spot.mp3");
    EXPECT_EQ(list.LabelNumberOfStats, "3");
    EXPECT_EQ(list.Grid[0][2], "ΔΕΥ");
    // Quarter by quarter: 14:00 comes before 09:15.
    QStringList monday;
    for (int r = 1; r <= 4; ++r) monday << list.Grid[r][2];
    EXPECT_EQ(monday, QStringList({"14:00 [10]", "09:15 [ 1]", "09:15 [ 3]", ""}));

    const StatsView table = spot_statistics::ShowProgram(folder.SpotsPath(), spot);
    EXPECT_EQ(table.LabelNumberOfStats, "-");
    EXPECT_EQ(table.Grid[38][2], "09:15 [ 3]");
    EXPECT_EQ(table.Grid[37][0], "09");
    EXPECT_EQ(table.Grid[57][2], "14:00 [10]");
    EXPECT_EQ(table.Grid.size(), 97u);

    // A column longer than the 96 rows of a day grows the grid.
    QByteArray full;
    for (int i = 0; i < 240; ++i) full += i % 10 < 2 ? "/s/x\r\n" : "###NULL###\r\n";
    for (int q = 0; q < 4; ++q) WriteBytes(folder.SpotsPath() + QString("0-%1").arg(q), full);
    const StatsView sunday = spot_statistics::ShowStats(folder.SpotsPath(), "/s/x");
    EXPECT_EQ(sunday.Grid.back()[1] + sunday.LabelNumberOfStats, "23:45 [ 2]192");
}

}  // namespace
