#include "platform/icecast_stream.h"

#include <pthread.h>
#include <shout/shout.h>

#include <QTcpSocket>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/stream_encoder.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kFirstWait = 1s;
constexpr auto kLongestWait = 30s;
constexpr auto kConnectTime = 10s;
constexpr auto kLookEvery = 20ms;
constexpr auto kStalled = 10s;
// A title the server has not taken by then is given up; the next one is tried afresh.
constexpr auto kTitleTime = 5s;
// What the queue holds before it drops the oldest: longer than any hiccup of the network a
// listener would forgive, short enough that the stream stays near the air.
constexpr qint64 kQueueFrames = 5 * IcecastStream::kRate;

std::once_flag g_shoutInit;

// Whether a source already feeds the mount: the server then answers a listener's request.
bool MountLive(const IcecastStreamConfig& c, const QByteArray& mount) {
    QTcpSocket socket;
    socket.connectToHost(c.server, quint16(c.port));
    if (!socket.waitForConnected(2000)) return false;
    socket.write("GET " + mount + " HTTP/1.0\r\n\r\n");
    socket.waitForBytesWritten(2000);
    if (!socket.canReadLine() && !socket.waitForReadyRead(2000)) return false;
    const QByteArray status = socket.readLine();
    return status.contains(" 200 ");
}

// Waits on the socket in short looks, so that a stop is heard, until ready() holds; false
// once the socket failed, the deadline passed or the stream stops.
bool WaitOn(QTcpSocket& socket, const std::function<bool()>& ready,
            bool (QAbstractSocket::*look)(int), std::chrono::steady_clock::time_point deadline,
            const std::function<bool()>& stopping) {
    while (!ready()) {
        if (stopping() || std::chrono::steady_clock::now() > deadline ||
            socket.state() == QAbstractSocket::UnconnectedState)
            return false;
        (socket.*look)(int(std::chrono::milliseconds(kLookEvery).count()));
    }
    return true;
}

// The server's answer to a new title for the mount, by Icecast's admin request: its status
// line, or why there is none. Never longer than kTitleTime, and over at a stop.
QString PostTitle(const IcecastStreamConfig& c, const QByteArray& mount, const QString& text,
                  const std::function<bool()>& stopping) {
    const auto deadline = std::chrono::steady_clock::now() + kTitleTime;
    QTcpSocket socket;
    socket.connectToHost(c.server, quint16(c.port));
    if (!WaitOn(
            socket, [&] { return socket.state() == QAbstractSocket::ConnectedState; },
            &QAbstractSocket::waitForConnected, deadline, stopping))
        return socket.errorString();
    const QByteArray query = "/admin/metadata?mode=updinfo&charset=UTF-8&mount=" +
                             QUrl::toPercentEncoding(QString::fromUtf8(mount)) +
                             "&song=" + QUrl::toPercentEncoding(text);
    socket.write("GET " + query + " HTTP/1.0\r\nHost: " + c.server.toUtf8() + ':' +
                 QByteArray::number(c.port) + "\r\nAuthorization: Basic " +
                 (c.user + u':' + c.password).toUtf8().toBase64() +
                 "\r\nUser-Agent: stavox-mixer\r\n\r\n");
    if (!WaitOn(
            socket, [&] { return socket.canReadLine(); }, &QAbstractSocket::waitForReadyRead,
            deadline, stopping))
        return QStringLiteral("no answer");
    return QString::fromUtf8(socket.readLine()).trimmed();
}

// Named for top and the benchmark; and a server gone away would raise SIGPIPE on the thread's
// writes: they fail instead.
void BeginThread(const char* name) {
    pthread_setname_np(pthread_self(), name);
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
}

}  // namespace

struct IcecastStream::Worker {
    IcecastStream* self;
    IcecastStreamConfig config;
    QByteArray mount;

