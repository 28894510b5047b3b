#include "on_air_rig.h"

#include <sys/prctl.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <numbers>
#include <optional>

#include "app/settings.h"
#include "support/run_events.h"
#include "support/station_rooms.h"
#include "support/tone_file.h"

namespace {

constexpr int kStartWaitMs = 10000;

// Far below anything a 16-bit recording can hold, so silence has a level.
double Db(double amplitude) {
    return amplitude > 0 ? std::max(-200.0, 20.0 * std::log10(amplitude)) : -200.0;
}

// One level for each whole window of the samples.
template <class Measure>
std::vector<double> PerWindow(const std::vector<float>& samples, int window, Measure measure) {
    std::vector<double> levels;
    for (std::size_t start = 0; start + window <= samples.size(); start += window)
        levels.push_back(Db(measure(samples.data() + start)));
    return levels;
}

// A test killed by a time-out must not leave its daemon and recorder behind.
void EndWithThisProcess(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

void End(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// Waits until `ready` holds while the process runs; an error text with what it printed.
QString WaitFor(QProcess& process, const char* what, const std::function<bool()>& ready) {
    if (!process.waitForStarted(kStartWaitMs))
        return QStringLiteral("%1 cannot be started: %2").arg(what, process.errorString());
    const bool done = RunEventsUntil(
        [&] { return ready() || process.state() == QProcess::NotRunning; }, kStartWaitMs);
    if (done && process.state() != QProcess::NotRunning) return {};
    return QStringLiteral("%1 did not come up: %2")
        .arg(what, QString::fromLocal8Bit(process.readAllStandardError()));
}

}  // namespace

void OnAirTest::SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_on_air";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) s_app = new QCoreApplication(argc, argv);
}

void OnAirTest::SetUp() {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() &&
        !QStandardPaths::findExecutable("pipewire-pulse").isEmpty())
        GTEST_SKIP() << "PipeWire serves sound here and pulseaudio, which these tests run "
                        "privately, would replace it";
}

void OnAirTest::TearDown() {
    m_station.reset();
    m_link.reset();
    End(m_recorder);
    End(m_daemon);
}

// The daemon takes anonymous clients on sockets in its own folder and plays into its one
// sink, the null sink "mix". It starts with the rig's socket alone, which the recorder
// uses; the station's socket, which this process (and every program started from it)
// uses, opens later (OpenStationSocket).
QString OnAirTest::StartPulse() {
    const QString dir = m_pulseDir.path(), socket = m_pulseDir.filePath("native");
    const QString rigSocket = m_pulseDir.filePath("rig");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", dir);
    environment.insert("HOME", dir);
    environment.remove("PULSE_SERVER");
    m_daemon.setProcessEnvironment(environment);
    EndWithThisProcess(m_daemon);
    // Kept in the foreground as a child of the test, so its process id is known for sure.
    m_daemon.start("pulseaudio",
                   {"-n", "--load=module-native-protocol-unix auth-anonymous=1 socket=" + rigSocket,
                    "--load=module-null-sink sink_name=mix", "--daemonize=no",
                    "--exit-idle-time=-1", "--use-pid-file=no", "--realtime=no",
                    "--high-priority=no", "--log-target=stderr", "--log-level=error"});
    const QString error = WaitFor(m_daemon, "pulseaudio", [&] {
        QLocalSocket client;
        client.connectToServer(rigSocket);
        return client.waitForConnected(100);
    });
    if (m_environment.empty())
        for (const auto& [variable, value] :
             {std::pair{"PULSE_SERVER", "unix:" + socket}, {"XDG_RUNTIME_DIR", dir}, {"HOME", dir}})
            m_environment.push_back(std::make_unique<ScopedEnvironmentVariable>(variable, value));
    return error;
}

QString OnAirTest::OpenStationSocket() {
    const int code =
        QProcess::execute("pactl", {"-s", RigServer(), "load-module", "module-native-protocol-unix",
                                    "auth-anonymous=1", "socket=" + m_pulseDir.filePath("native")});
    return code == 0 ? QString() : QStringLiteral("pactl cannot open the station's socket");
}

// Records the mix as raw 44.1 kHz 16-bit stereo and waits for the first bytes: the null
// sink's monitor runs on the sink's clock, so bytes come even in silence.
QString OnAirTest::StartRecorder(const QString& file) {
    m_recordingFile = file;
    m_recorder.setStandardOutputFile(m_pulseDir.filePath(file));
    EndWithThisProcess(m_recorder);
    m_recorder.start("parec", {"-s", RigServer(), "-d", "mix.monitor", "--raw", "--format=s16le",
                               "--rate=44100", "--channels=2", "--latency-msec=20"});
    const QString error = WaitFor(m_recorder, "parec", [&] { return RecordedSeconds() > 0; });
    m_recording.start();
    return error;
}

