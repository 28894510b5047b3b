// A station killed on air (a crash, an out-of-memory kill: SIGKILL) and started again goes on
// where it was. Its decks play on meanwhile; the restarted station takes them over without a
// hole, lets the track on air play to its end, follows it with the next one of the list, and
// goes on with a spot run under way without airing a spot twice. The built program runs on
// the rig's sound server, with its settings, deck sockets and control socket in a home of its
// own; the recording and the as-run log are measured.
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "on_air_rig.h"
#include "spots/spot_timing.h"
#include "support/run_events.h"
#include "support/tone_file.h"

namespace {

constexpr int kKillAfterMs = 12'000, kDownMs = 7'000;
// Spots long enough for a restarted station to be up before the first one ends.
constexpr int kSpotSeconds = 8;
// Monday 10:15: the run of the quarter's spots.
const QDateTime kRunQuarter(QDate(2026, 12, 7), QTime(10, 15));

struct AsRunLine {
    QDateTime at;
    QString source, event, detail;
    bool IsLoad() const { return source.startsWith("deck") && event == "load"; }
    QString Title() const { return QFileInfo(detail).fileName(); }
};

class RestartTest : public OnAirTest {
protected:
    void TearDown() override {
        Stop();
        // Decks left by a station that was killed and never closed.
        const QDir decks(m_home.filePath("run/stavox"));
        for (const QString& name : decks.entryList({"*.sock"}, QDir::System)) {
            QLocalSocket deck;
            deck.connectToServer(decks.filePath(name));
            if (deck.waitForConnected(500)) {
                deck.write("{\"command\":[\"quit\"]}\n");
                deck.waitForBytesWritten(500);
            }
        }
        OnAirTest::TearDown();
    }

