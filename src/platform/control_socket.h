#pragma once

// The station's control socket: a local socket in the user's private folder, beside the
// decks' sockets, where another program of the same user sends one line and reads one
// line back. This file carries the bytes; what a line means is the caller's answer.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QLocalSocket;

/// The control socket's path for this user; empty when the user has no private folder.
QString ControlSocketPath();

/// Listens for one-line messages, each answered with one line, then the connection ends.
/// A line longer than kLongestMessage, a peer of another user, or a client whose line is
/// not in within kSilenceMs gets "error: ..." and is dropped. Nothing here waits: the tick
/// goes on.
class ControlServer final : public QObject {
    Q_OBJECT
public:
    static constexpr int kLongestMessage = 4096;  ///< bytes, line end included
    static constexpr int kSilenceMs = 2000;

    /// Turns a message (without its line end) into the answer (without one).
    using Answer = std::function<QString(const QByteArray& message)>;
    explicit ControlServer(Answer answer, QObject* parent = nullptr);
    ~ControlServer() override;

    /// Listens at path. A socket file nobody answers on is replaced; a live one, another
    /// station's, is left alone. Empty when listening, otherwise why not.
    QString Listen(const QString& path);

private:
    void Serve(QLocalSocket* client);
    void ReadMessage(QLocalSocket* client);
    static void Reply(QLocalSocket* client, const QString& answer);

    Answer m_answer;
    QLocalServer* m_server;
};

/// What the client heard.
struct ControlReply {
    enum class Kind { Answered, NoStation, Failed };
    Kind kind = Kind::Failed;
    QString text;  ///< the answer, or why there is none
};

/// Sends one line to the station at path and waits at most timeoutMs for its answer.
ControlReply SendControlMessage(const QString& path, const QString& message, int timeoutMs);