QString OnAirTest::StartSoundServer() {
    if (QString error = StartPulse(); !error.isEmpty()) return error;
    if (QString error = PrepareServer(); !error.isEmpty()) return error;
    return OpenStationSocket();
}

QString OnAirTest::PrepareAir(const std::vector<Tone>& tones) {
    if (QString error = StartSoundServer(); !error.isEmpty()) return error;
    m_tones = tones;
    QStringList paths;
    for (const Tone& tone : tones) {
        paths << m_folder.MusicPath() + QStringLiteral("Tone %1 Hz.mp3").arg(tone.hz);
        if (QString error = WriteToneMp3(paths.last(), tone.hz, tone.seconds, tone.amplitude,
                                         tone.leadSec, tone.tailSec);
            !error.isEmpty())
            return error;
    }
    m_folder.WriteList("tones", paths);
    QList<StationFolder::Program> week;
    for (int day = 0; day < 7; ++day) week.append({day, "00:00", "24:00", "tones"});
    m_folder.WriteDays(week);
    return StartRecorder("mix.raw");
}

QString OnAirTest::GoOnAir(const std::vector<Tone>& tones) {
    if (QString error = PrepareAir(tones); !error.isEmpty()) return error;
    MpvPlayerLink::Options options;
    options.socketFolder = m_pulseDir.path();
    options.extraArguments = m_playerArguments;
    options.endWithThisProcess = true;
    options.report = [this](const QString& line) { m_reports << line; };
    m_link = std::make_unique<MpvPlayerLink>(options);
    m_station = std::make_unique<Station>(m_folder.StartFolder(), m_clock, m_timers, *m_link,
                                          m_lineInControl);
    StationRooms::LineInput(*m_station).LineInSource = m_lineInSource;
    QObject::connect(&m_station->Engine(), &PlaybackEngine::EntryStarted,
                     [this](const QString& entry) {
                         m_started << entry;
                         // The crossfade has made the entry's deck the current one.
                         m_startedDeck.push_back(m_station->Engine().Players().CurrentDeck);
                         m_startedMs.push_back(OnAirMs());
                     });
    PlaybackEngine& engine = StationRooms::Engine(*m_station);
    // Time for both mpv processes to open their sockets on a busy machine.
    engine.SetWaitSecInBeggining(3);
    engine.SetLevelText(VolumeBars::LevelBox::EditMixingTime, QString::number(kMixingSeconds));
    if (m_startAt.isValid()) m_clock.offsetMs = QDateTime::currentDateTime().msecsTo(m_startAt);
    m_station->SetAnalyses(m_analyses);
    m_onAir.start();
    return m_station->StartUp().join('\n');
}

bool OnAirTest::RunToTheEnd() {
    int budgetMs = 20000;
    for (const Tone& tone : m_tones) budgetMs += tone.seconds * 1000;
    const bool done = RunEventsUntil(
        [&] {
            return m_started.size() == qsizetype(m_tones.size()) &&
                   m_link->PlayState(0) == PlayerLink::kStopped &&
                   m_link->PlayState(1) == PlayerLink::kStopped;
        },
        budgetMs);
    EXPECT_TRUE(done) << "started: " << m_started.join(", ").toStdString()
                      << "; problem: " << m_link->Problem().toStdString();
    return done;
}

std::vector<float> OnAirTest::GoOffAir() {
    // A recorder that stalls or ends would pass for silence.
    const double behind = m_recording.elapsed() / 1000.0 - RecordedSeconds();
    if (behind > 1.0)
        ADD_FAILURE() << "the recording stopped " << behind << " s before the end; pulseaudio: "
                      << m_daemon.readAllStandardError().toStdString();
    if (m_station) m_station->Close(nullptr);
    m_station.reset();
    m_link.reset();
    if (m_recorder.state() == QProcess::NotRunning)
        ADD_FAILURE() << "parec ended by itself: "
                      << m_recorder.readAllStandardError().toStdString();
    End(m_recorder);
    std::vector<float> mono = ReadRecording(m_recordingFile);
    EXPECT_FALSE(mono.empty()) << "no recording";
    return mono;
}

QString OnAirTest::RestartServer() {
    ::kill(pid_t(m_daemon.processId()), SIGKILL);
    m_daemon.waitForFinished(3000);
    End(m_recorder);
    // The recorder listens before the decks can come back, so it hears their first sound;
    // and from then on the station's thread is not held up by the rig.
    if (QString error = StartPulse(); !error.isEmpty()) return error;
    if (QString error = StartRecorder("restarted.raw"); !error.isEmpty()) return error;
    if (QString error = PrepareServer(); !error.isEmpty()) return error;
    const QString error = OpenStationSocket();
    m_serverBackMs = OnAirMs();
    return error;
}

