#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "app/station.h"
#include "audio_analysis.h"
#include "platform/mpv_player_link.h"
#include "platform/qt_timer_host.h"
#include "platform/system_clock.h"
#include "private_pulse.h"
#include "support/station_folder.h"

class QCoreApplication;

/// One generated tone of the program: a sine of this pitch, so long.
struct Tone {
    double hz;
    int seconds;
};

/// The station on air for a test: the real engine and two mpv decks play one list of
/// generated tones, all week, into a private PulseAudio null sink whose monitor is
/// recorded from before the first tone. The recording is then measured tone by tone.
/// Everything it starts ends with the test, by its own process ids.
class OnAirTest : public ::testing::Test {
protected:
    static constexpr int kRate = 44100;
    static constexpr int kWindow = kRate / 20;  // 50 ms
    static constexpr double kWindowSec = 0.05;
    static constexpr double kSilentDb = -40;
    static constexpr int kMixingSeconds = 4;
    // A deck starved of the processor on a busy machine drops out for a moment, and the
    // click at each edge reads above the threshold at every pitch in its window: a tone
    // is heard from four windows on, and silence of up to two windows is such a dropout
    // (one window was the longest measured under a load of 8 on two cores), far shorter
    // than the tick (400 ms) that a hand-over missed by the station would cost.
    static constexpr int kHeardWindows = 4;
    static constexpr int kDropoutWindows = 2;

    static void SetUpTestSuite();
    /// Skips where PipeWire serves sound and pulseaudio was therefore left out.
    void SetUp() override;

    /// Writes the tones and their week, starts the sink and its recorder, and starts the
    /// station up. An error text, empty on success.
    QString GoOnAir(const std::vector<Tone>& tones);
    /// Runs the event loop until condition holds; false once timeoutMs have passed.
    static bool RunUntil(const std::function<bool()>& condition, int timeoutMs);
    /// Runs until every tone was started and both decks stopped; false when that takes
    /// much longer than the program.
    bool RunToTheEnd();
    /// Closes the station, ends its decks and the recorder; the recording in mono.
    std::vector<float> GoOffAir();
    /// How much the recorder has written so far.
    double RecordedSeconds() const;
    /// Milliseconds since the station was started up.
    qint64 OnAirMs() const { return m_onAir.elapsed(); }

    /// Where each tone is heard in the recording, printed; fails and returns fewer
    /// spans when one is never heard.
    std::vector<audio_analysis::Heard> HeardSpans(const std::vector<float>& samples) const;
    /// The runs of silence between the first tone heard and the end of the last, printed.
    std::vector<audio_analysis::Run> Silences(
        const std::vector<float>& samples, const std::vector<audio_analysis::Heard>& heard) const;
    /// The crossfade from tone k to tone k + 1 as heard: the next one in at its mixing
    /// point, both heard together, the old one gone soon after.
    void ExpectCrossfade(const std::vector<audio_analysis::Heard>& heard, int k) const;

    MpvPlayerLink& Link() { return *m_link; }
    Station& OnAir() { return *m_station; }

    std::vector<Tone> m_tones;
    /// The entries the engine started, the deck each was handed to, and when (OnAirMs).
    QStringList m_started;
    std::vector<int> m_startedDeck;
    std::vector<qint64> m_startedMs;
    /// The decks' one-line problem reports.
    QStringList m_reports;

private:
    static inline QCoreApplication* s_app = nullptr;

    PrivatePulse m_pulse;
    StationFolder m_folder;
    QString m_rawPath;
    QElapsedTimer m_onAir;
    QElapsedTimer m_recording;
    SystemClock m_clock;
    QtTimerHost m_timers;
    std::unique_ptr<MpvPlayerLink> m_link;
    std::unique_ptr<Station> m_station;
};
