#include "player/simulated_player_link.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/virtual_timer_host.h"
#include "support/mpeg_builder.h"

namespace {

class SimulatedPlayerLinkTest : public ::testing::Test {
protected:
    SimulatedPlayerLinkTest() {
        for (int deck = 0; deck < 2; ++deck) link.Launch(deck, {});
        QObject::connect(&link, &SimulatedPlayerLink::DeckEvent,
                         [this](int deck, const QString& event, const QString& detail) {
                             events.push_back(QString("%1 %2 %3 %4")
                                                  .arg(host.ElapsedMs())
                                                  .arg(deck)
                                                  .arg(event, detail)
                                                  .trimmed());
                         });
    }
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 0))};
    SimulatedPlayerLink link{host, host};
    QTemporaryDir dir;
    std::vector<QString> events;
};

TEST_F(SimulatedPlayerLinkTest, AHandedOverFilePlaysItsLengthThenReadsStopped) {
    const QString path = dir.filePath("Band - Tune.mp3");
    WriteCbrMpeg(path, 10);
    EXPECT_EQ(link.LengthSec(1), -1);
    link.HandOver(1, path);
    host.Advance(9'999);
    EXPECT_EQ(link.PlayState(1), PlayerLink::kPlaying);
    EXPECT_EQ(link.PositionMs(1), 9'999);
    EXPECT_EQ(link.LengthSec(1), 10);
    host.Advance(1);
    EXPECT_EQ(link.PlayState(1), PlayerLink::kStopped);
    EXPECT_EQ(events.back(), "10000 1 ended");
}

TEST_F(SimulatedPlayerLinkTest, PauseAndJumpMoveTheEnd) {
    const QString path = dir.filePath("a.mp3");
    WriteCbrMpeg(path, 60);
    link.HandOver(0, path);
    host.Advance(10'000);
    link.TogglePause(0);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kPaused);
    host.Advance(100'000);
    EXPECT_EQ(link.PositionMs(0), 10'000);
    link.TogglePause(0);
    link.JumpTo(0, 55'000);
    host.Advance(4'999);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kPlaying);
    host.Advance(1);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kStopped);
}

TEST_F(SimulatedPlayerLinkTest, MissingFileNeverStartsAndUnansweringDecksReadZero) {
    link.HandOver(0, dir.filePath("missing.mp3"));
    EXPECT_EQ(link.PlayState(0), PlayerLink::kStopped);
    EXPECT_LT(link.LengthSec(0), 0);

    link.Kill(1);
    EXPECT_FALSE(link.Find(1));
    EXPECT_EQ(link.PlayState(1), 0);
    EXPECT_EQ(link.PositionMs(1), 0);
    EXPECT_EQ(link.LengthSec(1), 0);

    SimulatedPlayerLink silent(host, host);
    silent.SetAnswering(0, false);
    silent.Launch(0, {});
    EXPECT_FALSE(silent.Find(0));
}

}  // namespace
