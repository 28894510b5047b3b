#include "platform/control_socket.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "platform/mpv_player_link.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// Whether a station answers at path. A local connect() ends at once: refused when the file
// was left by a station that died. When in doubt the socket counts as live: never steal one.
bool SomeoneListens(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    if (static_cast<std::size_t>(native.size()) >= sizeof address.sun_path) return true;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), native.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return true;
    ::fcntl(fd, F_SETFL, O_NONBLOCK);  // a full backlog is a live station, not a wait
    const bool refused =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        (errno == ECONNREFUSED || errno == ENOENT);
    ::close(fd);
    return !refused;
}
#else
// Windows: a pipe name is not a file left behind, so there is nothing stale to replace.
bool SomeoneListens(const QString&) { return false; }
#endif

// The folder's mode already keeps other users out; the peer's own user is checked too, in
// case the folder was made by someone else.
bool PeerIsThisUser(const QLocalSocket& client) {
    const int fd = static_cast<int>(client.socketDescriptor());
#if defined(Q_OS_LINUX)
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
#elif defined(Q_OS_UNIX)
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(fd, &uid, &gid) == 0 && uid == ::getuid();
#else
    Q_UNUSED(fd);
    return true;  // the pipe's access list (UserAccessOption) admits this user alone
#endif
}

}  // namespace

QString ControlSocketPath() {
    const QString folder = MpvPlayerLink::DefaultSocketFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/control");
}

ControlServer::ControlServer(Answer answer, QObject* parent)
    : QObject(parent), m_answer(std::move(answer)), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) Serve(client);
    });
}

// The server, a child, closes as it goes and takes its socket file with it.
ControlServer::~ControlServer() = default;

QString ControlServer::Listen(const QString& path) {
    if (path.isEmpty())
        return QStringLiteral(
            "This user has no private folder for the control socket; the station runs without "
            "one.");
    if (QFileInfo::exists(path)) {
        if (SomeoneListens(path))
            return QStringLiteral(
                       "Another station answers on the control socket %1; this one runs "
                       "without it.")
                .arg(path);
        QLocalServer::removeServer(path);
    }
    if (m_server->listen(path)) return {};
    return QStringLiteral(
               "The control socket %1 cannot be opened (%2); the station runs without it.")
        .arg(path, m_server->errorString());
}

void ControlServer::Serve(QLocalSocket* client) {
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    if (!PeerIsThisUser(*client)) {
        Reply(client, QStringLiteral("error: this station answers its own user only"));
        return;
    }
    // Qt stops reading the socket when this much waits: a flood is never buffered.
    client->setReadBufferSize(kLongestMessage);
    auto* silence = new QTimer(client);
    silence->setSingleShot(true);
    connect(silence, &QTimer::timeout, client, [client] {
        Reply(client, QStringLiteral("error: no message within %1 s").arg(kSilenceMs / 1000));
    });
    silence->start(kSilenceMs);
    connect(client, &QLocalSocket::readyRead, this, [this, client] { ReadMessage(client); });
}

void ControlServer::ReadMessage(QLocalSocket* client) {
    if (client->canReadLine()) {
        QByteArray line = client->readLine();
        line.chop(line.endsWith("\r\n") ? 2 : 1);
        Reply(client, m_answer(line));
    } else if (client->bytesAvailable() >= kLongestMessage) {
        Reply(client, QStringLiteral("error: a message is one line of at most %1 bytes")
                          .arg(kLongestMessage));
    }
}

void ControlServer::Reply(QLocalSocket* client, const QString& answer) {
    // One answer a connection: what follows it is never read.
    QObject::disconnect(client, &QLocalSocket::readyRead, nullptr, nullptr);
    if (auto* silence = client->findChild<QTimer*>()) silence->stop();
    client->write(answer.toUtf8() + '\n');
    client->disconnectFromServer();  // once the answer is out
}

ControlReply SendControlMessage(const QString& path, const QString& message, int timeoutMs) {
    using enum ControlReply::Kind;
    if (path.isEmpty())
        return {NoStation, QStringLiteral("No station runs: this user has no private folder.")};
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs)) {
        const bool nobody = socket.error() == QLocalSocket::ServerNotFoundError ||
                            socket.error() == QLocalSocket::ConnectionRefusedError;
        if (nobody)
            return {NoStation, QStringLiteral("No station runs: nothing listens at %1").arg(path)};
        return {Failed, QStringLiteral("%1: %2").arg(path, socket.errorString())};
    }
    socket.write(message.toUtf8() + '\n');
    // The answer is whole when the station closes the connection: one line, or a line an
    // item for "status".
    QByteArray answer;
    while (socket.waitForReadyRead(int(deadline.remainingTime()))) answer += socket.readAll();
    answer += socket.readAll();
    if (!answer.endsWith('\n'))
        return {Failed,
                deadline.hasExpired()
                    ? QStringLiteral("No answer from the station within %1 s").arg(timeoutMs / 1000)
                    : QStringLiteral("The station closed without an answer")};
    answer.chop(answer.endsWith("\r\n") ? 2 : 1);
    return {Answered, QString::fromUtf8(answer)};
}
