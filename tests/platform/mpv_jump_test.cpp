// A jump sent to a real mpv deck on the null audio output, read back from mpv itself.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "platform/mpv_player_link.h"
#include "support/mpv_ask.h"
#include "support/run_events.h"
#include "support/tone_file.h"

namespace {

// mpv's own position; none (-1) while it seeks.
double TimePos(const QString& socket) { return AskMpv(socket, "time-pos").toDouble(-1); }

// At 0:04 of a 1:16 track, 30 s back must start the track again, not play its end.
TEST(MpvJump, AJumpBackBeforeTheStartPlaysFromTheStart) {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "test_platform";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.mp3");
    ASSERT_EQ(WriteToneMp3(tone, 440, 76), "");
    MpvPlayerLink::Options options;
    options.socketFolder = dir.path();
    options.extraArguments = {"--ao=null"};
    options.endWithThisProcess = true;
    MpvPlayerLink link(std::move(options));
    link.Launch(0, "");
    ASSERT_TRUE(RunEventsUntil([&] { return link.Find(0); }, 5000));
    const QString socket = link.SocketPath(0);

    link.HandOver(0, tone);
    ASSERT_TRUE(RunEventsUntil([&] { return link.LengthSec(0) == 76; }, 5000));
    link.JumpTo(0, 4000);
    ASSERT_TRUE(RunEventsUntil([&] { return TimePos(socket) >= 4.0; }, 3000));

    link.JumpTo(0, link.PositionMs(0) - 30'000);
    EXPECT_TRUE(RunEventsUntil(
        [&] {
            const double t = TimePos(socket);
            return t >= 0 && t < 1.0;
        },
        3000))
        << "mpv is at " << TimePos(socket) << " s";
    EXPECT_LT(link.PositionMs(0), 1000);
    EXPECT_EQ(link.PlayState(0), PlayerLink::kPlaying);
}

}  // namespace
