#include "platform/icecast_stream.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <csignal>
#include <numbers>

#include "support/run_events.h"

namespace {

constexpr char kPassword[] = "on-air";
constexpr double kTone = 440, kAmplitude = 0.5;

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A private Icecast on 127.0.0.1, its configuration and logs in a folder of its own.
class IcecastServer {
public:
    IcecastServer() : m_port(FreePort()) {
        // Icecast will not run as root; it then hands itself to nobody, who writes the logs.
        const QString owner = ::getuid() == 0
                                  ? "<changeowner><user>nobody</user><group>nogroup</group>"
                                    "</changeowner>"
                                  : "";
        if (::getuid() == 0) QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777));
        QFile config(m_dir.filePath("icecast.xml"));
        config.open(QIODevice::WriteOnly);
        config.write(QString(R"(<icecast><limits><sources>4</sources></limits>
<authentication><source-password>%1</source-password><admin-user>admin</admin-user>
<admin-password>%1</admin-password></authentication><hostname>127.0.0.1</hostname>
<listen-socket><port>%2</port><bind-address>127.0.0.1</bind-address></listen-socket>
<paths><basedir>/usr/share/icecast2</basedir><logdir>%3</logdir>
<webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot></paths>
<logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>
<security><chroot>0</chroot>%4</security></icecast>)")
                         .arg(kPassword)
                         .arg(m_port)
                         .arg(m_dir.path(), owner)
                         .toUtf8());
        config.close();
        Start();
    }
    ~IcecastServer() { Stop(); }

    void Start() {
        // Gone with a killed test (as a normal user; root's Icecast changes its owner first).
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start("icecast2", {"-c", m_dir.filePath("icecast.xml")});
        ASSERT_TRUE(RunEventsUntil([&] { return !Get("/status-json.xsl", 500).isEmpty(); }, 5000));
    }
    void Stop() {
        m_process.kill();
        m_process.waitForFinished();
    }
    quint16 Port() const { return m_port; }

    // What the server answers to a listener within ms.
    QByteArray Get(const QString& path, int ms) {
        QNetworkReply* reply = m_network.get(
            QNetworkRequest(QUrl(QString("http://127.0.0.1:%1%2").arg(m_port).arg(path))));
        QByteArray body;
        QObject::connect(reply, &QIODevice::readyRead, [&] { body += reply->readAll(); });
        RunEventsUntil([&] { return reply->isFinished(); }, ms);
        body += reply->readAll();
        reply->abort();
        reply->deleteLater();
        return body;
    }
    QString Title(const QString& mount) {
        const QJsonValue sources =
            QJsonDocument::fromJson(Get("/status-json.xsl", 2000))["icestats"]["source"];
        for (const QJsonValue& source : sources.isArray() ? sources.toArray() : QJsonArray{sources})
            if (source["listenurl"].toString().endsWith(mount)) return source["title"].toString();
        return {};
    }

private:
    bool m_application = RunEventsUntil([] { return true; }, 0);  // which the network needs
    QTemporaryDir m_dir;
    quint16 m_port;
    QProcess m_process;
    QNetworkAccessManager m_network;
};

// The tone, pushed as time passes while the event loop runs.
class ToneFeed {
public:
    explicit ToneFeed(IcecastStream& stream) : m_stream(stream) {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Feed(); });
        m_timer.start(20);
    }

private:
    void Feed() {
        const qint64 due = m_clock.elapsed() * IcecastStream::kRate / 1000;
        std::vector<float> frames;
        for (; m_sent < due; ++m_sent) {
            const float v = float(kAmplitude * std::sin(2 * std::numbers::pi * kTone *
                                                        double(m_sent) / IcecastStream::kRate));
            frames.insert(frames.end(), {v, v});
        }
        m_stream.Push(frames.data(), int(frames.size() / 2));
    }
    IcecastStream& m_stream;
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_sent = 0;
};

IcecastStreamConfig Config(quint16 port, const QString& mount, IcecastStreamConfig::Format format) {
    IcecastStreamConfig config;
    config.server = "127.0.0.1";
    config.port = port;
    config.mount = mount;
    config.password = kPassword;
    config.format = format;
    return config;
}

