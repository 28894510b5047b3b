// The hand-overs a listener hears: music into a break of three spots, spot to spot, the
// last spot back to the music, a crossfade between tracks, and a jingle fired over the
// music, in one recording. No hand-over may leave a silence longer than a dropout.
// STAVOX_GAPS_REPORT=FILE appends one line per hand-over to FILE (bench/handover_gaps.sh):
// kind, its time on the recording (s), the longest silence near it (ms) and the quietest
// window near it (dBFS).
#include <QFile>
#include <algorithm>
#include <cmath>

#include "app/operator_actions.h"
#include "on_air_rig.h"
#include "spots/spot_runner.h"
#include "spots/spot_timing.h"
#include "support/run_events.h"
#include "support/station_rooms.h"
#include "support/tone_file.h"

namespace {

// Silence is measured in windows of 20 ms; up to three in a row pass as a dropout.
constexpr int kGapWindowMs = 20, kGapWindow = 44100 * kGapWindowMs / 1000, kQuietWindows = 3;
// A hand-over's silence lies within this of the moment the station reports it: the tick
// that notices an end and the deck that opens the next file come on either side of it.
constexpr int kNearMs = 1500;
// Monday 10:15: the station starts this long before the spots of the quarter are due.
const QDateTime kQuarter(QDate(2026, 12, 7), QTime(10, 15));
constexpr int kBeforeSpotsSec = 12;
constexpr double kSpotHz[] = {880, 1320, 1760}, kJingleHz = 1100;

struct HandOver {
    QString kind;
    qint64 ms;  // on the recording
};

class HandOverTest : public OnAirTest {
protected:
    // What came on air last decides the kind of each hand-over.
    void Mark(const QString& sound) {
        static const QMap<QString, QString> kinds = {{"music music", "crossfade"},
                                                     {"music spot", "music-spot"},
                                                     {"spot spot", "spot-spot"},
                                                     {"spot music", "spot-music"}};
        if (sound == "jingle")
            m_handOvers.push_back({"jingle", RecordingMs()});
        else if (!m_lastSound.isEmpty())
            m_handOvers.push_back({kinds.value(m_lastSound + ' ' + sound), RecordingMs()});
        if (sound != "jingle") m_lastSound = sound;
        m_soundMs[sound].push_back(RecordingMs());
    }
    std::vector<HandOver> m_handOvers;
    QMap<QString, std::vector<qint64>> m_soundMs;
    QString m_lastSound;
};

// The median level over the windows (of 50 ms) from `fromMs` on for `forMs`.
double MedianDb(const std::vector<double>& levels, qint64 fromMs, int forMs) {
    const auto from = std::min<std::size_t>(fromMs / 50, levels.size());
    const auto to = std::min<std::size_t>(from + forMs / 50, levels.size());
    std::vector<double> part(levels.begin() + from, levels.begin() + to);
    if (part.empty()) return -200;
    std::nth_element(part.begin(), part.begin() + part.size() / 2, part.end());
    return part[part.size() / 2];
}

TEST_F(HandOverTest, SpotBreakCrossfadeAndJingleLeaveNoSilence) {
    QStringList spots;
    for (const double hz : kSpotHz) {
        spots << Folder().MusicPath() + QStringLiteral("Spot %1 Hz.mp3").arg(hz);
        ASSERT_EQ(WriteToneMp3(spots.last(), hz, 5), "");
    }
    Folder().WriteSpots(kQuarter.date().dayOfWeek() % 7, kQuarter.time().minute() / 15,
                        kQuarter.time().hour(), spots);
    const QString jingle = Folder().MusicPath() + "Jingle.mp3";
    ASSERT_EQ(WriteToneMp3(jingle, kJingleHz, 3), "");
    Folder().WriteList("J0", {jingle});  // the first tab's bank
    m_startAt = spot_timing::RunDueAt(kQuarter).addSecs(-kBeforeSpotsSec);
    // The first tone is cut by the spots, the second is back after them and crossfades
    // into the third, which has the jingle over it.
    ASSERT_EQ(GoOnAir({{330, 30}, {520, 8}, {740, 7}}), "");
    QObject::connect(&OnAir().Engine(), &PlaybackEngine::EntryStarted, [&] { Mark("music"); });
    QObject::connect(&StationRooms::Spots(OnAir()), &SpotRunner::SpotStarted,
                     [&] { Mark("spot"); });
    QObject::connect(&StationRooms::Jingles(OnAir()), &JingleWall::JingleStarted,
                     [&] { Mark("jingle"); });
    ASSERT_TRUE(RunEventsUntil(
        [&] { return m_started.size() == 3 && Link().PositionMs(m_startedDeck.back()) >= 2000; },
        60000))
        << "started: " << m_started.join(", ").toStdString();
    ASSERT_TRUE(RunVerb(OnAir(), *FindOperatorVerb("jingle"), "1").ok());
    RunToTheEnd();
    const std::vector<float> samples = GoOffAir();

    QStringList kinds;
    for (const HandOver& h : m_handOvers) kinds << h.kind;
    EXPECT_EQ(kinds.join(' '), "music-spot spot-spot spot-spot spot-music crossfade jingle");
    // Every sound is heard, once it had the time to fade in.
    const auto heard = [&](double hz, qint64 ms, int forMs) {
        return MedianDb(PitchLevelDb(samples, hz), ms, forMs);
    };
    ASSERT_EQ(m_soundMs["spot"].size(), std::size(kSpotHz));
    for (std::size_t i = 0; i < std::size(kSpotHz); ++i)
        EXPECT_GT(heard(kSpotHz[i], m_soundMs["spot"][i] + 1000, 2000), kSilentDb)
            << "spot at " << kSpotHz[i] << " Hz";
    ASSERT_EQ(m_soundMs["music"].size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_GT(heard(m_tones[i].hz, m_soundMs["music"][i] + 1500, 2000), kSilentDb)
            << "music at " << m_tones[i].hz << " Hz";
    ASSERT_EQ(m_soundMs["jingle"].size(), 1u);
    EXPECT_GT(heard(kJingleHz, m_soundMs["jingle"][0] + 500, 1500), kSilentDb) << "the jingle";

    ASSERT_FALSE(m_handOvers.empty());
    // The silences from the first sound to the last: [first window, windows).
    const std::vector<double> loudness = LoudnessDb(samples, kGapWindow);
    const auto loud = [&](double db) { return db > kSilentDb; };
    const auto first = std::find_if(loudness.begin(), loudness.end(), loud);
    ASSERT_NE(first, loudness.end()) << "nothing was heard";
    const int begin = int(first - loudness.begin());
    const int end = int(loudness.rend() - std::find_if(loudness.rbegin(), loudness.rend(), loud));
    std::vector<std::pair<int, int>> holes;
    for (int i = begin, quiet = 0; i < end; ++i) {
        quiet = loud(loudness[i]) ? 0 : quiet + 1;
        if (quiet > 0 && loud(loudness[i + 1])) holes.push_back({i - quiet + 1, quiet});
    }
    const auto nearest = [&](qint64 ms) {
        return std::min_element(m_handOvers.begin(), m_handOvers.end(),
                                [&](const HandOver& a, const HandOver& b) {
                                    return std::abs(a.ms - ms) < std::abs(b.ms - ms);
                                });
    };
    QFile report(qEnvironmentVariable("STAVOX_GAPS_REPORT"));
    ASSERT_TRUE(report.fileName().isEmpty() || report.open(QIODevice::Append | QIODevice::Text));
    // Each hand-over is measured on the windows nearer to it than to the others.
    for (std::size_t k = 0; k < m_handOvers.size(); ++k) {
        const HandOver& h = m_handOvers[k];
        const qint64 lo = std::max(h.ms - kNearMs, k > 0 ? (m_handOvers[k - 1].ms + h.ms) / 2 : 0);
        const qint64 hi =
            std::min(h.ms + kNearMs, k + 1 < m_handOvers.size() ? (h.ms + m_handOvers[k + 1].ms) / 2
                                                                : h.ms + kNearMs);
        const int from = std::max(begin, int(lo / kGapWindowMs));
        const int to = std::min(end, int(hi / kGapWindowMs));
        int longest = 0;
        for (const auto& [start, windows] : holes)
            if (start < to && start + windows > from) longest = std::max(longest, windows);
        const double quietest =
            from < to ? *std::min_element(loudness.begin() + from, loudness.begin() + to) : 0;
        if (report.isOpen())
            report.write(QStringLiteral("%1\t%2\t%3\t%4\n")
                             .arg(h.kind)
                             .arg(h.ms / 1000.0, 0, 'f', 2)
                             .arg(longest * kGapWindowMs)
                             .arg(quietest, 0, 'f', 1)
                             .toUtf8());
    }
    for (const auto& [start, windows] : holes) {
        const qint64 ms = qint64(start) * kGapWindowMs;
        const auto near = nearest(ms);
        EXPECT_LE(windows, kQuietWindows)
            << QStringLiteral("silent for %1 ms from %2 s; nearest hand-over: %3 at %4 s")
                   .arg(windows * kGapWindowMs)
                   .arg(ms / 1000.0, 0, 'f', 2)
                   .arg(near->kind)
                   .arg(near->ms / 1000.0, 0, 'f', 2)
                   .toStdString();
    }
}

}  // namespace