    mutable std::mutex lock;
    std::condition_variable wake;
    std::deque<std::vector<float>> queue;  // blocks of stereo frames
    qint64 queuedFrames = 0;
    QString title;
    bool titleChanged = false;
    bool stopping = false;
    Snapshot state;
    std::thread thread;
    // The titles the server takes apart from the sound, on a thread of their own: a server
    // that stalls on one holds neither the sound nor a stop for long.
    std::condition_variable titleWake;
    QString titleToPost;
    bool titleDue = false;
    std::thread titleThread;

    // The thread's own.
    shout_t* shout = nullptr;
    std::unique_ptr<StreamEncoder> encoder;
    QString toldReason;  // told since the last connection, not told again
    bool stalled = false;

    void Run();
    bool Connect(std::chrono::seconds& wait);
    void Disconnect();
    bool Send(const QByteArray& bytes);
    bool SendTitle(const QString& text);
    void PostTitles();
    void Fail(const QString& reason);
    void FailSending();
    bool Rest(std::chrono::seconds wait);
};

IcecastStream::IcecastStream(IcecastStreamConfig config) : m_worker(std::make_unique<Worker>()) {
    m_worker->self = this;
    m_worker->mount =
        config.mount.startsWith(u'/') ? config.mount.toUtf8() : "/" + config.mount.toUtf8();
    m_worker->config = std::move(config);
}

IcecastStream::~IcecastStream() { Stop(); }

QString IcecastStream::Mount() const { return QString::fromUtf8(m_worker->mount); }

void IcecastStream::Start() {
    Worker& w = *m_worker;
    if (w.thread.joinable()) return;
    std::call_once(g_shoutInit, [] { shout_init(); });
    w.stopping = false;
    w.thread = std::thread([&w] {
        BeginThread("stavox-stream");
        w.Run();
    });
    w.titleThread = std::thread([&w] {
        BeginThread("stavox-title");
        w.PostTitles();
    });
}

void IcecastStream::Stop() {
    Worker& w = *m_worker;
    if (!w.thread.joinable()) return;
    {
        std::lock_guard guard(w.lock);
        w.stopping = true;
    }
    w.wake.notify_all();
    w.titleWake.notify_all();
    w.thread.join();
    w.titleThread.join();
}

void IcecastStream::Push(const float* frames, int count) {
    if (count <= 0) return;
    Worker& w = *m_worker;
    {
        std::lock_guard guard(w.lock);
        w.queue.emplace_back(frames, frames + 2 * size_t(count));
        w.queuedFrames += count;
        while (w.queuedFrames > kQueueFrames && w.queue.size() > 1) {
            const qint64 dropped = qint64(w.queue.front().size() / 2);
            w.queue.pop_front();
            w.queuedFrames -= dropped;
            w.state.droppedFrames += dropped;
        }
    }
    w.wake.notify_one();
}

void IcecastStream::SetTitle(const QString& text) {
    Worker& w = *m_worker;
    {
        std::lock_guard guard(w.lock);
        w.title = text;
        w.titleChanged = true;
    }
    w.wake.notify_one();
}

IcecastStream::Snapshot IcecastStream::State() const {
    std::lock_guard guard(m_worker->lock);
    return m_worker->state;
}

void IcecastStream::Worker::Run() {
    auto wait = std::chrono::seconds(kFirstWait);
    for (;;) {
        if (!shout) {
            if (Connect(wait)) continue;
            if (!Rest(wait)) break;
            wait = std::min<std::chrono::seconds>(wait * 2, kLongestWait);
            continue;
        }
        std::deque<std::vector<float>> blocks;
        QString newTitle;
        bool retitle = false;
        {
            std::unique_lock guard(lock);
            wake.wait(guard, [&] { return stopping || titleChanged || !queue.empty(); });
            if (stopping) break;
            blocks.swap(queue);
            queuedFrames = 0;
            retitle = std::exchange(titleChanged, false);
            newTitle = title;
        }
        bool ok = true;
        for (const auto& block : blocks)
            if (ok) ok = Send(encoder->Encode(block.data(), int(block.size() / 2)));
        if (ok && retitle) ok = SendTitle(newTitle);
        if (!ok) {
            FailSending();
            Disconnect();
            if (!Rest(kFirstWait)) break;
            wait = kFirstWait * 2;
        }
    }
    Disconnect();
    std::lock_guard guard(lock);
    state.connected = false;
    state.connectedSince = {};
}

