#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QThreadPool>
#include <memory>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"
#include "ui/main_window.h"
#include "widget_driver.h"

namespace {

// Monday 7 December 2026: Wednesday's program names a list that is not there.
TEST(WeekCheckWindow, WarningsInATableAndTheirDayInTheCalendar) {
    StationFolder folder;
    folder.AddList("a", {60});
    folder.WriteDays({{3, "10:00", "11:00", "ghost"}});
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    std::unique_ptr<MainWindow> window = driver::OpenStudio(station);
    auto* pages = driver::Find<QTabWidget>(*window, "PageControlCalSpotsLists");
    pages->setCurrentIndex(pages->count() - 1);

    auto* action = driver::Find<QAction>(*window, "CheckWeek1");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text().remove(u'&'), "Check the week...");
    action->trigger();
    auto* table = driver::Find<QTableWidget>(*window, "TableWeekCheck");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->window()->isVisible());
    // The check runs beside the station's thread: the dialog shows at once, then fills.
    auto* count = driver::Find<QLabel>(*window, "LabelWeekCheckCount");
    EXPECT_EQ(count->text(), "Checking...");
    ASSERT_TRUE(QTest::qWaitFor([count] { return count->text() != "Checking..."; }, 20'000));
    ASSERT_GT(table->rowCount(), 1);
    EXPECT_EQ(count->text(), QString("%1 warnings").arg(table->rowCount()));
    int ghostRow = -1;
    int fragmentRows = 0;  // hour1/ is empty: a station without the announcement
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 1)->text() == "missing-list") ghostRow = row;
        if (table->item(row, 1)->text() == "hour-fragment") ++fragmentRows;
    }
    EXPECT_EQ(fragmentRows, 0);
    ASSERT_GE(ghostRow, 0);
    EXPECT_EQ(table->item(ghostRow, 0)->text(), "2026-12-09 10:00");
    EXPECT_TRUE(table->item(ghostRow, 2)->text().contains("\"ghost\""));

    table->scrollToItem(table->item(ghostRow, 0));
    const QPoint cell = table->visualItemRect(table->item(ghostRow, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "Calendar");
    EXPECT_EQ(driver::Find<QTabBar>(*window, "TabControl1")->currentIndex(), 3);
    EXPECT_EQ(station.CalendarTab().CalendarDayIndex(), 3);
    // Closed, and the window gone, while a check runs: the check ends on its own.
    action->trigger();
    table->window()->close();
    window.reset();
    QThreadPool::globalInstance()->waitForDone();
}

}  // namespace
