#include "on_air_rig.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

#include "app/settings.h"
#include "support/run_events.h"
#include "support/tone_file.h"

void OnAirTest::SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_on_air";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) s_app = new QCoreApplication(argc, argv);
}

void OnAirTest::SetUp() {
    const auto installed = [](const char* program) {
        return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
    };
    if (!installed("pulseaudio") && installed("pipewire-pulse"))
        GTEST_SKIP() << "PipeWire serves sound here and pulseaudio, which these tests run "
                        "privately, would replace it";
}

QString OnAirTest::GoOnAir(const std::vector<Tone>& tones) {
    if (QString error = m_pulse.Start(); !error.isEmpty()) return error;
    m_pulse.UseInThisProcess();

    m_tones = tones;
    QStringList paths;
    for (const Tone& tone : tones) {
        paths << m_folder.MusicPath() + QStringLiteral("Tone %1 Hz.mp3").arg(tone.hz);
        if (QString error = WriteToneMp3(paths.last(), tone.hz, tone.seconds); !error.isEmpty())
            return error;
    }
    m_folder.WriteList("tones", paths);
    QList<StationFolder::Program> week;
    for (int day = 0; day < 7; ++day) week.append({day, "00:00", "24:00", "tones"});
    m_folder.WriteDays(week);

    m_rawPath = m_pulse.Folder() + "/mix.raw";
    if (QString error = m_pulse.StartRecorder(m_rawPath); !error.isEmpty()) return error;
    m_recording.start();

    MpvPlayerLink::Options options;
    options.socketFolder = m_pulse.Folder();
    options.extraArguments = {"--ao=pulse"};
    options.endWithThisProcess = true;
    options.report = [this](const QString& line) {
        m_reports << line;
        std::printf("deck report: %s\n", qPrintable(line));
    };
    m_link = std::make_unique<MpvPlayerLink>(options);
    m_station = std::make_unique<Station>(m_folder.StartFolder(), m_clock, m_timers, *m_link);
    QObject::connect(&m_station->Engine(), &PlaybackEngine::EntryStarted,
                     [this](const QString& entry) {
                         m_started << entry;
                         // The crossfade has made the entry's deck the current one.
                         m_startedDeck.push_back(m_station->Engine().Players().CurrentDeck);
                         m_startedMs.push_back(OnAirMs());
                     });
    PlaybackEngine& engine = m_station->Engine();
    // Time for both mpv processes to open their sockets on a busy machine.
    engine.SetWaitSecInBeggining(3);
    engine.SetLevelText(VolumeBars::LevelBox::EditMixingTime, QString::number(kMixingSeconds));
    m_onAir.start();
    return m_station->StartUp().join('\n');
}

bool OnAirTest::RunUntil(const std::function<bool()>& condition, int timeoutMs) {
    return RunEventsUntil(condition, timeoutMs);
}

bool OnAirTest::RunToTheEnd() {
    int budgetMs = 20000;
    for (const Tone& tone : m_tones) budgetMs += tone.seconds * 1000;
    const bool done = RunUntil(
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
        ADD_FAILURE() << "the recording stopped " << behind
                      << " s before the end; pulseaudio: " << m_pulse.DaemonLog().toStdString();
    if (m_station) m_station->Close(nullptr);
    m_station.reset();
    m_link.reset();
    if (const QString error = m_pulse.StopRecorder(); !error.isEmpty())
        ADD_FAILURE() << error.toStdString();
    QFile raw(m_rawPath);
    if (!raw.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no recording: " << raw.errorString().toStdString();
        return {};
    }
    return audio_analysis::MonoFromS16Stereo(raw.readAll());
}

std::vector<audio_analysis::Run> OnAirTest::Silences(
    const std::vector<float>& samples, const std::vector<audio_analysis::Heard>& heard) const {
    const auto runs = audio_analysis::QuietRuns(audio_analysis::LoudnessDb(samples, kWindow),
                                                kSilentDb, heard.front().first, heard.back().last);
    for (const auto& run : runs)
        std::printf("silent %.2f s from %.2f s\n", run.windows * kWindowSec,
                    run.first * kWindowSec);
    return runs;
}

double OnAirTest::RecordedSeconds() const {
    return double(QFileInfo(m_rawPath).size()) / (4.0 * kRate);
}

std::vector<audio_analysis::Heard> OnAirTest::HeardSpans(const std::vector<float>& samples) const {
    std::vector<audio_analysis::Heard> heard;
    for (const Tone& tone : m_tones) {
        const auto span = audio_analysis::HeardSpan(
            audio_analysis::PitchLevelDb(samples, kWindow, tone.hz, kRate), kSilentDb,
            kHeardWindows);
        if (!span) {
            ADD_FAILURE() << tone.hz << " Hz never heard";
            break;
        }
        heard.push_back(*span);
        std::printf("%6.0f Hz heard %6.2f s to %6.2f s\n", tone.hz, span->first * kWindowSec,
                    span->last * kWindowSec);
    }
    return heard;
}

void OnAirTest::ExpectCrossfade(const std::vector<audio_analysis::Heard>& heard, int k) const {
    SCOPED_TRACE(
        QStringLiteral("%1 Hz to %2 Hz").arg(m_tones[k].hz).arg(m_tones[k + 1].hz).toStdString());
    // Position and length are whole seconds to the engine, so a track of N s (and a few
    // ms) hands over at position N - mixing + 1, as a 3:30 track with 20 s of mixing does
    // at 3:11; the tick may see that up to 400 ms late.
    const double due = m_tones[k].seconds - kMixingSeconds + 1;
    const double gap = (heard[k + 1].first - heard[k].first) * kWindowSec;
    EXPECT_GE(gap, due - 0.5);
    EXPECT_LE(gap, due + 0.4 + 0.5);
    const double overlap = (heard[k].last - heard[k + 1].first) * kWindowSec;
    EXPECT_LE(overlap, 2.0) << "the old tone lingers after the crossfade";
    EXPECT_GT(overlap, 0.0) << "the tones do not overlap";
}