bool IcecastStream::Worker::Connect(std::chrono::seconds& wait) {
    shout = shout_new();
    const QByteArray server = config.server.toUtf8(), user = config.user.toUtf8(),
                     password = config.password.toUtf8(),
                     bitrate = QByteArray::number(config.bitrate);
    const bool mp3 = config.format == IcecastStreamConfig::Format::Mp3;
    shout_set_host(shout, server.constData());
    shout_set_port(shout, static_cast<unsigned short>(config.port));
    shout_set_protocol(shout, SHOUT_PROTOCOL_HTTP);
    shout_set_mount(shout, mount.constData());
    shout_set_user(shout, user.constData());
    shout_set_password(shout, password.constData());
    shout_set_content_format(shout, mp3 ? SHOUT_FORMAT_MP3 : SHOUT_FORMAT_OGG, SHOUT_USAGE_AUDIO,
                             nullptr);
    shout_set_public(shout, 0);
    shout_set_audio_info(shout, SHOUT_AI_BITRATE, bitrate.constData());
    shout_set_audio_info(shout, SHOUT_AI_SAMPLERATE, QByteArray::number(kRate).constData());
    shout_set_audio_info(shout, SHOUT_AI_CHANNELS, "2");
    const std::pair<const char*, const QString*> metas[] = {
        {SHOUT_META_NAME, &config.name},
        {SHOUT_META_GENRE, &config.genre},
        {SHOUT_META_DESCRIPTION, &config.description}};
    for (const auto& [key, value] : metas)
        if (!value->isEmpty()) shout_set_meta(shout, key, value->toUtf8().constData());

    // Without blocking, so that a server that never answers neither holds Stop nor the stream
    // for ever: the connection is looked at until it is made, fails or takes too long.
    shout_set_nonblocking(shout, 1);
    int opened = shout_open(shout);
    const auto giveUp = std::chrono::steady_clock::now() + kConnectTime;
    while (opened == SHOUTERR_BUSY) {
        if (std::chrono::steady_clock::now() > giveUp) {
            opened = SHOUTERR_NOCONNECT;
            break;
        }
        std::unique_lock guard(lock);
        if (wake.wait_for(guard, kLookEvery, [&] { return stopping; })) break;
        guard.unlock();
        opened = shout_get_connected(shout);
        if (opened == SHOUTERR_CONNECTED) opened = SHOUTERR_SUCCESS;
    }
    if (opened == SHOUTERR_SUCCESS) {
        QString currentTitle;
        {
            std::lock_guard guard(lock);
            state.connected = true;
            state.connectedSince = QDateTime::currentDateTimeUtc();
            state.lastError.clear();
            currentTitle = title;
            titleChanged = false;
            queue.clear();
            queuedFrames = 0;
        }
        toldReason.clear();
        wait = kFirstWait;
        encoder = mp3 ? StreamEncoder::Mp3(kRate, config.bitrate)
                      : StreamEncoder::Vorbis(kRate, config.bitrate);
        Q_EMIT self->Connected(QString::fromUtf8(mount));
        const bool begun = Send(encoder->Begin(currentTitle));
        if (begun && !currentTitle.isEmpty()) {
            // Ogg's first logical stream carries the title in its comments.
            if (encoder->TitleThroughServer())
                SendTitle(currentTitle);
            else
                Q_EMIT self->TitleSent(QString::fromUtf8(mount), currentTitle);
        }
        if (begun) return true;
        FailSending();
        Disconnect();
        return false;
    }
    const QString where = QStringLiteral("%1:%2").arg(config.server).arg(config.port);
    // Without blocking, a refused connection comes back as a socket's error.
    if (opened == SHOUTERR_NOCONNECT || opened == SHOUTERR_SOCKET) {
        Fail(QStringLiteral("the server %1 cannot be reached").arg(where));
    } else if (opened == SHOUTERR_NOLOGIN && MountLive(config, mount)) {
        Fail(QStringLiteral("the mount %1 on %2 is in use by another source")
                 .arg(QString::fromUtf8(mount), where));
    } else if (opened == SHOUTERR_NOLOGIN) {
        Fail(QStringLiteral("the server %1 refused the user name or password").arg(where));
        wait = kLongestWait;
    } else {
        Fail(QStringLiteral("the server %1 refused the stream (%2)")
                 .arg(where, QString::fromUtf8(shout_get_error(shout))));
    }
    Disconnect();
    return false;
}

