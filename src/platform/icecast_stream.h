#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>

/// Where one stream goes and how it sounds.
struct IcecastStreamConfig {
    enum class Format { Mp3, Ogg };
    QString server;
    int port = 8000;
    QString mount;  // with or without its leading slash
    QString user = QStringLiteral("source");
    QString password;
    Format format = Format::Mp3;
    int bitrate = 128;  // kbit/s
    QString name, genre, description;
};

/// One stream of the air to an Icecast server: interleaved stereo float frames at 44.1 kHz
/// go in, LAME (MP3) or libvorbis (Ogg Vorbis) encodes them and libshout sends them, all on
/// the stream's own thread; Push never waits on the network. A server that refuses or goes
/// away is tried again after 1 s, doubling up to 30 s; a refused password waits 30 s at once.
/// Each reason for a failure is told once, until the stream connects again. The signals come
/// on the stream's threads.
class IcecastStream final : public QObject {
    Q_OBJECT
public:
    static constexpr int kRate = 44'100;

    struct Snapshot {
        bool connected = false;
        QDateTime connectedSince;  // UTC; null while not connected
        qint64 bytesSent = 0;      // over every connection since the start
        qint64 droppedFrames = 0;  // lost to a full queue
        QString lastError;
    };

    explicit IcecastStream(IcecastStreamConfig config);
    ~IcecastStream() override;
    IcecastStream(const IcecastStream&) = delete;
    IcecastStream& operator=(const IcecastStream&) = delete;

    /// Starts the thread, which connects and keeps connecting.
    void Start();
    /// Ends the connection and the thread.
    void Stop();
    /// count stereo frames; with a full queue (5 s) the oldest are dropped.
    void Push(const float* frames, int count);
    /// The stream's title ("Artist - Title"): MP3 through the server's metadata request, on a
    /// thread of its own (a server that stalls on it holds up no sound), Ogg by a new logical
    /// stream whose comments carry it. Kept and sent again after a reconnection.
    void SetTitle(const QString& text);
    Snapshot State() const;
    QString Mount() const;

Q_SIGNALS:
    void Connected(const QString& mount);
    void Lost(const QString& mount, const QString& reason);
    void TitleSent(const QString& mount, const QString& text);

private:
    struct Worker;
    std::unique_ptr<Worker> m_worker;
};
