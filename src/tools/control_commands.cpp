#include "tools/control_commands.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>

#include "app/operator_actions.h"
#include "base/clock.h"
#include "tools/station_status.h"

namespace {

bool HasControlCharacter(const QString& text) {
    return std::ranges::any_of(
        text, [](QChar c) { return c != u'\t' && c.category() == QChar::Other_Control; });
}

ControlCommand Refused(QString reason) { return {nullptr, {}, std::move(reason)}; }

}  // namespace

ControlCommand ParseControlMessage(const QByteArray& message) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(message);
    if (utf8.hasError()) return Refused(QStringLiteral("the message is not UTF-8 text"));
    if (HasControlCharacter(text))
        return Refused(QStringLiteral("the message holds a control character"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QStringList words = text.split(space, Qt::SkipEmptyParts);
    if (words.isEmpty()) return Refused(QStringLiteral("an empty message, not VERB [ARG]"));
    const OperatorVerb* verb = FindOperatorVerb(words[0]);
    if (!verb) return Refused(QStringLiteral("unknown verb \"%1\"").arg(words[0]));
    // A text argument is the rest of the line; any other is one word.
    if (words.size() > 2 && verb->argument != VerbArgument::Text)
        return Refused(QStringLiteral("%1 words, not VERB [ARG]: \"%2\"")
                           .arg(words.size())
                           .arg(text.trimmed()));
    const QString argument = words.mid(1).join(u' ');
    if (QString reason = CheckVerbArgument(*verb, argument); !reason.isEmpty())
        return Refused(std::move(reason));
    return {verb, argument, {}};
}

QString AnswerControlMessage(Station& station, const QByteArray& message, const AsRunLog& log,
                             const Clock& clock) {
    // The one question among the commands: how the station stands, a line an item.
    if (message.trimmed() == "status") return StationStatusLines(station).join(u'\n');
    const ControlCommand command = ParseControlMessage(message);
    if (!command.verb) return QStringLiteral("error: ") + command.error;
    const QString refusal =
        ApplyOperatorAction(station, {clock.Now(), command.verb, command.argument}, log, clock);
    return refusal.isEmpty() ? QStringLiteral("ok") : QStringLiteral("error: ") + refusal;
}