// The pitch (rising zero crossings a second) and the RMS of the left channel a listener decodes.
std::pair<double, double> PitchAndLevel(const QByteArray& encoded) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "quiet", "-i", "pipe:0", "-f", "f32le", "-ac", "2", "-ar",
                            "44100", "pipe:1"});
    ffmpeg.write(encoded);
    ffmpeg.closeWriteChannel();
    ffmpeg.waitForFinished();
    const QByteArray pcm = ffmpeg.readAllStandardOutput();
    const auto* samples = reinterpret_cast<const float*>(pcm.constData());
    const qsizetype count = pcm.size() / qsizetype(2 * sizeof(float));
    const qsizetype skip = IcecastStream::kRate / 5;  // the decoder's start
    if (count <= skip + 1) return {0, 0};
    int rising = 0;
    double energy = 0;
    for (qsizetype i = skip + 1; i < count; ++i) {
        rising += samples[2 * i - 2] < 0 && samples[2 * i] >= 0;
        energy += double(samples[2 * i]) * samples[2 * i];
    }
    const double n = double(count - skip - 1);
    return {rising * IcecastStream::kRate / n, std::sqrt(energy / n)};
}

TEST(IcecastStream, ListenersHearTheToneWithItsTitleAndAgainAfterTheServerRestarts) {
    for (const auto format : {IcecastStreamConfig::Format::Mp3, IcecastStreamConfig::Format::Ogg}) {
        const bool mp3 = format == IcecastStreamConfig::Format::Mp3;
        SCOPED_TRACE(mp3 ? "mp3" : "ogg");
        IcecastServer server;
        const QString mount = mp3 ? "/air.mp3" : "/air.ogg", title = "Artist - Tone";
        IcecastStream stream(Config(server.Port(), mount, format));
        QStringList told;
        QObject::connect(&stream, &IcecastStream::Connected,
                         [&](const QString& m) { told << "connected " + m; });
        stream.SetTitle(title);
        stream.Start();
        ToneFeed feed(stream);
        ASSERT_TRUE(RunEventsUntil([&] { return stream.State().connected; }, 5000));

        const auto [pitch, level] = PitchAndLevel(server.Get(mount, 2500));
        EXPECT_NEAR(pitch, kTone, 5);
        EXPECT_NEAR(level, kAmplitude / std::sqrt(2), 0.05);
        EXPECT_TRUE(RunEventsUntil([&] { return server.Title(mount) == title; }, 3000));

        server.Stop();
        ASSERT_TRUE(RunEventsUntil([&] { return !stream.State().connected; }, 3000));
        QElapsedTimer back;
        back.start();
        server.Start();
        EXPECT_TRUE(RunEventsUntil([&] { return stream.State().connected; }, 5000));
        EXPECT_LT(back.elapsed(), 5000);
        EXPECT_TRUE(RunEventsUntil([&] { return server.Title(mount) == title; }, 3000));
        // The listener hears the tone again, and the next track's title comes through.
        const auto [pitchAgain, levelAgain] = PitchAndLevel(server.Get(mount, 2000));
        EXPECT_NEAR(pitchAgain, kTone, 5);
        EXPECT_GT(levelAgain, kAmplitude / 2);
        stream.SetTitle("Next - Track");
        EXPECT_TRUE(RunEventsUntil([&] { return server.Title(mount) == "Next - Track"; }, 3000));
        EXPECT_EQ(told, QStringList({"connected " + mount, "connected " + mount}));
    }
}

TEST(IcecastStream, EachRefusalIsToldInItsOwnWordsOnce) {
    IcecastServer server;
    IcecastStream holder(Config(server.Port(), "/held", IcecastStreamConfig::Format::Mp3));
    holder.Start();
    ToneFeed feed(holder);
    ASSERT_TRUE(RunEventsUntil([&] { return holder.State().connected; }, 5000));

    struct Case {
        const char* name;
        IcecastStreamConfig config;
        const char* words;
    };
    IcecastStreamConfig wrongPassword =
        Config(server.Port(), "/other", IcecastStreamConfig::Format::Mp3);
    wrongPassword.password = "wrong";
    const Case cases[] = {
        {"wrong password", wrongPassword, "refused the user name or password"},
        {"nobody listens", Config(FreePort(), "/air", IcecastStreamConfig::Format::Mp3),
         "cannot be reached"},
        {"mount in use", Config(server.Port(), "/held", IcecastStreamConfig::Format::Ogg),
         "is in use"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IcecastStream stream(c.config);
        QStringList reasons;
        QObject::connect(&stream, &IcecastStream::Lost,
                         [&](const QString&, const QString& r) { reasons << r; });
        stream.Start();
        ToneFeed refused(stream);
        // Told at once, and not again at the next try a second later.
        ASSERT_TRUE(RunEventsUntil([&] { return !reasons.isEmpty(); }, 3000));
        RunEventsUntil([] { return false; }, 1500);
        ASSERT_EQ(reasons.size(), 1) << reasons.join('\n').toStdString();
        EXPECT_TRUE(reasons[0].contains(c.words)) << reasons[0].toStdString();
        EXPECT_EQ(stream.State().lastError, reasons[0]);
    }
    EXPECT_TRUE(holder.State().connected);
}

}  // namespace
