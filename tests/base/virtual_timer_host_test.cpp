#include "base/virtual_timer_host.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QDateTime kStart(QDate(2026, 12, 6), QTime(10, 0, 0));

TEST(VirtualTimerHost, SelfDisablingTickReArmsFromTheTick) {
    VirtualTimerHost host(kStart);
    std::vector<std::int64_t> fired;
    std::unique_ptr<Timer> timer;
    timer = host.CreateTimer("TimerProgram1", 400, [&] {
        timer->SetEnabled(false);
        fired.push_back(host.ElapsedMs());
        timer->SetEnabled(true);
    });
    timer->SetEnabled(true);
    host.Advance(60'000);
    ASSERT_EQ(fired.size(), 150u);
    for (std::size_t i = 0; i < fired.size(); ++i) EXPECT_EQ(fired[i], std::int64_t(400 * (i + 1)));
    EXPECT_EQ(host.Now(), kStart.addSecs(60));
}

TEST(VirtualTimerHost, FiresInTimeOrderAndHonoursChangesMadeByHandlers) {
    VirtualTimerHost host(kStart);
    QStringList log;
    std::unique_ptr<Timer> a, b, once;
    a = host.CreateTimer("a", 300, [&] { log << QString("a%1").arg(host.ElapsedMs()); });
    b = host.CreateTimer("b", 200, [&] { log << QString("b%1").arg(host.ElapsedMs()); });
    once = host.CreateTimer("once", 500, [&] {
        once->SetEnabled(false);
        b->SetEnabled(false);
        log << QString("once%1").arg(host.ElapsedMs());
    });
    a->SetEnabled(true);
    b->SetEnabled(true);
    once->SetEnabled(true);
    host.Advance(1000);
    // A new interval counts from when it is set: 1000 + 500; an interval of 0 never fires.
    a->SetInterval(500);
    host.Advance(499);
    b->SetEnabled(true);
    b->SetInterval(0);
    host.Advance(1000);
    EXPECT_EQ(log.join(' ').toStdString(), "b200 a300 b400 once500 a600 a900 a1500 a2000");
}

}  // namespace
