#pragma once

#include <QJsonValue>
#include <QString>

/// Asks a deck's mpv for one property over a connection of the caller's own, so a test
/// reads what mpv itself holds. Undefined when the deck does not answer within 5 s.
QJsonValue AskMpv(const QString& socketPath, const char* property);
