#include "platform/pulse_line_in_control.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "player/line_in.h"
#include "support/engine_rig.h"
#include "support/files.h"
#include "support/run_events.h"

namespace {

// No sound server: one message, however often the control looks for it again, and the
// line-in button still makes the deck room.
TEST(PulseLineInControl, WithoutASoundServerItTellsOnceAndTheDeckStillFades) {
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    QTemporaryDir nowhere;
    ScopedEnvironmentVariable server("PULSE_SERVER", "unix:" + nowhere.filePath("none"));
    EngineRig rig;
    rig.StartLoop();
    PulseLineInControl control;
    LineIn line(rig.engine.BarsForTickParts(), rig.host, control);
    QStringList problems;
    QObject::connect(&line, &LineIn::Problem, [&](const QString& m) { problems << m; });
    line.StartUp();
    line.SetButtonDown(true);
    rig.Advance(2'000);
    // Past several looks again (every half second after the failure).
    RunEventsUntil([] { return false; }, 2'600);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("no sound server")) << problems[0].toStdString();
    EXPECT_FALSE(control.Routed());
    const VolumeBars& bars = rig.engine.Bars();
    EXPECT_EQ(bars.Volume(0), bars.Level(VolumeBars::LevelBox::EditFadeOut0));
    EXPECT_EQ(line.Position(), 0);
}

}  // namespace
