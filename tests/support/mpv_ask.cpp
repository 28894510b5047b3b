#include "support/mpv_ask.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

#include "platform/mpv_protocol.h"

QJsonValue AskMpv(const QString& socketPath, const char* property) {
    constexpr int kRequestId = 4242;
    constexpr int kAnswerWithinMs = 5000;  // a busy machine can hold mpv back a while
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kAnswerWithinMs)) return QJsonValue::Undefined;
    socket.write(QJsonDocument(QJsonObject{{"command", QJsonArray{"get_property", property}},
                                           {"request_id", kRequestId}})
                     .toJson(QJsonDocument::Compact) +
                 '\n');
    // Every client hears mpv's events too; only the answer counts.
    QByteArray inbox;
    while (socket.waitForReadyRead(kAnswerWithinMs)) {
        inbox += socket.readAll();
        for (const QByteArray& line : inbox.split('\n')) {
            const mpv::Message m = mpv::ParseLine(line);
            if (m.kind == mpv::Message::Kind::Reply && m.requestId == kRequestId) return m.data;
        }
    }
    return QJsonValue::Undefined;
}