std::vector<float> OnAirTest::ReadRecording(const QString& file) const {
    const QByteArray raw = ReadBytes(m_pulseDir.filePath(file));
    // Interleaved signed 16-bit little-endian stereo, as mono samples in -1..1.
    std::vector<float> mono(raw.size() / 4);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        const char* frame = raw.constData() + 4 * i;
        mono[i] =
            (qFromLittleEndian<qint16>(frame) + qFromLittleEndian<qint16>(frame + 2)) / 65536.0f;
    }
    return mono;
}

double OnAirTest::RecordedSeconds() const {
    return double(QFileInfo(m_pulseDir.filePath(m_recordingFile)).size()) / (4.0 * kRate);
}

double OnAirTest::SteadyLevelDb(const std::vector<double>& levels, int from, int to) {
    if (levels.empty()) return -200;
    from = std::clamp(from, 0, int(levels.size()) - 1);
    std::vector<double> part(levels.begin() + from,
                             levels.begin() + std::clamp(to, from + 1, int(levels.size())));
    std::nth_element(part.begin(), part.begin() + part.size() / 2, part.end());
    return part[part.size() / 2];
}

std::vector<double> OnAirTest::LoudnessDb(const std::vector<float>& samples, int window) {
    return PerWindow(samples, window, [&](const float* start) {
        double sum = 0;
        for (int i = 0; i < window; ++i) sum += double(start[i]) * start[i];
        return std::sqrt(sum / window);
    });
}

std::vector<double> OnAirTest::PitchLevelDb(const std::vector<float>& samples, double hz) {
    std::vector<double> hann(kWindow);
    double hannSum = 0;
    for (int i = 0; i < kWindow; ++i) {
        hann[i] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (kWindow - 1));
        hannSum += hann[i];
    }
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / kRate);
    return PerWindow(samples, kWindow, [&](const float* window) {
        double s1 = 0, s2 = 0;
        for (int i = 0; i < kWindow; ++i) {
            const double s0 = hann[i] * window[i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        // |X| of a sine of amplitude a is a·Σw/2.
        return 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2)) / hannSum;
    });
}

// A tone is heard from the first run of kHeardWindows windows above the silence to the
// last window of the last such run.
std::vector<Heard> OnAirTest::HeardSpans(const std::vector<float>& samples) const {
    std::vector<Heard> spans;
    for (const Tone& tone : m_tones) {
        std::optional<Heard> heard;
        int run = 0;
        const std::vector<double> levels = PitchLevelDb(samples, tone.hz);
        for (int i = 0; i < int(levels.size()); ++i) {
            run = levels[i] > kSilentDb ? run + 1 : 0;
            if (run < kHeardWindows) continue;
            if (!heard) heard = Heard{i - run + 1, i};
            heard->last = i;
        }
        if (!heard) {
            ADD_FAILURE() << tone.hz << " Hz never heard";
            break;
        }
        spans.push_back(*heard);
    }
    return spans;
}

void OnAirTest::ExpectSeamless(const std::vector<float>& samples, const std::vector<Heard>& heard,
                               int cut) const {
    const std::vector<double> loudness = LoudnessDb(samples, kWindow);
    // The quiet runs from the first tone heard to the end of the last.
    for (int i = heard.front().first, quiet = 0; i <= heard.back().last + 1; ++i) {
        if (i <= heard.back().last && i < int(loudness.size()) && loudness[i] < kSilentDb) {
            ++quiet;
            continue;
        }
        const int from = i - quiet;
        const bool afterCut = cut >= 0 && from > heard[cut].last && i <= heard[cut + 1].first;
        EXPECT_TRUE(afterCut || quiet <= kDropoutWindows)
            << "silent for " << quiet * kWindowSec << " s from " << from * kWindowSec << " s";
        quiet = 0;
    }
    for (int k = 0; k + 1 < int(heard.size()); ++k) {
        if (k == cut) continue;
        SCOPED_TRACE(::testing::Message()
                     << m_tones[k].hz << " Hz to " << m_tones[k + 1].hz << " Hz");
        // Position and length are whole seconds to the engine, so a track of N s (and a few
        // ms) hands over at position N - mixing + 1, as a 3:30 track with 20 s of mixing
        // does at 3:11; the tick may see that up to 400 ms late.
        const double due = m_tones[k].seconds - kMixingSeconds + 1;
        const double gap = (heard[k + 1].first - heard[k].first) * kWindowSec;
        EXPECT_GE(gap, due - 0.5);
        EXPECT_LE(gap, due + 0.4 + 0.5);
        const double overlap = (heard[k].last - heard[k + 1].first) * kWindowSec;
        EXPECT_LE(overlap, 2.0) << "the old tone lingers after the crossfade";
        EXPECT_GT(overlap, 0.0) << "the tones do not overlap";
    }
    const double last = (heard.back().last - heard.back().first) * kWindowSec;
    EXPECT_NEAR(last, m_tones.back().seconds, 0.3) << "the last tone plays to its end";
}
