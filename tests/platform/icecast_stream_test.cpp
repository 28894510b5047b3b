#include "platform/icecast_stream.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cmath>
#include <numbers>

#include "support/icecast_server.h"
#include "support/run_events.h"

namespace {

constexpr double kTone = 440, kAmplitude = 0.5;

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
    config.password = IcecastServer::kPassword;
    config.format = format;
    return config;
}

// The pitch (rising zero crossings a second) and the RMS of the left channel a listener decodes.
std::pair<double, double> PitchAndLevel(const QByteArray& encoded) {
    const std::vector<float> samples = DecodeStereo(encoded);
    const qsizetype count = qsizetype(samples.size() / 2);
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

// MP3 and the reconnection are heard on air with the whole station; Ogg carries its titles in
// the stream itself.
TEST(IcecastStream, OggListenersHearTheToneAndEachTitle) {
    IcecastServer server;
    const QString mount = "/air.ogg", title = "Artist - Tone";
    IcecastStream stream(Config(server.Port(), mount, IcecastStreamConfig::Format::Ogg));
    QStringList told;
    QObject::connect(&stream, &IcecastStream::TitleSent,
                     [&](const QString& m, const QString& text) { told << m + ' ' + text; });
    stream.SetTitle(title);
    stream.Start();
    ToneFeed feed(stream);
    ASSERT_TRUE(RunEventsUntil([&] { return stream.State().connected; }, 5000));

    const auto [pitch, level] = PitchAndLevel(server.Get(mount, 2500));
    EXPECT_NEAR(pitch, kTone, 5);
    EXPECT_NEAR(level, kAmplitude / std::sqrt(2), 0.05);
    EXPECT_TRUE(RunEventsUntil([&] { return server.Title(mount) == title; }, 3000));
    stream.SetTitle("Next - Track");
    EXPECT_TRUE(RunEventsUntil([&] { return server.Title(mount) == "Next - Track"; }, 3000));
    EXPECT_EQ(told, QStringList({mount + ' ' + title, mount + " Next - Track"}));
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

// A server that takes the sound and then never answers a request for a new title: the sound
// keeps coming, and the station's close is not held.
TEST(IcecastStream, AServerSilentOnATitleHoldsNeitherTheSoundNorTheStop) {
    RunEventsUntil([] { return true; }, 0);  // the application the server needs
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    qint64 received = 0;
    bool titleAsked = false;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* client = server.nextPendingConnection();
        QObject::connect(client, &QIODevice::readyRead, [&, client, head = QByteArray()]() mutable {
            const QByteArray bytes = client->readAll();
            if (head.size() < 4096 && !head.contains("\r\n\r\n")) {
                head += bytes;
                titleAsked = titleAsked || head.startsWith("GET /admin/metadata");
                if (head.contains("\r\n\r\n") && !head.startsWith("GET"))
                    client->write("HTTP/1.0 200 OK\r\n\r\n");
                return;
            }
            received += bytes.size();
        });
    });
    IcecastStream stream(Config(server.serverPort(), "/air.mp3", IcecastStreamConfig::Format::Mp3));
    stream.Start();
    ToneFeed feed(stream);
    ASSERT_TRUE(RunEventsUntil([&] { return stream.State().connected; }, 5000));
    stream.SetTitle("Artist - Title");
    ASSERT_TRUE(RunEventsUntil([&] { return titleAsked; }, 3000));
    const qint64 before = received;
    EXPECT_TRUE(RunEventsUntil([&] { return received > before + 128'000 / 8; }, 3000))
        << "a second of sound did not come while the title waited";
    QElapsedTimer stopping;
    stopping.start();
    stream.Stop();
    EXPECT_LT(stopping.elapsed(), 1000);
}

}  // namespace
