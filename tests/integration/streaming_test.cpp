// The built station streams its air: real mpv decks on the private sound server, and Stream1
// of its settings to an Icecast of the test's own. A listener of the mount hears the music,
// Icecast's status shows the track on air, and a server that goes away and comes back is fed
// again within seconds.
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

constexpr int kListenMs = 20'000, kBackWithinMs = 5'000;
constexpr char kMount[] = "/air.mp3";
const double kPitches[] = {440, 550, 660};

class StreamingTest : public OnAirTest {
protected:
    void TearDown() override {
        m_station.terminate();
        m_station.waitForFinished(10'000);
        OnAirTest::TearDown();
    }

    // Tracks of 14 s ("Artist - Tone 1" … at the pitches) all week, Stream1 to the server as
    // MP3 at 128 kbit/s in the settings of a private home; then the built program, whose
    // as-run log (its output, headless) is kept line by line.
    QString StartStation(quint16 port) {
        QStringList paths;
        for (std::size_t i = 0; i < std::size(kPitches); ++i) {
            paths << Folder().MusicPath() + QString("Artist - Tone %1.mp3").arg(i + 1);
            if (QString error = WriteToneMp3(paths.last(), kPitches[i], 14); !error.isEmpty())
                return error;
        }
        Folder().WriteList("music", paths);
        QList<StationFolder::Program> week;
        for (int day = 0; day < 7; ++day) week.append({day, "00:00", "24:00", "music"});
        Folder().WriteDays(week);
        QDir().mkpath(m_home.path() + "/.config/Kelmar");
        WriteBytes(m_home.path() + "/.config/Kelmar/Stavox.conf",
                   QString("[General]\nMixingTime=4\nWaitSecInBeggining=1\n[Stream1]\nEnabled=1\n"
                           "Server=127.0.0.1\nPort=%1\nMount=%2\nPassword=%3\nFormat=mp3\n")
                       .arg(port)
                       .arg(kMount, IcecastServer::kPassword)
                       .toUtf8());
        QProcessEnvironment environment = PrivateHomeEnvironment(m_home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
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

    // What the as-run lines of a kind ("stream connected") say after it.
    QStringList Told(const QString& kind) const {
        QStringList found;
        for (const QString& line : m_asRun)
            if (line.startsWith(QString(kind).replace(' ', '\t') + '\t'))
                found << line.section('\t', 2);
        return found;
    }
    QString OnAir() const {
        const QStringList started = Told("station queue");
        if (started.isEmpty()) return {};
        return QFileInfo(SplitTrackEntry(started.last().section('\t', 0, 0)).path)
            .completeBaseName();
    }

    // What a listener heard is the music: one of its pitches in every window of 50 ms, but
    // for a deck's short dropout, from at least `seconds` before its end (the server's burst
    // at a listener's start may hold the time before the music).
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
        for (auto w = first; w != strongest.end(); ++w)
            longest = std::max(longest, quiet = *w > kSilentDb ? 0 : quiet + 1);
        EXPECT_LE(longest, kDropoutWindows) << "silent for " << longest * kWindowSec << " s";
    }

    QTemporaryDir m_home;
    QProcess m_station;
    QStringList m_asRun;  // each line without its time
};

TEST_F(StreamingTest, ListenersHearTheMusicWithItsTitlesAndAgainAfterTheServerRestarts) {
    IcecastServer server;
    ASSERT_EQ(StartSoundServer(), "");
    ASSERT_EQ(StartStation(server.Port()), "");
    ASSERT_TRUE(RunEventsUntil(
        [&] { return !OnAir().isEmpty() && server.Title(kMount) == OnAir(); }, 15'000))
        << m_asRun.join('\n').toStdString();

    // Twenty seconds of listening, the status looked at as it goes: each title it shows is
    // the track on air (whose line may come a moment after), and the next track's replaces
    // the first.
    QStringList shown{OnAir()};
    QElapsedTimer looked;
    looked.start();
    ExpectMusic(server.Get(kMount, kListenMs,
                           [&] {
                               if (looked.elapsed() < 200) return;
                               looked.restart();
                               const QString title = server.Title(kMount);
                               if (title.isEmpty() || title == shown.last()) return;
                               shown << title;
                               EXPECT_TRUE(RunEventsUntil([&] { return OnAir() == title; }, 1000))
                                   << title.toStdString() << " while " << OnAir().toStdString();
                           }),
                kListenMs / 1000.0 - 1);
    EXPECT_GE(shown.size(), 2) << shown.join(", ").toStdString();

    server.Stop();
    ASSERT_TRUE(RunEventsUntil([&] { return Told("stream lost").size() == 1; }, 3'000));
    server.Start();
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(RunEventsUntil([&] { return Told("stream connected").size() == 2; }, 10'000));
    EXPECT_LT(back.elapsed(), kBackWithinMs);
    EXPECT_TRUE(RunEventsUntil([&] { return server.Title(kMount) == OnAir(); }, 3'000));
    ExpectMusic(server.Get(kMount, 3'000), 2.5);
    EXPECT_EQ(Told("stream connected"), QStringList({kMount, kMount}));
}

}  // namespace