    /// Starts the built program headless in the station folder, its decks on the rig's
    /// server, on the clock m_fakeTime moves when it is set.
    void Start() {
        QDir().mkpath(m_home.filePath(".config/Kelmar"));
        WriteBytes(m_home.filePath(".config/Kelmar/Stavox.conf"),
                   QStringLiteral("[General]\nMixingTime=%1\nWaitSecInBeggining=1\n")
                       .arg(kMixingSeconds)
                       .toUtf8());
        QProcessEnvironment env = PrivateHomeEnvironment(m_home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (!m_fakeTime.isEmpty()) {
            env.insert("LD_PRELOAD", STAVOX_FAKETIME_LIBRARY);
            env.insert("FAKETIME", m_fakeTime);
            // Only the calendar moves: timers and the decks keep real time.
            env.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
            // A build under AddressSanitizer wants its runtime first of all libraries.
            env.insert("ASAN_OPTIONS", "verify_asan_link_order=0:" + env.value("ASAN_OPTIONS"));
        }
        m_program.setProcessEnvironment(env);
        m_program.setWorkingDirectory(Folder().StartFolder());
        m_asRunFolder = Folder().StartFolder() + "/asrun";
        m_program.setStandardOutputFile(m_home.filePath("output"), QIODevice::Append);
        m_program.setStandardErrorFile(m_home.filePath("errors"), QIODevice::Append);
        m_program.start(STAVOX_MIXER_BINARY, {"--ao=pulse"});
        ASSERT_TRUE(m_program.waitForStarted(10'000)) << m_program.errorString().toStdString();
        m_programStartMs.push_back(RecordingMs());
    }
    void Kill() {
        m_program.kill();
        ASSERT_TRUE(m_program.waitForFinished(5'000));
        m_linesAtKill = int(AsRun().size());
    }
    /// Closes the station as a signal does, which quits its decks; when that began on the
    /// recording.
    qint64 Stop() {
        const qint64 at = RecordingMs();
        if (m_program.state() == QProcess::NotRunning) return at;
        m_program.terminate();
        if (!m_program.waitForFinished(10'000)) m_program.kill();
        m_program.waitForFinished(3'000);
        return at;
    }
    void RunUntil(qint64 recordingMs) const {
        RunEventsUntil([&] { return RecordingMs() >= recordingMs; },
                       int(std::max<qint64>(0, recordingMs - RecordingMs()) + 1'000));
    }

    std::vector<AsRunLine> AsRun() const {
        std::vector<AsRunLine> lines;
        const QDir folder(m_asRunFolder);
        for (const QString& name : folder.entryList({"*.log"}, QDir::Files, QDir::Name))
            for (const QByteArray& line : ReadBytes(folder.filePath(name)).split('\n')) {
                const QStringList f = QString::fromUtf8(line.trimmed()).split('\t');
                if (f.size() < 3) continue;
                lines.push_back({QDateTime::fromString(f[0], "yyyy-MM-dd HH:mm:ss.zzz"), f[1], f[2],
                                 f.value(3)});
            }
        return lines;
    }
    /// The log and what the program printed, for a failure's message.
    std::string Told() const {
        QByteArray text;
        const QDir folder(m_asRunFolder);
        for (const QString& name : folder.entryList({"*.log"}, QDir::Files, QDir::Name))
            text += ReadBytes(folder.filePath(name));
        return (text + ReadBytes(m_home.filePath("errors"))).toStdString();
    }
    /// The recording's time when the log first had a line of this event and file; -1 when
    /// it had none within timeoutMs.
    qint64 WhenLogged(const QString& event, const QString& title, int timeoutMs) const {
        const bool found = RunEventsUntil(
            [&] {
                return std::ranges::any_of(AsRun(), [&](const AsRunLine& l) {
                    return l.event == event && l.Title() == title;
                });
            },
            timeoutMs);
        return found ? RecordingMs() : -1;
    }
    /// The restarted station told that it went on where it was, and its first deck load
    /// was of this file; that load.
    std::optional<AsRunLine> ExpectResumedWith(const QString& title) const {
        const std::vector<AsRunLine> all = AsRun();
        const std::vector<AsRunLine> lines(all.begin() + std::min<int>(m_linesAtKill, all.size()),
                                           all.end());
        EXPECT_TRUE(
            std::ranges::any_of(lines, [](const AsRunLine& l) { return l.event == "resumed"; }))
            << "the restarted station did not go on where it was\n"
            << Told();
        const auto load = std::ranges::find_if(lines, &AsRunLine::IsLoad);
        if (load == lines.end()) {
            ADD_FAILURE() << "the restarted station loaded nothing\n" << Told();
            return std::nullopt;
        }
        EXPECT_EQ(load->Title().toStdString(), title.toStdString()) << Told();
        return *load;
    }

    /// No silence longer than a hole from the first tone heard to toMs of the recording;
    /// prints the longest and when each tone was heard.
    void ExpectNoHole(const std::vector<float>& samples, const std::vector<Heard>& heard,
                      qint64 toMs) const {
        const std::vector<double> loudness = LoudnessDb(samples, kRate * kGapWindowMs / 1000);
        int longest = 0, quiet = 0;
        qint64 longestAt = 0;
        for (qint64 w = qint64(heard[0].first * kWindowSec * 1000) / kGapWindowMs;
             w < std::min<qint64>(toMs / kGapWindowMs, qint64(loudness.size())); ++w) {
            quiet = loudness[w] < kSilentDb ? quiet + 1 : 0;
            if (quiet > longest) longest = quiet, longestAt = (w - quiet + 1) * kGapWindowMs;
        }
        EXPECT_LE(longest, kQuietWindows)
            << "silent for " << longest * kGapWindowMs << " ms from " << longestAt / 1000.0
            << " s; the station was started at " << m_programStartMs.front() / 1000.0
            << " s, killed, and started again at " << m_programStartMs.back() / 1000.0 << " s";
        std::printf("restarted at %.2f s; longest silence %d ms; heard (s):",
                    m_programStartMs.back() / 1000.0, longest * kGapWindowMs);
        for (std::size_t k = 0; k < heard.size(); ++k)
            std::printf(" %g Hz %.2f-%.2f", m_tones[k].hz, heard[k].first * kWindowSec,
                        heard[k].last * kWindowSec);
        std::printf("\n");
    }

    QTemporaryDir m_home;
    QProcess m_program;
    QString m_fakeTime;
    QString m_asRunFolder;
    std::vector<qint64> m_programStartMs;  // on the recording
    int m_linesAtKill = 0;
};

TEST_F(RestartTest, KilledMidTrackTheTrackPlaysToItsEndAndTheNextOneFollows) {
    ASSERT_EQ(PrepareAir({{330, 40}, {520, 8}, {740, 8}}), "");
    Start();
    const qint64 firstMs = WhenLogged("load", "Tone 330 Hz.mp3", 20'000);
    ASSERT_GE(firstMs, 0) << Told();
    RunUntil(firstMs + kKillAfterMs);
    Kill();
    RunUntil(firstMs + kKillAfterMs + kDownMs);
    Start();
    // The next track comes in at the first one's mixing point; a few seconds of it are heard.
    const int dueSec = m_tones[0].seconds - kMixingSeconds + 1;
    RunUntil(firstMs + (dueSec + 2) * 1000);
    const qint64 endMs = Stop();
    const std::vector<float> samples = GoOffAir();

    const std::optional<AsRunLine> load = ExpectResumedWith("Tone 520 Hz.mp3");
    const std::vector<AsRunLine> lines = AsRun();
    const auto first = std::ranges::find_if(lines, &AsRunLine::IsLoad);
    if (load && first != lines.end()) {
        EXPECT_NEAR(first->at.msecsTo(load->at) / 1000.0, dueSec, 1.0)
            << "the restarted station's first load came so long after the first track's";
    }

    m_tones.pop_back();  // not reached
    const std::vector<Heard> heard = HeardSpans(samples);
    ASSERT_FALSE(heard.empty());
    ExpectNoHole(samples, heard, endMs);
    const double fromSec = heard[0].first * kWindowSec;
    EXPECT_LE(heard[0].last * kWindowSec - fromSec, m_tones[0].seconds + 0.3)
        << "the 40 s tone heard from " << fromSec << " s to " << heard[0].last * kWindowSec
        << " s: started again";
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[1].first * kWindowSec - fromSec, dueSec + 0.2, 0.7)
        << "330 Hz heard from " << fromSec << " s, 520 Hz from " << heard[1].first * kWindowSec
        << " s";
}

TEST_F(RestartTest, KilledBetweenTwoSpotsTheRunGoesOnWithItsNextSpot) {
    if (QString(STAVOX_FAKETIME_LIBRARY).isEmpty())
        GTEST_SKIP() << "libfaketime is not installed (scripts/install-deps.sh --tests)";
    QStringList spots;
    for (const int hz : {880, 1320, 1760}) {
        spots << Folder().MusicPath() + QStringLiteral("Spot %1 Hz.mp3").arg(hz);
        ASSERT_EQ(WriteToneMp3(spots.last(), hz, kSpotSeconds), "");
    }
    Folder().WriteSpots(kRunQuarter.date().dayOfWeek() % 7, kRunQuarter.time().minute() / 15,
                        kRunQuarter.time().hour(), spots);
    ASSERT_EQ(PrepareAir({{330, 30}, {520, 8}}), "");
    // Both runs of the program read a clock a few seconds before the run is due.
    const qint64 offset =
        QDateTime::currentDateTime().secsTo(spot_timing::RunDueAt(kRunQuarter).addSecs(-5));
    m_fakeTime = (offset >= 0 ? "+" : "") + QString::number(offset);
    Start();
    const qint64 spotMs = WhenLogged("spot", "Spot 880 Hz.mp3", 20'000);
    ASSERT_GE(spotMs, 0) << Told();
    RunUntil(spotMs + 1'500);
    Kill();
    RunUntil(spotMs + 3'500);
    Start();
    const qint64 musicMs = WhenLogged("load", "Tone 520 Hz.mp3", 25'000);
    RunUntil(musicMs + 2'000);
    const qint64 endMs = Stop();
    const std::vector<float> samples = GoOffAir();

    QStringList aired;
    for (const AsRunLine& l : AsRun())
        if (l.event == "spot") aired << l.Title();
    EXPECT_EQ(aired.join(", ").toStdString(), "Spot 880 Hz.mp3, Spot 1320 Hz.mp3, Spot 1760 Hz.mp3")
        << Told();
    ExpectResumedWith("Spot 1320 Hz.mp3");

    // Each spot heard once, for its length, in turn, and the music back after them.
    m_tones = {
        {330, 30}, {880, kSpotSeconds}, {1320, kSpotSeconds}, {1760, kSpotSeconds}, {520, 8}};
    const std::vector<Heard> heard = HeardSpans(samples);
    ASSERT_FALSE(heard.empty());
    ExpectNoHole(samples, heard, endMs);
    ASSERT_EQ(heard.size(), m_tones.size());
    for (std::size_t k = 1; k < heard.size(); ++k) {
        EXPECT_GT(heard[k].first, heard[k - 1].first) << m_tones[k].hz << " Hz out of turn";
        if (k + 1 < heard.size()) {
            EXPECT_NEAR((heard[k].last - heard[k].first) * kWindowSec, kSpotSeconds, 0.4)
                << m_tones[k].hz << " Hz heard from " << heard[k].first * kWindowSec << " s to "
                << heard[k].last * kWindowSec << " s";
        }
    }
}

}  // namespace
