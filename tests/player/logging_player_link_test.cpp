#include "player/logging_player_link.h"

#include <gtest/gtest.h>

#include <array>

#include "support/mock_player_link.h"

namespace {

// A deck found stopped after playing is reported as ended once; a deck stopped by a
// command, or handed a new file, is not. A dead player is reported once, with why,
// instead of an end, or before the next file.
TEST(LoggingPlayerLink, ReportsCommandsAndEndsTheDeckReachedByItselfOrItsDeath) {
    testing::NiceMock<MockPlayerLink> inner;
    std::array<int, 2> state{};
    PlayerLink::Deaths deaths;
    ON_CALL(inner, PlayState).WillByDefault([&](int deck) { return state[deck]; });
    ON_CALL(inner, DeathsOf).WillByDefault([&](int deck) {
        return deck == 1 ? deaths : PlayerLink::Deaths{};
    });
    QStringList events;
    LoggingPlayerLink link(inner);
    QObject::connect(&link, &LoggingPlayerLink::DeckEvent,
                     [&](int deck, const QString& e, const QString& d) {
                         events << QString("%1 %2 %3").arg(deck).arg(e, d).trimmed();
                     });
    const auto look = [&](int deck, int now) {
        state[deck] = now;
        link.PlayState(deck);
    };
    link.HandOver(0, "short");
    look(0, PlayerLink::kPlaying);
    look(0, PlayerLink::kStopped);
    look(0, PlayerLink::kStopped);  // still stopped: no second report
    link.HandOver(1, "long");
    look(1, PlayerLink::kPlaying);
    link.SetVolume(1, 127);
    link.JumpTo(1, 5000);
    link.Stop(1);
    look(1, PlayerLink::kStopped);
    link.HandOver(1, "a");
    look(1, PlayerLink::kPlaying);
    deaths = {1, "hung"};
    look(1, PlayerLink::kStopped);
    look(1, PlayerLink::kStopped);
    deaths = {2, "gone"};
    link.HandOver(1, "b");
    EXPECT_EQ(events,
              QStringList({"0 load short", "0 ended", "1 load long", "1 volume 127", "1 jump 5000",
                           "1 stop", "1 load a", "1 dead hung", "1 dead gone", "1 load b"}));
}

}  // namespace
