#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/station.h"
#include "base/clock.h"
#include "platform/mpv_player_link.h"
#include "platform/qt_timer_host.h"
#include "support/files.h"
#include "support/station_folder.h"

class QCoreApplication;

/// Holes in the air are measured in windows of this many ms; a hole of more than kQuietWindows
/// of them (60 ms) is one a listener hears.
inline constexpr int kGapWindowMs = 20, kQuietWindows = 3;

/// The computer's clock moved by a fixed offset: a station that starts at a chosen moment
/// and runs on in real time from there.
class ShiftedClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime().addMSecs(offsetMs); }
    qint64 offsetMs = 0;
};

/// One generated tone of the program: a sine of this pitch, so long; and the windows of
/// the recording in which it is heard.
struct Tone {
    double hz;
    int seconds;
    double amplitude = 0.5;
    double leadSec = 0, tailSec = 0;  ///< silence before and after the tone, in the file
};
struct Heard {
    int first = 0, last = 0;
};

/// The station on air for a test: the real engine and two mpv decks play one list of
/// generated tones, all week, into the null sink of a PulseAudio daemon of the test's own,
/// whose monitor is recorded from before the first tone. The recording is then measured
/// tone by tone in windows of 50 ms, levels in dB of full scale. Everything it starts ends
/// with the test, by its own process ids.
class OnAirTest : public ::testing::Test {
protected:
    static constexpr int kRate = 44100, kWindow = kRate / 20, kMixingSeconds = 4;
    static constexpr double kWindowSec = 0.05, kSilentDb = -40;
    // A deck starved of the processor on a busy machine drops out for a moment, and the
    // click at each edge reads above the threshold at every pitch in its window: a tone
    // is heard from four windows on, and silence of up to two windows is such a dropout
    // (one window was the longest measured under a load of 8 on two cores), far shorter
    // than the tick (400 ms) that a hand-over missed by the station would cost.
    static constexpr int kHeardWindows = 4, kDropoutWindows = 2;

    static void SetUpTestSuite();
    /// Skips where PipeWire serves sound and pulseaudio was therefore left out.
    void SetUp() override;
    /// Ends the station, then the recorder and the daemon.
    void TearDown() override;

    /// Writes the tones and their week, starts the sink and its recorder, and starts the
    /// station up. An error text, empty on success.
    QString GoOnAir(const std::vector<Tone>& tones);
    /// The same without the station: the air for a station of another process, which
    /// reaches the server through this process's environment.
    QString PrepareAir(const std::vector<Tone>& tones);
    /// The private sound server alone, for a test that airs the built program on it: this
    /// process's environment points at it, and so does every program started from here.
    QString StartSoundServer();
    /// Runs until every tone was started and both decks stopped; false when that takes
    /// much longer than the program.
    bool RunToTheEnd();
    /// Closes the station, ends its decks and the recorder; the recording in mono.
    std::vector<float> GoOffAir();
    /// How much the recorder has written so far; milliseconds since the station's start-up.
    double RecordedSeconds() const;
    qint64 OnAirMs() const { return m_onAir.elapsed(); }
    /// Milliseconds since the recording began: the time of the recording's window now.
    qint64 RecordingMs() const { return m_recording.elapsed(); }
    /// Runs after the private server is up, before the station's socket opens: before the
    /// station starts, and again in RestartServer. The server is then reached at RigServer.
    virtual QString PrepareServer() { return {}; }
    QString RigServer() const { return "unix:" + m_pulseDir.filePath("rig"); }
    /// Kills the server (SIGKILL) and starts a new one on the same socket, with a new
    /// recording of it: the old one ends with the old server and stays readable.
    QString RestartServer();
    /// When (OnAirMs) the restarted server took the station's connections.
    qint64 ServerBackMs() const { return m_serverBackMs; }
    /// A recording of the mix in mono, by its file name.
    std::vector<float> ReadRecording(const QString& file) const;
    /// The station's folders, for the spots and lists a test adds before going on air.
    StationFolder& Folder() { return m_folder; }

    /// The median of the levels over windows from..to (at least one), past a fade-in.
    static double SteadyLevelDb(const std::vector<double>& levels, int from, int to);
    /// The loudness of the mix (RMS, dB of full scale) in each window of `window` samples.
    static std::vector<double> LoudnessDb(const std::vector<float>& samples, int window);

    /// The amplitude of the pitch hz in each window (Hann window, Goertzel), so a sine of
    /// amplitude a reads 20·log10(a) and pitches a few bins away read far below it.
    static std::vector<double> PitchLevelDb(const std::vector<float>& samples, double hz);
    /// Where each tone is heard in the recording; fails and returns fewer spans when one
    /// is never heard.
    std::vector<Heard> HeardSpans(const std::vector<float>& samples) const;
    /// What a listener hears when all goes well: no silence longer than a dropout, a
    /// crossfade from each tone to the next (the next one in at its mixing point, both
    /// heard together, the old one gone soon after) and the last tone played to its end.
    /// Tone `cut`, when given, is cut off and a silence comes after it instead.
    void ExpectSeamless(const std::vector<float>& samples, const std::vector<Heard>& heard,
                        int cut = -1) const;

    MpvPlayerLink& Link() { return *m_link; }
    Station& OnAir() { return *m_station; }

    std::vector<Tone> m_tones;
    /// The entries the engine started, the deck each was handed to, and when (OnAirMs).
    QStringList m_started;
    std::vector<int> m_startedDeck;
    std::vector<qint64> m_startedMs;
    /// The decks' one-line problem reports.
    QStringList m_reports;
    /// The station's line input, and the source it routes; the station's own simulated
    /// one when not set.
    LineInControl* m_lineInControl = nullptr;
    QString m_lineInSource;
    // The decks' own options; the output named, unless a test leaves mpv to find it.
    QStringList m_playerArguments{"--ao=pulse"};
    /// When set, the station's clock reads this at its start-up (the computer's time without).
    QDateTime m_startAt;
    /// When set, the station levels the files analysed there.
    AnalysisStore* m_analyses = nullptr;

private:
    QString StartPulse();
    QString OpenStationSocket();
    QString StartRecorder(const QString& file);

    static inline QCoreApplication* s_app = nullptr;

    // Declared first, gone last: the daemon's folder, the daemon, the recorder (a QProcess
    // kills its process when it goes) and this process's pulse environment.
    QTemporaryDir m_pulseDir;
    QProcess m_daemon;
    QProcess m_recorder;
    QString m_recordingFile;
    qint64 m_serverBackMs = 0;
    std::vector<std::unique_ptr<ScopedEnvironmentVariable>> m_environment;
    StationFolder m_folder;
    QElapsedTimer m_onAir;
    QElapsedTimer m_recording;
    ShiftedClock m_clock;
    QtTimerHost m_timers;
    std::unique_ptr<MpvPlayerLink> m_link;
    std::unique_ptr<Station> m_station;
};
