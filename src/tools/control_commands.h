#pragma once

// What the control socket's messages mean: one line "VERB [ARG]" naming a verb of the
// operator's table (the same verbs an actions file uses), done on the running station
// and logged as the operator's, answered "ok" or "error: <reason>". The bytes on the
// socket are the platform's business; this is the text.

#include <QByteArray>
#include <QString>

class AsRunLog;
class Clock;
class Station;
struct OperatorVerb;

/// A message read as a command, or the reason it is not one.
struct ControlCommand {
    const OperatorVerb* verb = nullptr;  ///< null when `error` says why
    QString argument;
    QString error;
};

/// Reads one message, its line end already taken off: UTF-8 text without control
/// characters, a verb of OperatorVerbs() and an argument that fits it.
ControlCommand ParseControlMessage(const QByteArray& message);

/// Does the message's command on the station, logged as an "operator" line at the clock's
/// time, and gives the answer for the sender: "ok", or "error: <reason>" with nothing done.
QString AnswerControlMessage(Station& station, const QByteArray& message, const AsRunLog& log,
                             const Clock& clock);
