#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class QNetworkReply;

/// A port nobody listens on at the moment of asking.
quint16 FreePort();

/// A private Icecast on 127.0.0.1 and a free port, its configuration (which the source and
/// admin password is kPassword) and logs in a folder of its own. It starts at once and ends
/// with the test.
class IcecastServer {
public:
    static constexpr char kPassword[] = "on-air";

    IcecastServer();
    ~IcecastServer();
    IcecastServer(const IcecastServer&) = delete;
    IcecastServer& operator=(const IcecastServer&) = delete;

    /// Starts the server and waits until it answers (fails the test after 5 s).
    void Start();
    /// Kills it, as a crash or a power cut would.
    void Stop();
    quint16 Port() const { return m_port; }

    /// A listener of a mount: what it has received so far, taken as the event loop runs.
    class Listener {
    public:
        Listener(QNetworkAccessManager& network, const QUrl& url);
        ~Listener();
        Listener(const Listener&) = delete;
        Listener& operator=(const Listener&) = delete;
        const QByteArray& Heard() const { return m_body; }
        bool Finished() const;

    private:
        QNetworkReply* m_reply;
        QByteArray m_body;
    };
    std::unique_ptr<Listener> Listen(const QString& path);
    /// What the server answers to a listener of path within ms.
    QByteArray Get(const QString& path, int ms);
    /// The title Icecast's status shows for the mount; empty when the mount is not live.
    QString Title(const QString& mount);

private:
    bool m_application;  // the network needs one
    QTemporaryDir m_dir;
    quint16 m_port;
    QProcess m_process;
    QNetworkAccessManager m_network;
};

/// What a listener hears of encoded audio (MP3 or Ogg): ffmpeg's decoding as interleaved
/// stereo float frames at 44.1 kHz.
std::vector<float> DecodeStereo(const QByteArray& encoded);
