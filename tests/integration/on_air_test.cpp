// The station on air: the real engine, two mpv decks and a calendar of tones of
// different pitches, played into a private null sink whose monitor is recorded from the
// start. The recording, not the engine's state, decides.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "on_air_rig.h"
#include "platform/mpv_protocol.h"
#include "platform/pulse_line_in_control.h"
#include "player/decks.h"
#include "support/mpv_ask.h"
#include "support/run_events.h"
#include "support/station_rooms.h"
#include "support/tone_file.h"

namespace {

// A deck's mpv killed (or hung) on air, mid-track: the deck comes back by itself, the
// station puts the next entry on air at the next start on the other deck, and the revived
// deck takes its turns in the crossfades after that. Every other hand-over of the run is a
// crossfade without silence. The pitches are far apart in the analysis' bins and in no
// simple ratio to one another.
const std::vector<Tone> kTones = {{330, 8}, {520, 11}, {740, 8}, {960, 8}};
// The tone on air when its deck is killed, 5 s into it: past the quiet ticks after its
// start, seconds before its mixing point. The station's tick, how late a timer may fire
// and how long a deck may take to open a file and be heard on a busy machine.
constexpr int kKilled = 1, kKillAtMs = 5000;
constexpr int kTickMs = 400, kLateMs = 500, kOpenFileMs = 1000;
// How the player is lost (killed, or hung); when its deck is back, and the next tone heard after
// the signal and the cut. A hung player is found out in 2 s, and replaced a tick later.
struct Loss {
    const char* name;
    int signal, backWithinMs;
    double nextAfterSignalSec, nextAfterCutSec;
};
const Loss kLosses[] = {{"Killed", SIGKILL, 2000, (kTickMs + kOpenFileMs) / 1000.0 + 0.5,
                         (kTickMs + kOpenFileMs) / 1000.0},
                        {"Stopped", SIGSTOP, 5000, 3.0, 3.0}};
// gtest names the case by this instead of dumping the struct's bytes, a pointer included.
void PrintTo(const Loss& loss, std::ostream* out) { *out << loss.name; }

bool ProcessGone(qint64 pid) { return ::kill(pid_t(pid), 0) == -1 && errno == ESRCH; }

// However the test ends: a stopped mpv would not end with its parent.
struct EndIfStillThere {
    qint64 pid;
    ~EndIfStillThere() { ProcessGone(pid) || ::kill(pid_t(pid), SIGKILL); }
};
class DeckLossTest : public OnAirTest, public ::testing::WithParamInterface<Loss> {};

TEST_P(DeckLossTest, DeckComesBackAndMusicGoesOn) {
    const Loss& loss = GetParam();
    ASSERT_EQ(GoOnAir(kTones), "");
    ASSERT_TRUE(RunEventsUntil(
        [&] {
            return m_started.size() == kKilled + 1 &&
                   Link().PositionMs(m_startedDeck.back()) >= kKillAtMs;
        },
        30000))
        << "started: " << m_started.join(", ").toStdString();
    const int deck = m_startedDeck[kKilled];
    const int other = 1 - deck;
    const qint64 killedPid = Link().ProcessId(deck), otherPid = Link().ProcessId(other);
    ASSERT_TRUE(killedPid > 0 && otherPid > 0);
    const double killedAtSec = RecordedSeconds();
    const qint64 killedAtMs = OnAirMs();
    const auto sinceKill = [&] { return OnAirMs() - killedAtMs; };
    const EndIfStillThere guard{killedPid};
    ASSERT_EQ(::kill(pid_t(killedPid), loss.signal), 0);
    // Until the link has seen the loss it still reads the deck as found and playing.
    qint64 stoppedMs = -1;
    QJsonValue volumeAtReturn;
    const bool back = RunEventsUntil(
        [&] {
            if (stoppedMs < 0 && Link().PlayState(deck) == PlayerLink::kStopped)
                stoppedMs = sinceKill();
            const qint64 pid = Link().ProcessId(deck);
            if (stoppedMs < 0 || pid == 0 || pid == killedPid) return false;
            volumeAtReturn = AskMpv(Link().SocketPath(deck), "volume");
            return volumeAtReturn.isDouble() && Link().Find(deck);
        },
        loss.backWithinMs + 3000);
    const qint64 backMs = sinceKill();
    ASSERT_TRUE(back) << "stopped after " << stoppedMs
                      << " ms; problem: " << Link().Problem().toStdString();
    const qint64 revivedPid = Link().ProcessId(deck);
    EXPECT_LE(backMs, loss.backWithinMs);
    EXPECT_TRUE(ProcessGone(killedPid)) << "the lost mpv was ended";
    // It comes back at the volume the crossfade from it had reached, not at mpv's own.
    const VolumeBars& bars = OnAir().Engine().Bars();
    const auto mpvVolume = [](int percent) { return mpv::MpvVolume(Decks::PlayerVolume(percent)); };
    EXPECT_GE(volumeAtReturn.toDouble(),
              mpvVolume(bars.Level(VolumeBars::LevelBox::EditFadeOut1)) - 0.001);
    EXPECT_LE(volumeAtReturn.toDouble(),
              mpvVolume(bars.Level(VolumeBars::LevelBox::EditFadeIn0)) + 0.001);
    // A stopped current deck makes the next tick start the next entry, on the other deck.
    ASSERT_TRUE(RunEventsUntil([&] { return m_started.size() > kKilled + 1; }, 3000));
    const qint64 nextMs = m_startedMs[kKilled + 1] - killedAtMs;
    EXPECT_EQ(m_startedDeck[kKilled + 1], other);
    // Started by the stop, at the first tick that saw it, not at the track's mixing point
    // (seconds away). The test looks at the deck less often than the tick does, so
    // stoppedMs is when the test, not the station, saw the stop: only the bound after it
    // holds.
    EXPECT_LE(nextMs, stoppedMs + kTickMs + kLateMs)
        << "read stopped after " << stoppedMs << " ms, back after " << backMs << " ms";
    // Once that crossfade is over, the revived deck holds the level it was last given.
    ASSERT_TRUE(RunEventsUntil(
        [&] {
            return !bars.Running(VolumeBars::Fade::Timer2) &&
                   !bars.Running(VolumeBars::Fade::TimerFadeOut1);
        },
        5000));
    // The station's last step and this question come over different connections, which
    // mpv need not answer in order.
    const double lastGiven = mpvVolume(bars.Volume(1));
    double held = -1;
    EXPECT_TRUE(RunEventsUntil(
        [&] {
            held = AskMpv(Link().SocketPath(deck), "volume").toDouble();
            return std::abs(held - lastGiven) < 0.001;
        },
        1000))
        << "mpv holds " << held << ", the station gave " << lastGiven;
    RunToTheEnd();
    EXPECT_TRUE(OnAir().Engine().MainLoopRunning());
    EXPECT_EQ(Link().ProcessId(other), otherPid) << "the other deck was left alone";
    EXPECT_EQ(Link().ProcessId(deck), revivedPid) << "the deck came back once";
    ASSERT_EQ(m_reports.size(), 1) << m_reports.join('\n').toStdString();
    EXPECT_TRUE(m_reports[0].contains(QStringLiteral("WinampRadio%1").arg(deck)));
    const std::vector<float> samples = GoOffAir();
    for (const qint64 pid : {killedPid, otherPid, revivedPid})
        EXPECT_TRUE(ProcessGone(pid)) << "mpv " << pid << " outlived the station";
    ASSERT_EQ(m_started.size(), qsizetype(kTones.size()));
    for (int k = kKilled + 1; k < int(kTones.size()); ++k)
        EXPECT_EQ(m_startedDeck[k], (k - kKilled) % 2 ? other : deck)
            << "the decks take turns after the kill";
    const std::vector<Heard> heard = HeardSpans(samples);
    ASSERT_EQ(heard.size(), kTones.size());
    const double cutSec = heard[kKilled].last * kWindowSec;
    const double nextSec = heard[kKilled + 1].first * kWindowSec;
    // The recorder writes within a few tens of milliseconds of the sink.
    EXPECT_NEAR(cutSec, killedAtSec, 0.5) << "the tone goes on after its deck was killed";
    ExpectSeamless(samples, heard, kKilled);
    // The next tick, and the other deck opening the file on a busy machine (up to 0.8 s
    // measured between the cut and the next tone under a load of 10 on two cores).
    EXPECT_LE(nextSec - cutSec, loss.nextAfterCutSec);
    EXPECT_LE(nextSec - killedAtSec, loss.nextAfterSignalSec);
    // Every tone, the revived deck's included, is heard at the same level once faded in.
    const int fadedIn = int(1.5 / kWindowSec);
    std::vector<double> steady;
    for (int k = 0; k < int(kTones.size()); ++k) {
        const int to =
            k + 1 < int(kTones.size()) && k != kKilled ? heard[k + 1].first : heard[k].last;
        steady.push_back(
            SteadyLevelDb(PitchLevelDb(samples, kTones[k].hz), heard[k].first + fadedIn, to));
    }
    const auto [low, high] = std::minmax_element(steady.begin(), steady.end());
    EXPECT_LE(*high - *low, 1.0) << ::testing::PrintToString(steady) << " dB";
}

// The line input: a second null sink plays a tone into the server, and its monitor is the
// source the station routes to the mix while the music makes room.
class LineInOnAirTest : public OnAirTest {
protected:
    static constexpr double kLineHz = 1500;
    QString PrepareServer() override {
        if (QProcess::execute("pactl", {"-s", RigServer(), "load-module", "module-null-sink",
                                        "sink_name=line"}) != 0)
            return QStringLiteral("the line sink cannot be loaded");
        const QString tone = m_toneDir.filePath("line.mp3");
        if (QString error = WriteToneMp3(tone, kLineHz, 5); !error.isEmpty()) return error;
        // Once more on a restarted server: its line player lost the old one.
        m_line.kill();
        m_line.waitForFinished(3000);
        m_line.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PULSE_SERVER", RigServer());
        m_line.setProcessEnvironment(environment);
        m_line.start("mpv", {"--no-config", "--no-video", "--really-quiet", "--ao=pulse",
                             "--audio-device=pulse/line", "--loop-file=inf", tone});
        m_lineInControl = &m_control;
        m_lineInSource = QStringLiteral("line.monitor");
        return m_line.waitForStarted(5000) ? QString() : m_line.errorString();
    }
    void TearDown() override {
        m_line.kill();
        m_line.waitForFinished(3000);
        OnAirTest::TearDown();
    }
    static QString Modules() {
        QProcess pactl;
        pactl.start("pactl", {"list", "short", "modules"});
        pactl.waitForFinished(5000);
        return QString::fromLocal8Bit(pactl.readAllStandardOutput());
    }
    QTemporaryDir m_toneDir;
    QProcess m_line;
    PulseLineInControl m_control;
};

TEST_F(LineInOnAirTest, TheLineComesInOverTheMusicAndGoesAwayLeavingNoRoute) {
    ASSERT_EQ(GoOnAir({{330, 20}}), "");
    QStringList problems;
    QObject::connect(&OnAir(), &Station::Problem, [&](const QString& m) { problems << m; });
    ASSERT_TRUE(RunEventsUntil(
        [&] {
            return m_control.Routed() && !m_started.isEmpty() &&
                   Link().PositionMs(m_startedDeck.front()) > 3000;
        },
        15000));
    EXPECT_TRUE(Modules().contains("module-loopback"));
    const auto waitMs = [](int ms) { RunEventsUntil([] { return false; }, ms); };
    const int onWindow = int(RecordingMs() / 50);
    StationRooms::LineInput(OnAir()).SetButtonDown(true);
    waitMs(3500);
    const int offWindow = int(RecordingMs() / 50);
    StationRooms::LineInput(OnAir()).SetButtonDown(false);
    // The music's level is compared once its fade back is over, however late a busy
    // machine runs it, over a second of steady sound.
    const auto fadingBack = [&] {
        return OnAir().LineInput().Fading() ||
               OnAir().Engine().Bars().Running(VolumeBars::Fade::Timer2);
    };
    RunEventsUntil([&] { return !fadingBack(); }, 10000);
    EXPECT_FALSE(fadingBack()) << "the music's fade back never ends";
    const int fadedWindow = int(RecordingMs() / 50);
    waitMs(std::max(1500, 3000 - int((fadedWindow - offWindow) * 50)));
    const int endWindow = int(RecordingMs() / 50);
    const std::vector<float> samples = GoOffAir();
    EXPECT_FALSE(Modules().contains("module-loopback")) << Modules().toStdString();
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();

    const std::vector<double> line = PitchLevelDb(samples, kLineHz);
    const std::vector<double> music = PitchLevelDb(samples, 330);
    ASSERT_GE(int(line.size()), endWindow - 2);
    const auto loudest = [&](int from, int to) {
        return *std::max_element(line.begin() + from, line.begin() + to);
    };
    const int within = int(1.5 / kWindowSec);
    EXPECT_LT(loudest(onWindow - 20, onWindow), kSilentDb) << "the line is closed at first";
    EXPECT_GT(SteadyLevelDb(line, onWindow + within, offWindow), kSilentDb + 20);
    int heardFrom = onWindow;
    while (heardFrom < offWindow && line[heardFrom] <= kSilentDb) ++heardFrom;
    EXPECT_LE(heardFrom - onWindow, within) << "the line is heard late";
    EXPECT_LT(loudest(offWindow + within, endWindow - 2), kSilentDb) << "the line stays open";
    // The music makes room for the line, and takes its place again.
    const double before = SteadyLevelDb(music, onWindow - 20, onWindow);
    const double under = SteadyLevelDb(music, onWindow + within, offWindow);
    const double after = SteadyLevelDb(music, fadedWindow + 10, endWindow - 2);
    EXPECT_GT(under, kSilentDb);
    EXPECT_LT(under, before - 6);
    EXPECT_NEAR(after, before, 1.5);
}

// The sound server killed mid-track and started again on the same socket: the deck on air
// reopens its output on the new server, keeping its place and its volume, and the line
// input is routed again, closed as it was. What the old server played was recorded from
// it; the rest is recorded from the new one, and the silence runs from the kill to the
// music heard there.
TEST_F(LineInOnAirTest, MusicAndLineComeBackWhenTheSoundServerIsRestarted) {
    constexpr double kMusicHz = 330;
    m_playerArguments.clear();  // as installed: mpv finds the server itself
    ASSERT_EQ(GoOnAir({{kMusicHz, 40}}), "");
    QStringList problems;
    QObject::connect(&OnAir(), &Station::Problem, [&](const QString& m) { problems << m; });
    ASSERT_TRUE(RunEventsUntil(
        [&] {
            return m_control.Routed() && !m_started.isEmpty() &&
                   Link().PositionMs(m_startedDeck.front()) > 2500;
        },
        15000));
    const int deck = m_startedDeck.front();
    const int killedAtPositionMs = Link().PositionMs(deck);
    const qint64 killedMs = OnAirMs();
    ASSERT_EQ(RestartServer(), "");
    const qint64 upMs = ServerBackMs() - killedMs;
    const qint64 recordingFromMs = OnAirMs() - RecordingMs() - killedMs;
    ASSERT_TRUE(RunEventsUntil([&] { return m_control.Routed(); }, 5000))
        << problems.join('\n').toStdString();
    const qint64 routedMs = OnAirMs() - killedMs;
    EXPECT_TRUE(Modules().contains("module-loopback")) << Modules().toStdString();
    const auto waitMs = [](int ms) { RunEventsUntil([] { return false; }, ms); };
    waitMs(1000);
    const int onWindow = int(RecordingMs() / 50);
    StationRooms::LineInput(OnAir()).SetButtonDown(true);
    waitMs(2500);
    const int offWindow = int(RecordingMs() / 50);
    // The track played on where it was, on its own deck, with nothing started in its place.
    EXPECT_GT(Link().PositionMs(deck), killedAtPositionMs + 4000);
    EXPECT_EQ(Link().PlayState(1 - deck), PlayerLink::kStopped);
    EXPECT_EQ(m_started.size(), 1);
    const std::vector<float> before = ReadRecording("mix.raw");
    const std::vector<float> after = GoOffAir();

    const std::vector<Heard> heardBefore = HeardSpans(before), heardAfter = HeardSpans(after);
    ASSERT_EQ(heardBefore.size(), 1u);
    ASSERT_EQ(heardAfter.size(), 1u);
    const qint64 silenceMs = recordingFromMs + heardAfter[0].first * 50;
    std::printf(
        "sound server restart: back after %lld ms, music heard again after %lld ms, "
        "line routed again after %lld ms\n",
        static_cast<long long>(upMs), static_cast<long long>(silenceMs),
        static_cast<long long>(routedMs));
    EXPECT_GT(heardAfter[0].first, 0) << "the music was heard before the server was back";
    EXPECT_LE(silenceMs, upMs + 1000) << "the deck is slow to reopen its output";
    const std::vector<double> musicBefore = PitchLevelDb(before, kMusicHz);
    const std::vector<double> musicAfter = PitchLevelDb(after, kMusicHz);
    const int fadedIn = int(1.5 / kWindowSec);
    EXPECT_NEAR(SteadyLevelDb(musicAfter, heardAfter[0].first + 2, onWindow),
                SteadyLevelDb(musicBefore, heardBefore[0].first + fadedIn, heardBefore[0].last),
                1.0)
        << "the music comes back at another volume";
    const std::vector<double> line = PitchLevelDb(after, kLineHz);
    ASSERT_GE(int(line.size()), offWindow - 2);
    EXPECT_LT(*std::max_element(line.begin(), line.begin() + onWindow), kSilentDb)
        << "the line came back open";
    EXPECT_GT(SteadyLevelDb(line, onWindow + fadedIn, offWindow), kSilentDb + 20)
        << "the line is not heard on the new server";
    ASSERT_EQ(problems.size(), 2) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems[0].startsWith("Sound server lost")) << problems[0].toStdString();
    EXPECT_TRUE(problems[1].startsWith("Sound server back")) << problems[1].toStdString();
    ASSERT_EQ(m_reports.size(), 2) << m_reports.join('\n').toStdString();
    EXPECT_TRUE(m_reports[0].contains("lost its sound output"));
    EXPECT_TRUE(m_reports[1].contains("has its sound output back"));
}

INSTANTIATE_TEST_SUITE_P(OnAirTest, DeckLossTest, ::testing::ValuesIn(kLosses),
                         [](const auto& loss) { return loss.param.name; });

}  // namespace
