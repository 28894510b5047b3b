// A jump sent to a real mpv deck on the null audio output, read back from mpv itself.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "platform/mpv_player_link.h"
#include "support/mpv_ask.h"
#include "support/run_events.h"
#include "support/tone_file.h"

namespace {

// At 0:04 of a 1:16 track, 30 s back must start the track again, not play its end.
TEST(MpvJump, AJumpBackBeforeTheStartPlaysFromTheStart) {
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    QTemporaryDir dir;
    ASSERT_EQ(WriteToneMp3(dir.filePath("tone.mp3"), 440, 76), "");
    MpvPlayerLink::Options options;
    options.socketFolder = dir.path();
    options.extraArguments = {"--ao=null"};
    options.endWithThisProcess = true;
    MpvPlayerLink link(std::move(options));
    link.Launch(0, "");
    ASSERT_TRUE(RunEventsUntil([&] { return link.Find(0); }, 5000));
    link.HandOver(0, dir.filePath("tone.mp3"));
    ASSERT_TRUE(RunEventsUntil([&] { return link.LengthSec(0) == 76; }, 5000));
    // mpv's own position; none (-1) while it seeks.
    const auto mpvSeconds = [&] { return AskMpv(link.SocketPath(0), "time-pos").toDouble(-1); };
    link.JumpTo(0, 4000);
    ASSERT_TRUE(RunEventsUntil([&] { return mpvSeconds() >= 4.0; }, 3000));

    link.JumpTo(0, link.PositionMs(0) - 30'000);
    EXPECT_TRUE(RunEventsUntil([&] { return mpvSeconds() >= 0 && mpvSeconds() < 1.0; }, 3000))
        << "mpv is at " << mpvSeconds() << " s";
    EXPECT_LT(link.PositionMs(0), 1000);
}

}  // namespace
