#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <span>

#include "base/result.h"

class AsRunLog;
class Clock;
class Station;

/// What an operator verb takes after its name: nothing, on or off, a number counted from 1,
/// or the rest of the line as text (which may be empty).
enum class VerbArgument { None, OnOff, Number, Text };

/// One operator command by name: what an actions file, the control socket and the window
/// say to the station. Every command the station takes is one row of this table.
struct OperatorVerb {
    const char* name;
    VerbArgument argument;
    /// Does it; an error changes nothing, and its message is for the operator.
    Result (*apply)(Station& station, const QString& argument);
    /// Why the station cannot do it now (a button, tab or row it does not have); empty when
    /// it can. Null for verbs that always can.
    QString (*refusal)(const Station& station, const QString& argument) = nullptr;
    /// It edits the programs, lists or spots: refused while "Lock Programs" is on.
    bool edits = false;
};

/// Every verb the operator has, one row each.
std::span<const OperatorVerb> OperatorVerbs();
/// The verb of that name; nullptr when there is none.
const OperatorVerb* FindOperatorVerb(const QString& name);
/// Empty when the argument fits the verb, otherwise the reason it does not.
QString CheckVerbArgument(const OperatorVerb& verb, const QString& argument);

/// An operator's action at a time of the week preview.
struct OperatorAction {
    QDateTime when;
    const OperatorVerb* verb = nullptr;
    QString argument;
};

/// An actions file: "YYYY-MM-DD HH:MM:SS VERB [ARG]" a line, times in order and within
/// [from, to]; "#" starts a remark, on a line of its own or after the action, and blank lines
/// are skipped. A line holds at most 4096 characters. The first bad line is an error
/// "FILE:LINE: reason" and gives no actions. Numbers (buttons, tabs, rows) count from 1.
ReadResult<QList<OperatorAction>> ParseOperatorActions(const QString& fileName, const QString& text,
                                                       const QDateTime& from, const QDateTime& to);
/// The same for a file on disk; one that cannot be read, is not a regular file (a device,
/// a FIFO) or is larger than 16 MB is an error naming it.
ReadResult<QList<OperatorAction>> ReadOperatorActions(const QString& path, const QDateTime& from,
                                                      const QDateTime& to);

/// Does one verb: the argument, the verb's own refusal and the lock are checked first, and
/// a command refused for any of them changes nothing.
Result RunVerb(Station& station, const OperatorVerb& verb, const QString& argument);

/// Logs the action as "operator", verb, argument at the clock's time, then does it. An
/// action the station cannot do now is neither logged nor done: the reason is returned
/// (empty when it was done).
QString ApplyOperatorAction(Station& station, const OperatorAction& action, const AsRunLog& log,
                            const Clock& clock);
