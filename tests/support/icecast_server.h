#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <vector>

/// A port nobody listens on at the moment of asking.
quint16 FreePort();

/// A private Icecast on 127.0.0.1 and a free port, whose source and admin password is
/// kPassword, its configuration and logs in a folder of its own. It starts at once and ends
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

    /// What the server sends a listener of path within ms; meanwhile, when given, runs at
    /// each look.
    QByteArray Get(const QString& path, int ms, const std::function<void()>& meanwhile = {});
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
