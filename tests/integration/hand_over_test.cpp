// The hand-overs a listener hears: music into a break of three spots, spot to spot, the
// last spot back to the music, a crossfade between tracks, and a jingle fired over the
// music, in one recording. No hand-over may leave a silence longer than a dropout. The
// second track is 18 dB quieter in its file than the others: analysed, every sound is
// levelled, and the tracks come out alike, none at full scale. Mixed by sound, the second
// track's 8 s of silence at its end are never on air, and the third, with 4 s of silence
// before its tone, is heard from its start.
// STAVOX_GAPS_REPORT=FILE appends one line per hand-over to FILE (bench/handover_gaps.sh):
// kind, its time on the recording (s), the longest silence near it (ms) and the quietest
// window near it (dBFS).
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

#include "app/operator_actions.h"
#include "on_air_rig.h"
#include "platform/ffmpeg_sound_analyzer.h"
#include "platform/sqlite_analysis_cache.h"
#include "spots/spot_runner.h"
#include "spots/spot_timing.h"
#include "support/run_events.h"
#include "support/station_rooms.h"
#include "support/tone_file.h"

namespace {

// Silence is measured in windows of 20 ms; up to three in a row pass as a dropout.
constexpr int kGapWindow = 44100 * kGapWindowMs / 1000;
// A hand-over's silence lies within this of the moment the station reports it.
constexpr int kNearMs = 1500;
// Monday 10:15: the station starts this long before the spots of the quarter are due.
const QDateTime kQuarter(QDate(2026, 12, 7), QTime(10, 15));
constexpr int kBeforeSpotsSec = 12;

struct Sound {
    QString kind;  // of the hand-over to it: music-spot, spot-spot, crossfade, jingle...
    double hz;     // its pitch, from its file's name
    qint64 ms;     // on the recording
};

class HandOverTest : public OnAirTest {
protected:
    // What came on air last decides the kind of each hand-over; a jingle plays over it.
    void Mark(const QString& sound, const QString& path) {
        static const QMap<QString, QString> kinds = {{"music music", "crossfade"},
                                                     {"music spot", "music-spot"},
                                                     {"spot spot", "spot-spot"},
                                                     {"spot music", "spot-music"}};
        const double hz = QRegularExpression(" (\\d+) Hz").match(path).captured(1).toDouble();
        const QString kind = sound == "jingle" ? sound : kinds.value(m_last + ' ' + sound);
        m_sounds.push_back({kind.isEmpty() ? "first" : kind, hz, RecordingMs()});
        if (sound != "jingle") m_last = sound;
    }
    std::vector<Sound> m_sounds;
    QString m_last;
};

TEST_F(HandOverTest, SpotBreakCrossfadeAndJingleLeaveNoSilence) {
    QStringList spots;
    for (const int hz : {880, 1320, 1760}) {
        spots << Folder().MusicPath() + QStringLiteral("Spot %1 Hz.mp3").arg(hz);
        ASSERT_EQ(WriteToneMp3(spots.last(), hz, 5), "");
    }
    Folder().WriteSpots(kQuarter.date().dayOfWeek() % 7, kQuarter.time().minute() / 15,
                        kQuarter.time().hour(), spots);
    const QString jingle = Folder().MusicPath() + "Jingle 1100 Hz.mp3";
    ASSERT_EQ(WriteToneMp3(jingle, 1100, 3), "");
    Folder().WriteList("J0", {jingle});  // the first tab's bank
    m_startAt = spot_timing::RunDueAt(kQuarter).addSecs(-kBeforeSpotsSec);
    // The first tone is cut by the spots, the second is back after them and crossfades
    // into the third, which has the jingle over it.
    QTemporaryDir cacheDir;
    SqliteAnalysisCache analyses(cacheDir.filePath("analysis.sqlite"));
    m_analyses = &analyses;
    ASSERT_EQ(GoOnAir({{330, 30}, {520, 8, 0.5 / 7.94, 0, 8}, {740, 7, 0.5, 4}}), "");
    // Analysed in the seconds the station waits for its decks, before anything plays.
    const FfmpegSoundAnalyzer analyzer;
    QStringList files = spots << jingle;
    for (const Tone& tone : m_tones)
        files << Folder().MusicPath() + QStringLiteral("Tone %1 Hz.mp3").arg(tone.hz);
    for (const QString& path : files)
        ASSERT_TRUE(analyses.Keep(path, analyzer.Analyze(path).value).ok()) << path.toStdString();
    QObject::connect(&OnAir().Engine(), &PlaybackEngine::EntryStarted,
                     [&](const QString& entry) { Mark("music", entry); });
    QObject::connect(&StationRooms::Spots(OnAir()), &SpotRunner::SpotStarted,
                     [&](const QString& path) { Mark("spot", path); });
    QObject::connect(&StationRooms::Jingles(OnAir()), &JingleWall::JingleStarted,
                     [&](const QString& path) { Mark("jingle", path); });
    ASSERT_TRUE(RunEventsUntil(
        [&] { return m_started.size() == 3 && Link().PositionMs(m_startedDeck.back()) >= 2000; },
        60000))
        << "started: " << m_started.join(", ").toStdString();
    ASSERT_TRUE(RunVerb(OnAir(), *FindOperatorVerb("jingle"), "1").ok());
    RunToTheEnd();
    const std::vector<float> samples = GoOffAir();

    QStringList kinds;
    for (const Sound& s : m_sounds) {
        kinds << s.kind;
        // Heard at its pitch once it had the time to fade in (levels in 50 ms windows).
        const int from = int(s.ms / 50) + 20;
        EXPECT_GT(SteadyLevelDb(PitchLevelDb(samples, s.hz), from, from + 30), kSilentDb)
            << s.kind.toStdString() << " to " << s.hz << " Hz";
    }
    ASSERT_EQ(kinds.join(' '), "first music-spot spot-spot spot-spot spot-music crossfade jingle");
    // The second track hands over by its end of sound (8 s), not its length (16 s), and the
    // third is heard at once: neither's silence is on air.
    const auto at = [&](const char* kind) {
        return std::ranges::find(m_sounds, QString(kind), &Sound::kind)->ms;
    };
    EXPECT_NEAR(at("crossfade") - at("spot-music"), (8 - kMixingSeconds + 1) * 1000 + 200, 600);
    const int third = int(at("crossfade") / 50);
    EXPECT_GT(SteadyLevelDb(PitchLevelDb(samples, 740), third + 6, third + 14), kSilentDb);
    // The tracks alike though 18 dB apart in their files, and nothing at full scale.
    std::vector<double> trackDb;
    for (const Sound& s : m_sounds)
        if (s.kind == "first" || s.kind == "spot-music" || s.kind == "crossfade")
            trackDb.push_back(SteadyLevelDb(PitchLevelDb(samples, s.hz), int(s.ms / 50) + 32,
                                            int(s.ms / 50) + 39));
    ASSERT_EQ(trackDb.size(), 3u);
    EXPECT_LE(std::ranges::max(trackDb) - std::ranges::min(trackDb), 2.0)
        << trackDb[0] << " " << trackDb[1] << " " << trackDb[2] << " dB";
    EXPECT_LT(std::ranges::max(samples, {}, [](float s) { return std::abs(s); }), 32767 / 32768.f);
    m_sounds.erase(m_sounds.begin());

    // The silences from the first sound to the last: each its first window and length.
    const std::vector<double> loudness = LoudnessDb(samples, kGapWindow);
    const auto loud = [&](double db) { return db > kSilentDb; };
    const int begin = int(std::find_if(loudness.begin(), loudness.end(), loud) - loudness.begin());
    const int end = int(loudness.rend() - std::find_if(loudness.rbegin(), loudness.rend(), loud));
    std::vector<std::pair<int, int>> holes;
    for (int i = begin, quiet = 0; i < end; ++i) {
        quiet = loud(loudness[i]) ? 0 : quiet + 1;
        if (quiet > 0 && loud(loudness[i + 1])) holes.push_back({i - quiet + 1, quiet});
    }
    // Each hand-over is measured on the windows nearer to it than to the others.
    QFile report(qEnvironmentVariable("STAVOX_GAPS_REPORT"));
    ASSERT_TRUE(report.fileName().isEmpty() || report.open(QIODevice::Append | QIODevice::Text));
    for (std::size_t k = 0; k < m_sounds.size(); ++k) {
        const Sound& h = m_sounds[k];
        const qint64 lo =
            k > 0 ? std::max(h.ms - kNearMs, (m_sounds[k - 1].ms + h.ms) / 2) : h.ms - kNearMs;
        const qint64 hi = k + 1 < m_sounds.size()
                              ? std::min(h.ms + kNearMs, (h.ms + m_sounds[k + 1].ms) / 2)
                              : h.ms + kNearMs;
        const int from = std::max(begin, int(lo / kGapWindowMs));
        const int to = std::max(from + 1, std::min(end, int(hi / kGapWindowMs)));
        int longest = 0;
        for (const auto& [start, windows] : holes)
            if (start < to && start + windows > from) longest = std::max(longest, windows);
        EXPECT_LE(longest, kQuietWindows)
            << "silent for " << longest * kGapWindowMs << " ms at the " << h.kind.toStdString()
            << " at " << h.ms / 1000.0 << " s";
        if (report.isOpen())
            report.write(QStringLiteral("%1\t%2\t%3\t%4\n")
                             .arg(h.kind)
                             .arg(h.ms / 1000.0, 0, 'f', 2)
                             .arg(longest * kGapWindowMs)
                             .arg(*std::min_element(loudness.begin() + from, loudness.begin() + to),
                                  0, 'f', 1)
                             .toUtf8());
    }
    // And none between the hand-overs.
    for (const auto& [start, windows] : holes)
        EXPECT_LE(windows, kQuietWindows) << "silent for " << windows * kGapWindowMs << " ms from "
                                          << start * kGapWindowMs / 1000.0 << " s";
}

}  // namespace
