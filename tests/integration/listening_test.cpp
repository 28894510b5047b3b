// The station hears its own air through the sound server: a track of digital silence in a
// list raises the dead-air alarm within its seconds, the next entry is started and the
// sound's return is told; the recording agrees with the log on when the sound came back
// and on every hand-over's hole.
#include <QRegularExpression>

#include "app/as_run_log.h"
#include "app/week_preview.h"
#include "media/air_meter.h"
#include "on_air_rig.h"
#include "platform/pulse_air_listener.h"
#include "platform/system_clock.h"

namespace {

constexpr int kWindowMs = 10, kAroundMs = 1000;
constexpr double kThresholdDb = -45;

// The longest run of 10 ms windows at or below the threshold of the recording's levels that
// reaches into [fromMs, toMs), whole from its start up to toMs, as the test measures it.
int HoleMs(const std::vector<double>& levels, qint64 fromMs, qint64 toMs) {
    int longest = 0, run = 0;
    for (qint64 w = 0; w < toMs / kWindowMs && w < qint64(levels.size()); ++w) {
        run = levels[std::size_t(w)] <= kThresholdDb ? run + 1 : 0;
        if (run > 0 && (w + 1) * kWindowMs > fromMs) longest = std::max(longest, run);
    }
    return longest * kWindowMs;
}

class ListeningTest : public OnAirTest {
protected:
    struct Line {
        QStringList fields;  // event and what follows
        qint64 wallMs, recordingMs;
    };
    std::vector<Line> Lines(const QString& event) const {
        std::vector<Line> found;
        for (const Line& l : m_lines)
            if (l.fields[0] == event) found.push_back(l);
        return found;
    }
    std::vector<Line> m_lines;
};

TEST_F(ListeningTest, DeadAirIsToldTheNextEntryStartedAndTheRecordingAgreesWithTheLog) {
    ASSERT_EQ(GoOnAir({{330, 6}, {440, 20, 0.0}, {520, 6}}), "");
    PulseAirListener listener;
    AirMeter meter(listener.Rate());
    ASSERT_TRUE(listener
                    .Start({}, [&meter](const float* frames, int count,
                                        qint64 atMs) { meter.Add(frames, count, atMs); })
                    .ok());
    SystemClock clock;
    const AsRunLog log([&](const QString& line) {
        m_lines.push_back(
            {line.split('\t').mid(2), QDateTime::currentMSecsSinceEpoch(), RecordingMs()});
    });
    LogAirWatch(OnAir().Air(), log, clock);
    OnAir().ListenToAir(meter);
    std::vector<qint64> startedRecordingMs;
    QObject::connect(&OnAir().Engine(), &PlaybackEngine::EntryStarted,
                     [&](const QString&) { startedRecordingMs.push_back(RecordingMs()); });
    RunToTheEnd();
    listener.Stop();
    const std::vector<float> samples = GoOffAir();
    ASSERT_EQ(startedRecordingMs.size(), 3u);

    // The silent track's silence on air, from the end of the crossfade into it: the alarm
    // within its seconds and one more, the next entry started by it, and the sound back
    // where the log says.
    const std::vector<double> levels = LoudnessDb(samples, 44100 * kWindowMs / 1000);
    const auto silentAt = [&](qint64 ms) {
        return levels.at(std::size_t(ms / kWindowMs)) <= kThresholdDb;
    };
    const std::vector<Line> silence = Lines("silence"), sound = Lines("sound");
    ASSERT_EQ(silence.size(), 1u);
    QString told;
    for (const Line& l : m_lines)
        told += QString::number(l.recordingMs) + ' ' + l.fields.join(' ') + '\n';
    for (const qint64 ms : startedRecordingMs) told += "started at " + QString::number(ms) + '\n';
    // The recording's silence: its longest run from the silent track's start to a second
    // after the next track's.
    qint64 quietFromMs = 0, backMs = 0;
    for (qint64 ms = startedRecordingMs[1], from = -1; ms < startedRecordingMs[2] + 1000;
         ms += kWindowMs) {
        if (!silentAt(ms)) {
            from = -1;
            continue;
        }
        if (from < 0) from = ms;
        if (ms + kWindowMs - from > backMs - quietFromMs)
            quietFromMs = from, backMs = ms + kWindowMs;
    }
    ASSERT_GT(backMs - quietFromMs, 4000) << told.toStdString();
    EXPECT_GT(quietFromMs, startedRecordingMs[1]);
    EXPECT_LE(silence[0].recordingMs - quietFromMs, (5 + 1) * 1000);
    ASSERT_EQ(Lines("recovery").size(), 1u);
    EXPECT_EQ(Lines("recovery")[0].fields[1], "next");
    EXPECT_GE(startedRecordingMs[2], silence[0].recordingMs);
    ASSERT_EQ(sound.size(), 1u);
    // The log's times laid on the recording by the moment the alarm was written.
    const qint64 wallToRecordingMs = silence[0].wallMs - silence[0].recordingMs;
    const qint64 startWallMs =
        QDateTime::fromString(silence[0].fields[1], "yyyy-MM-dd HH:mm:ss.zzz").toMSecsSinceEpoch();
    const qint64 backWallMs = startWallMs + qint64(sound[0].fields[1].toDouble() * 1000);
    EXPECT_NEAR(double(startWallMs - wallToRecordingMs), double(quietFromMs), 150);
    EXPECT_NEAR(double(backWallMs - wallToRecordingMs), double(backMs), 150);

    // Each hand-over's hole as the monitor measured it, and as the recording has it.
    const std::vector<Line> transitions = Lines("transition");
    ASSERT_EQ(transitions.size(), 2u);
    for (std::size_t k = 0; k < transitions.size(); ++k) {
        const qint64 at = startedRecordingMs[k + 1];
        EXPECT_NEAR(transitions[k].fields[3].toInt(),
                    HoleMs(levels, at - kAroundMs, at + kAroundMs), 40)
            << transitions[k].fields.join(' ').toStdString();
    }
}

}  // namespace
