#include "player/logging_player_link.h"

#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/mock_player_link.h"

namespace {

// A deck found stopped after playing is reported as ended once; a deck stopped by a
// command, or handed a new file, is not.
TEST(LoggingPlayerLink, ReportsCommandsAndEndsTheDeckReachedByItself) {
    VirtualTimerHost host(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    SimulatedPlayerLink sim(host, host,
                            [](const QString& path) { return path == "long" ? 600u : 30u; });
    QStringList events;
    LoggingPlayerLink link(sim);
    QObject::connect(&link, &LoggingPlayerLink::DeckEvent,
                     [&](int deck, const QString& e, const QString& d) {
                         events << QString("%1 %2 %3").arg(deck).arg(e, d).trimmed();
                     });
    for (int deck = 0; deck < 2; ++deck) link.Launch(deck, {});

    link.HandOver(0, "short");
    link.PlayState(0);
    host.Advance(31'000);
    link.PlayState(0);
    link.PlayState(0);  // still stopped: no second report
    link.HandOver(1, "long");
    link.PlayState(1);
    link.SetVolume(1, 127);
    link.JumpTo(1, 5000);
    link.Stop(1);
    link.PlayState(1);
    EXPECT_EQ(events, QStringList({"0 load short", "0 ended", "1 load long", "1 volume 127",
                                   "1 jump 5000", "1 stop"}));
}

// A dead player is reported once, with why, instead of an end, or before the next file.
TEST(LoggingPlayerLink, ReportsADeadDeckOnceInsteadOfAnEnd) {
    testing::NiceMock<MockPlayerLink> inner;
    PlayerLink::Deaths deaths;
    ON_CALL(inner, PlayState).WillByDefault([&](int) { return deaths.count ? 0 : 1; });
    ON_CALL(inner, DeathsOf).WillByDefault([&](int) { return deaths; });
    QStringList events;
    LoggingPlayerLink link(inner);
    QObject::connect(&link, &LoggingPlayerLink::DeckEvent,
                     [&](int deck, const QString& e, const QString& d) {
                         events << QString("%1 %2 %3").arg(deck).arg(e, d);
                     });
    link.HandOver(1, "a");
    link.PlayState(1);
    deaths = {1, "hung"};
    link.PlayState(1);
    link.PlayState(1);
    deaths = {2, "gone"};
    link.HandOver(1, "b");
    EXPECT_EQ(events, QStringList({"1 load a", "1 dead hung", "1 dead gone", "1 load b"}));
}

}  // namespace
