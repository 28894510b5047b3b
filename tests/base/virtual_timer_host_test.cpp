#include "base/virtual_timer_host.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kStart(QDate(2026, 12, 6), QTime(10, 0, 0));

TEST(VirtualTimerHost, FiresInTimeOrderAndHonoursChangesMadeByHandlers) {
    VirtualTimerHost host(kStart);
    QStringList log;
    std::unique_ptr<Timer> a, b, once, tick;
    a = host.CreateTimer("a", 300, [&] { log << QString("a%1").arg(host.ElapsedMs()); });
    b = host.CreateTimer("b", 200, [&] { log << QString("b%1").arg(host.ElapsedMs()); });
    once = host.CreateTimer("once", 500, [&] {
        once->SetEnabled(false);
        b->SetEnabled(false);
        log << QString("once%1").arg(host.ElapsedMs());
    });
    // The main loop's tick disables itself and enables itself again: one interval from then.
    tick = host.CreateTimer("tick", 700, [&] {
        tick->SetEnabled(false);
        log << QString("t%1").arg(host.ElapsedMs());
        tick->SetEnabled(true);
    });
    for (Timer* t : {a.get(), b.get(), once.get(), tick.get()}) t->SetEnabled(true);
    host.Advance(1000);
    // A new interval counts from when it is set: 1000 + 500; an interval of 0 never fires.
    a->SetInterval(500);
    host.Advance(499);
    b->SetEnabled(true);
    b->SetInterval(0);
    host.Advance(1000);
    EXPECT_EQ(log.join(' ').toStdString(),
              "b200 a300 b400 once500 a600 t700 a900 t1400 a1500 a2000 t2100");
    EXPECT_EQ(host.Now(), kStart.addMSecs(2499));
}

}  // namespace
