#include <gtest/gtest.h>

#include <QTextStream>

#include "app/command_line.h"
#include "app/week_preview.h"
#include "support/station_folder.h"
#include "tools/check_command.h"

namespace {

// A day file damaged into one huge entry is told about, not printed back whole: by the
// check (once per warning) and by the as-run line of the program it loads.
TEST(LongInput, AHugeDayFileEntryIsEchoedCut) {
    StationFolder station;
    const QString huge = "pop|" + QString(1 << 20, u'x');
    station.WriteDays({{1, "10:00", "11:00", huge}});
    const QDateTime monday(QDate(2026, 12, 7), QTime(10, 0));
    QString check;
    QTextStream out(&check);
    CommandLine cl = ParseCommandLine({"--check", "--for", "1d"});
    cl.checkFrom = monday;
    EXPECT_EQ(RunCheckCommand(cl, station.StartFolder(), nullptr, monday, out), 1);
    EXPECT_TRUE(check.contains("… (1048580 characters)")) << check.left(400).toStdString();
    EXPECT_LT(check.size(), 8'000);
    QStringList programLines;
    RunWeekPreview(ParseCommandLine({"--simulate", "2026-12-07 10:00:00", "--for", "10m"}),
                   station.StartFolder(), nullptr, [&](const QString& line) {
                       if (line.contains("\tprogram\t")) programLines << line;
                   });
    ASSERT_FALSE(programLines.isEmpty());
    for (const QString& line : programLines)
        EXPECT_TRUE(line.endsWith("… (1048580 characters)")) << line.size();
}

}  // namespace
