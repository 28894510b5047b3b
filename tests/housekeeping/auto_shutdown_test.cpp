#include "housekeeping/auto_shutdown.h"

#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"

namespace {

// Shutdown at 22:30, watched from the start: a check every 50 s. "Cancel Shutdown" is
// pressed the given time after the panel shows, or never (0).
TEST(AutoShutdownTest, ThePanelShowsAtTheFirstCheckInTheMinuteAndCountsDownToTheShutdown) {
    const struct {
        QTime start;
        int cancelAfterMs;
        QTime due;  // null: no shutdown within five minutes
    } cases[] = {
        {QTime(22, 29, 0), 0, QTime(22, 31, 40)},       // shown at 22:30:40
        {QTime(22, 29, 10), 0, QTime(22, 31, 0)},       // shown at 22:30:00
        {QTime(22, 29, 10), 9'000, QTime(22, 31, 59)},  // back at 22:30:59
        {QTime(22, 29, 20), 5'000, QTime()},            // the next check is at 22:31:05
    };
    QStringList countdown{"Sec"};
    for (int n = 59; n >= 0; --n) countdown << QString::number(n);
    for (const auto& c : cases) {
        VirtualTimerHost host(QDateTime(QDate(2026, 12, 7), c.start));
        AutoShutdown shutdown(host, host);
        shutdown.SetShutDownHour(22);
        shutdown.SetShutDownMin(30);
        shutdown.SetShutDown(true);
        QTime due;
        QStringList labels;
        std::int64_t shownAt = -1;
        QObject::connect(&shutdown, &AutoShutdown::ShutdownDue, [&] { due = host.Now().time(); });
        QObject::connect(&shutdown, &AutoShutdown::Changed, [&] {
            if (!shutdown.PanelShutdownVisible()) return;
            labels << shutdown.LabelWinShutDnSec1();
            if (shownAt < 0) shownAt = host.ElapsedMs();
        });
        for (; host.ElapsedMs() < 300'000; host.Advance(1'000))
            if (c.cancelAfterMs && host.ElapsedMs() == shownAt + c.cancelAfterMs)
                shutdown.ButtonCancelShutDown2Click();
        EXPECT_EQ(due, c.due) << c.start.toString().toStdString();
        if (c.cancelAfterMs == 0) {
            EXPECT_EQ(labels, countdown);
        }
    }
}

}  // namespace
