// The built station streams its air: real mpv decks on the private sound server, and Stream1
// of its settings to an Icecast of the test's own. A listener of the mount hears the music,
// Icecast's status shows the track on air, and a server that goes away and comes back is
// fed again within seconds.
#include <sys/prctl.h>

#include <QDir>
#include <QFileInfo>
#include <csignal>

#include "on_air_rig.h"
#include "schedule/list_file.h"
#include "support/icecast_server.h"
#include "support/run_events.h"
#include "support/tone_file.h"

namespace {

constexpr int kListenMs = 20'000, kBackWithinMs = 5'000, kTrackSeconds = 14;
constexpr char kMount[] = "/air.mp3";
const double kPitches[] = {440, 550, 660};

class StreamingTest : public OnAirTest {
protected:
    void TearDown() override {
        m_station.terminate();
        if (!m_station.waitForFinished(10'000)) m_station.kill();
        m_station.waitForFinished();
        OnAirTest::TearDown();
    }

    // The music ("Artist - One" … at the pitches), the week, and the station's settings in
    // its private home: Stream1 to the server as MP3 at 128 kbit/s. Then the built program.
    QString StartStation(quint16 port) {
        QStringList paths;
        for (std::size_t i = 0; i < std::size(kPitches); ++i) {
            paths << Folder().MusicPath() + "Artist - " + kNames[i] + ".mp3";
            if (QString error = WriteToneMp3(paths.last(), kPitches[i], kTrackSeconds);
                !error.isEmpty())
                return error;
        }
        Folder().WriteList("music", paths);
        QList<StationFolder::Program> week;
        for (int day = 0; day < 7; ++day) week.append({day, "00:00", "24:00", "music"});
        Folder().WriteDays(week);
        QDir().mkpath(m_home.path() + "/.config/Kelmar");
        WriteBytes(m_home.path() + "/.config/Kelmar/Stavox.conf",
                   QStringLiteral("[General]\nMixingTime=4\nWaitSecInBeggining=1\n"
                                  "[Stream1]\nEnabled=1\nServer=127.0.0.1\nPort=%1\nMount=%2\n"
                                  "Password=%3\nFormat=mp3\nBitrate=128\n")
                       .arg(port)
                       .arg(kMount, IcecastServer::kPassword)
                       .toUtf8());
        QProcessEnvironment environment = PrivateHomeEnvironment(m_home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");  // the as-run log on its output
        m_station.setProcessEnvironment(environment);
        m_station.setWorkingDirectory(Folder().StartFolder());
        m_station.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        QObject::connect(&m_station, &QProcess::readyReadStandardOutput, [this] {
            while (m_station.canReadLine())
                m_asRun << QString::fromUtf8(m_station.readLine()).trimmed().section('\t', 1);
        });
        m_station.start(STAVOX_MIXER_BINARY, {"--ao=pulse"});
        return m_station.waitForStarted() ? QString() : m_station.errorString();
    }

    // The as-run lines of a kind ("stream connected"), what follows the kind.
    QStringList Told(const QString& kind) const {
        QStringList found;
        for (const QString& line : m_asRun)
            if (line.startsWith(QString(kind).replace(' ', '\t') + '\t'))
                found << line.section('\t', 2);
        return found;
    }

    // What a listener of the mount heard is the music: one of its pitches in every window of
    // 50 ms, but for a deck's short dropout, from a moment at least `seconds` before its end
    // (the server's burst at a listener's start may hold the time before the music).
    void ExpectMusic(const QByteArray& heard, double seconds) {
        const std::vector<float> stereo = DecodeStereo(heard);
        std::vector<float> mono(stereo.size() / 2);
        for (std::size_t i = 0; i < mono.size(); ++i)
            mono[i] = (stereo[2 * i] + stereo[2 * i + 1]) / 2;
        std::vector<double> strongest(mono.size() / kWindow, -200);
        for (const double hz : kPitches) {
            const std::vector<double> levels = PitchLevelDb(mono, hz);
            for (std::size_t w = 0; w < strongest.size(); ++w)
                strongest[w] = std::max(strongest[w], levels[w]);
        }
        const auto first = std::find_if(strongest.begin(), strongest.end(),
                                        [](double db) { return db > kSilentDb; });
        ASSERT_GE((strongest.end() - first) * kWindowSec, seconds)
            << "music for the last " << (strongest.end() - first) * kWindowSec << " s of "
            << double(mono.size()) / kRate << " s heard";
        int quiet = 0, longest = 0;
        for (auto w = first; w != strongest.end(); ++w) {
            quiet = *w > kSilentDb ? 0 : quiet + 1;
            longest = std::max(longest, quiet);
        }
        EXPECT_LE(longest, kDropoutWindows) << "silent for " << longest * kWindowSec << " s";
    }

    static inline const char* const kNames[] = {"One", "Two", "Three"};
    QTemporaryDir m_home;
    QProcess m_station;
    QStringList m_asRun;  // each line without its time
};

TEST_F(StreamingTest, ListenersHearTheMusicWithItsTitlesAndAgainAfterTheServerRestarts) {
    IcecastServer server;
    ASSERT_EQ(StartSoundServer(), "");
    ASSERT_EQ(StartStation(server.Port()), "");
    const auto onAir = [&] {
        const QStringList started = Told("station queue");
        return started.isEmpty()
                   ? QString()
                   : QFileInfo(SplitTrackEntry(started.last().section('\t', 0, 0)).path)
                         .completeBaseName();
    };
    ASSERT_TRUE(RunEventsUntil([&] { return Told("stream connected").size() == 1; }, 10'000))
        << m_asRun.join('\n').toStdString();
    ASSERT_TRUE(RunEventsUntil(
        [&] { return !onAir().isEmpty() && server.Title(kMount) == onAir(); }, 10'000))
        << m_asRun.join('\n').toStdString();

    // Twenty seconds of listening, and the status looked at as it goes: each title it shows
    // is the track on air, and the next track's replaces the first.
    QStringList shown{onAir()};
    {
        const auto listener = server.Listen(kMount);
        QElapsedTimer listening;
        listening.start();
        RunEventsUntil(
            [&] {
                // The track's line may come a moment after its title.
                if (const QString title = server.Title(kMount);
                    !title.isEmpty() && title != shown.last()) {
                    shown << title;
                    EXPECT_TRUE(RunEventsUntil([&] { return onAir() == title; }, 1'000))
                        << title.toStdString() << " shown while " << onAir().toStdString()
                        << " is on air";
                }
                return listening.elapsed() > kListenMs;
            },
            kListenMs + 5'000);
        ExpectMusic(listener->Heard(), kListenMs / 1000.0 - 1);
    }
    EXPECT_GE(shown.size(), 2) << shown.join(", ").toStdString();

    server.Stop();
    ASSERT_TRUE(RunEventsUntil([&] { return Told("stream lost").size() == 1; }, 3'000));
    server.Start();
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(RunEventsUntil([&] { return Told("stream connected").size() == 2; }, 10'000));
    EXPECT_LT(back.elapsed(), kBackWithinMs);
    EXPECT_TRUE(RunEventsUntil([&] { return server.Title(kMount) == onAir(); }, 3'000));
    ExpectMusic(server.Get(kMount, 3'000), 2.5);
    EXPECT_EQ(Told("stream connected"), QStringList({kMount, kMount}));
}

}  // namespace
