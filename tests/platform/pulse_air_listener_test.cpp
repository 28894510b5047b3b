#include "platform/pulse_air_listener.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>

#include "support/fake_air_listener.h"
#include "support/files.h"
#include "support/run_events.h"

namespace {

double Db(double amplitude) { return 20 * std::log10(amplitude); }

// No sound server: Start answers at once, and says why.
TEST(PulseAirListener, WithoutASoundServerStartFailsAtOnce) {
    QTemporaryDir nowhere;
    ScopedEnvironmentVariable server("PULSE_SERVER", "unix:" + nowhere.filePath("none"));
    PulseAirListener listener;
    bool heard = false;
    QElapsedTimer took;
    took.start();
    const Result started = listener.Start({}, [&](const float*, int, qint64) { heard = true; });
    EXPECT_LT(took.elapsed(), 1'000);
    EXPECT_FALSE(started.ok());
    EXPECT_TRUE(started.message().contains("no sound server")) << started.message().toStdString();
    EXPECT_FALSE(heard);
}

// A server of the test's own with one null output, "mix": the listener hears a tone
// played into it, at its level and at the time it was played.
TEST(PulseAirListener, HearsWhatAPrivateServerPlaysAndFindsItAgainAfterItDies) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
        QStandardPaths::findExecutable("paplay").isEmpty())
        GTEST_SKIP() << "needs pulseaudio and paplay";
    QTemporaryDir dir;
    const QString socket = dir.filePath("native");
    QProcess daemon;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"XDG_RUNTIME_DIR", "HOME"})
        environment.insert(variable, dir.path());
    daemon.setProcessEnvironment(environment);
    daemon.setChildProcessModifier(
        [] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });  // a killed test's too
    daemon.start("pulseaudio",
                 {"-n", "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                  "--load=module-null-sink sink_name=mix", "--daemonize=no", "--exit-idle-time=-1",
                  "--use-pid-file=no", "--log-target=stderr"});
    ASSERT_TRUE(RunEventsUntil(
        [&] {
            QLocalSocket client;
            client.connectToServer(socket);
            return client.waitForConnected(100);
        },
        10'000));
    ScopedEnvironmentVariable server("PULSE_SERVER", "unix:" + socket);

    PulseAirListener listener;
    const Result missing = listener.Start("nothing.monitor", [](const float*, int, qint64) {});
    EXPECT_TRUE(missing.message().contains("no source \"nothing.monitor\""))
        << missing.message().toStdString();

    const double amplitude = 0.25;
    const std::vector<float> tone = ToneFrames(8'000, 440, 1, amplitude, amplitude);
    WriteBytes(dir.filePath("tone.raw"), QByteArray(reinterpret_cast<const char*>(tone.data()),
                                                    qsizetype(tone.size() * sizeof(float))));
    AirMeter meter(listener.Rate());
    ASSERT_EQ(listener.Start({}, [&](auto... a) { meter.Add(a...); }), Result::Ok());
    ASSERT_TRUE(RunEventsUntil([&] { return meter.SilentSinceMs(-45) > 0; }, 5'000));
    const qint64 playedMs = QDateTime::currentMSecsSinceEpoch();
    ASSERT_EQ(QProcess::execute("paplay", {"--raw", "--format=float32le", "--rate=8000",
                                           "--channels=2", dir.filePath("tone.raw")}),
              0);
    const qint64 endedMs = QDateTime::currentMSecsSinceEpoch();
    ASSERT_TRUE(RunEventsUntil([&] { return meter.HeardUntilMs() >= endedMs; }, 5'000));
    listener.Stop();
    const QList<AirWindow> windows = meter.Windows(playedMs - 1'000, endedMs);
    const auto loud = std::find_if(windows.begin(), windows.end(),
                                   [](const AirWindow& w) { return w.LevelDb() > -45; });
    ASSERT_GT(
        std::find_if(loud, windows.end(), [](const AirWindow& w) { return w.LevelDb() <= -45; }) -
            loud,
        90);
    EXPECT_GT(loud->atMs - playedMs, -20);  // not before paplay was started
    EXPECT_LT(loud->atMs - playedMs, 500);
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_NEAR((loud + 50)->rmsDb[ch], Db(amplitude / std::sqrt(2)), 0.5);

    // The server dies and comes back: the listener hears it again on its own.
    ASSERT_EQ(listener.Start({}, [&](auto... a) { meter.Add(a...); }), Result::Ok());
    daemon.kill();
    daemon.waitForFinished();
    const qint64 lostMs = QDateTime::currentMSecsSinceEpoch();
    daemon.start();
    EXPECT_TRUE(RunEventsUntil([&] { return meter.HeardUntilMs() > lostMs + 500; }, 5'000));
    listener.Stop();
    daemon.terminate();
    daemon.waitForFinished(3'000);
}

}  // namespace
