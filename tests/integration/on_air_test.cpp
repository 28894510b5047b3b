// The station on air: the real engine, two mpv decks and a calendar of tones of
// different pitches, played into a private null sink whose monitor is recorded from the
// start. The recording, not the engine's state, decides.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <functional>

#include "app/settings.h"
#include "app/station.h"
#include "audio_analysis.h"
#include "platform/mpv_player_link.h"
#include "platform/qt_timer_host.h"
#include "platform/system_clock.h"
#include "private_pulse.h"
#include "support/station_folder.h"
#include "support/tone_file.h"

namespace {

constexpr int kRate = 44100;
constexpr int kWindow = kRate / 20;  // 50 ms
constexpr double kWindowSec = 0.05;
constexpr double kSilentDb = -40;
constexpr int kMixingSeconds = 4;

struct Tone {
    double hz;
    int seconds;
};
// Pitches far apart in the analysis' bins and in no simple ratio to one another.
constexpr Tone kTones[] = {{330, 10}, {520, 11}, {740, 9}, {960, 12}, {1180, 9}};
constexpr int kToneCount = int(std::size(kTones));

bool RunUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

class OnAirTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_on_air";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) s_app = new QCoreApplication(argc, argv);
    }

    static inline QCoreApplication* s_app = nullptr;
};

TEST_F(OnAirTest, TonesCrossfadeWithoutSilence) {
    PrivatePulse pulse;
    ASSERT_EQ(pulse.Start(), "");
    pulse.UseInThisProcess();

    StationFolder folder;
    QStringList paths;
    for (const Tone& tone : kTones) {
        paths << folder.MusicPath() + QStringLiteral("Tone %1 Hz.mp3").arg(tone.hz);
        ASSERT_EQ(WriteToneMp3(paths.last(), tone.hz, tone.seconds), "");
    }
    folder.WriteList("tones", paths);
    QList<StationFolder::Program> week;
    for (int day = 0; day < 7; ++day) week.append({day, "00:00", "24:00", "tones"});
    folder.WriteDays(week);

    const QString rawPath = pulse.Folder() + "/mix.raw";
    ASSERT_EQ(pulse.StartRecorder(rawPath), "");
    QStringList started;
    {
        SystemClock clock;
        QtTimerHost timers;
        MpvPlayerLink::Options options;
        options.socketFolder = pulse.Folder();
        options.extraArguments = {"--ao=pulse"};
        options.endWithThisProcess = true;
        MpvPlayerLink link(options);
        Station station(folder.StartFolder(), clock, timers, link);
        station.Engine().OnEntryStarted = [&](const QString& entry) { started << entry; };
        Settings settings;
        // Time for both mpv processes to open their sockets on a busy machine.
        settings.WaitSecInBeggining = 3;
        settings.MixingTime = QString::number(kMixingSeconds);
        EXPECT_EQ(station.StartUp(settings), QStringList());

        int budgetMs = 20000;
        for (const Tone& tone : kTones) budgetMs += tone.seconds * 1000;
        const bool done = RunUntil(
            [&] {
                return started.size() == kToneCount && link.PlayState(0) == PlayerLink::kStopped &&
                       link.PlayState(1) == PlayerLink::kStopped;
            },
            budgetMs);
        EXPECT_TRUE(done) << "started: " << started.join(", ").toStdString()
                          << "; problem: " << link.Problem().toStdString();
        station.Close(nullptr);
    }
    pulse.StopRecorder();
    ASSERT_EQ(started.size(), kToneCount);

    QFile raw(rawPath);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const std::vector<float> samples = audio_analysis::MonoFromS16Stereo(raw.readAll());
    std::vector<audio_analysis::Heard> heard;
    for (const Tone& tone : kTones) {
        const auto span = audio_analysis::HeardSpan(
            audio_analysis::PitchLevelDb(samples, kWindow, tone.hz, kRate), kSilentDb, 2);
        ASSERT_TRUE(span) << tone.hz << " Hz never heard";
        heard.push_back(*span);
        std::printf("%6.0f Hz heard %6.2f s to %6.2f s\n", tone.hz, span->first * kWindowSec,
                    span->last * kWindowSec);
    }

    const auto loudness = audio_analysis::LoudnessDb(samples, kWindow);
    const auto quiet =
        audio_analysis::QuietWindows(loudness, kSilentDb, heard.front().first, heard.back().last);
    EXPECT_TRUE(quiet.empty()) << quiet.size() << " silent windows, the first at "
                               << (quiet.empty() ? 0 : quiet.front() * kWindowSec) << " s";

    for (int k = 0; k + 1 < kToneCount; ++k) {
        SCOPED_TRACE(
            QStringLiteral("%1 Hz to %2 Hz").arg(kTones[k].hz).arg(kTones[k + 1].hz).toStdString());
        // Position and length are whole seconds to the engine, so a track of N s (and a
        // few ms) hands over at position N - mixing + 1, as a 3:30 track with 20 s of
        // mixing does at 3:11; the tick may see that up to 400 ms late.
        const double due = kTones[k].seconds - kMixingSeconds + 1;
        const double gap = (heard[k + 1].first - heard[k].first) * kWindowSec;
        EXPECT_GE(gap, due - 0.5);
        EXPECT_LE(gap, due + 0.4 + 0.5);
        const double overlap = (heard[k].last - heard[k + 1].first) * kWindowSec;
        EXPECT_LE(overlap, 2.0) << "the old tone lingers after the crossfade";
        EXPECT_GT(overlap, 0.0) << "the tones do not overlap";
    }
    const double last = (heard.back().last - heard.back().first) * kWindowSec;
    EXPECT_NEAR(last, kTones[kToneCount - 1].seconds, 0.3) << "the last tone plays to its end";
}

}  // namespace