void IcecastStream::Worker::Disconnect() {
    if (!shout) return;
    shout_close(shout);
    shout_free(shout);
    shout = nullptr;
    encoder.reset();
    std::lock_guard guard(lock);
    titleDue = false;
    state.connected = false;
    state.connectedSince = {};
}

bool IcecastStream::Worker::Send(const QByteArray& bytes) {
    if (bytes.isEmpty()) return true;
    const int sent = shout_send(shout, reinterpret_cast<const unsigned char*>(bytes.constData()),
                                size_t(bytes.size()));
    if (sent != SHOUTERR_SUCCESS && sent != SHOUTERR_BUSY) return false;
    // What the server has not taken yet waits in libshout; a server that takes nothing for
    // kStalled of sound is as good as gone.
    if (shout_queuelen(shout) > qint64(config.bitrate) * 1000 / 8 * kStalled.count()) {
        stalled = true;
        return false;
    }
    std::lock_guard guard(lock);
    state.bytesSent += bytes.size();
    return true;
}

bool IcecastStream::Worker::SendTitle(const QString& text) {
    if (!encoder->TitleThroughServer()) {
        if (!Send(encoder->Retitle(text))) return false;
        Q_EMIT self->TitleSent(QString::fromUtf8(mount), text);
        return true;
    }
    {
        std::lock_guard guard(lock);
        titleToPost = text;
        titleDue = true;
    }
    titleWake.notify_one();
    return true;
}

// The newest title due goes to the server; the sound goes on when only the title failed: it
// is told, and tried at the next one.
void IcecastStream::Worker::PostTitles() {
    const auto stop = [this] {
        std::lock_guard guard(lock);
        return stopping;
    };
    for (;;) {
        QString text;
        {
            std::unique_lock guard(lock);
            titleWake.wait(guard, [&] { return stopping || titleDue; });
            if (stopping) return;
            titleDue = false;
            text = titleToPost;
        }
        const QString answer = PostTitle(config, mount, text, stop);
        if (answer.contains(QLatin1String(" 200 "))) {
            Q_EMIT self->TitleSent(QString::fromUtf8(mount), text);
            continue;
        }
        std::lock_guard guard(lock);
        if (state.connected && !stopping)
            state.lastError = QStringLiteral("the server did not take the title (%1)").arg(answer);
    }
}

void IcecastStream::Worker::FailSending() {
    Fail(std::exchange(stalled, false)
             ? QStringLiteral("the server stopped taking the stream")
             : QStringLiteral("the connection to the server was lost (%1)")
                   .arg(QString::fromUtf8(shout_get_error(shout))));
}

void IcecastStream::Worker::Fail(const QString& reason) {
    {
        std::lock_guard guard(lock);
        state.lastError = reason;
    }
    if (reason == toldReason) return;
    toldReason = reason;
    Q_EMIT self->Lost(QString::fromUtf8(mount), reason);
}

// Waits before the next try; meanwhile the air is not kept. False when the stream stops.
bool IcecastStream::Worker::Rest(std::chrono::seconds wait) {
    std::unique_lock guard(lock);
    const bool stop = wake.wait_for(guard, wait, [&] { return stopping; });
    queue.clear();
    queuedFrames = 0;
    return !stop;
}
