#include "app/operator_actions.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

#include "app/as_run_log.h"
#include "app/station.h"
#include "base/clock.h"
#include "base/text_file.h"

namespace {

// Refusals of numbered arguments: a button, tab or row the station does not have now.
QString NoSuchNumber(const QString& what, const QString& argument, int count) {
    return QStringLiteral("no %1 %2 (there are %3)").arg(what, argument).arg(count);
}

QString JingleButtonRefusal(const Station& s, const QString& arg) {
    const int buttons = s.Jingles().NoOfJingles();
    return arg.toInt() < buttons ? QString()
                                 : NoSuchNumber(QStringLiteral("jingle button"), arg, buttons);
}

QString JingleTabRefusal(const Station& s, const QString& arg) {
    const int tabs = int(s.Jingles().TabNames().size());
    return arg.toInt() < tabs ? QString() : NoSuchNumber(QStringLiteral("jingle tab"), arg, tabs);
}

// "Next Spots" rows count from 1 here, as the spot report and the as-run log's places do.
QString SpotRowRefusal(const Station& s, const QString& arg) {
    const int rows = int(s.SpotsTab().NextSpotPaths().size());
    const int row = arg.toInt();
    return row >= 1 && row <= rows
               ? QString()
               : NoSuchNumber(QStringLiteral("row of \"Next Spots\""), arg, rows);
}

// The operator lets a quarter's spots play over manual mode; in automatic mode they play
// anyway, and an acceptance kept from then would let a later manual quarter play unasked.
QString AcceptSpotsRefusal(const Station& s, const QString&) {
    return s.Engine().Controls().ManualMode
               ? QString()
               : QStringLiteral(
                     "spots are accepted in manual mode only; in automatic mode "
                     "they play by themselves");
}

const OperatorVerb kVerbs[] = {
    {"manual", VerbArgument::OnOff,
     [](Station& s, const QString& arg) { s.Engine().SetManual(arg == u"on"); }},
    {"next", VerbArgument::None, [](Station& s, const QString&) { s.Engine().Next(); }},
    {"pause", VerbArgument::None, [](Station& s, const QString&) { s.Engine().Pause(); }},
    {"accept-spots", VerbArgument::None,
     [](Station& s, const QString&) { s.Spots().PlaySpotsNormally(); }, AcceptSpotsRefusal},
    {"line-in", VerbArgument::OnOff,
     [](Station& s, const QString& arg) { s.LineInput().SetButtonDown(arg == u"on"); }},
    {"say-hour", VerbArgument::None,
     [](Station& s, const QString&) { s.Announcement().BitBtnSayHour1Click(); }},
    {"jingle-tab", VerbArgument::Number,
     [](Station& s, const QString& arg) { s.Jingles().SelectTab(arg.toInt()); }, JingleTabRefusal},
    {"jingle", VerbArgument::Number,
     [](Station& s, const QString& arg) { s.PlayJingle(arg.toInt()); }, JingleButtonRefusal},
    {"stop-jingle", VerbArgument::None,
     [](Station& s, const QString&) { s.Jingles().StopJingle(); }},
    // The check box of row N (from 1) of "Next Spots": an unchecked spot is passed over.
    {"uncheck-spot", VerbArgument::Number,
     [](Station& s, const QString& arg) {
         s.SpotsTab().SetNextSpotChecked(arg.toInt() - 1, false);
     },
     SpotRowRefusal},
    {"check-spot", VerbArgument::Number,
     [](Station& s, const QString& arg) { s.SpotsTab().SetNextSpotChecked(arg.toInt() - 1, true); },
     SpotRowRefusal},
};

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// One line that is not blank or a remark: the action, or why it is not one.
QString ParseLine(const QString& line, const QDateTime& earliest, const QDateTime& from,
                  const QDateTime& to, OperatorAction& action) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QStringList words = line.split(space, Qt::SkipEmptyParts);
    const QString time = words.mid(0, 2).join(u' ');
    action.when = QDateTime::fromString(time, kTimeFormat);
    if (words.size() < 2 || !action.when.isValid())
        return QStringLiteral("bad time \"%1\", not YYYY-MM-DD HH:MM:SS").arg(time);
    if (action.when < from || action.when > to)
        return QStringLiteral("%1 is outside the simulated span %2 to %3")
            .arg(time, from.toString(kTimeFormat), to.toString(kTimeFormat));
    if (action.when < earliest) return QStringLiteral("%1 is before the action above it").arg(time);
    if (words.size() < 3) return QStringLiteral("no verb after the time");
    action.verb = FindOperatorVerb(words[2]);
    if (!action.verb) return QStringLiteral("unknown verb \"%1\"").arg(words[2]);
    action.argument = words.mid(3).join(u' ');
    return CheckVerbArgument(*action.verb, action.argument);
}

}  // namespace

std::span<const OperatorVerb> OperatorVerbs() { return kVerbs; }

const OperatorVerb* FindOperatorVerb(const QString& name) {
    const auto it = std::ranges::find_if(
        kVerbs, [&](const OperatorVerb& v) { return name == QLatin1String(v.name); });
    return it == std::end(kVerbs) ? nullptr : &*it;
}

QString CheckVerbArgument(const OperatorVerb& verb, const QString& argument) {
    switch (verb.argument) {
        case VerbArgument::None:
            if (argument.isEmpty()) return {};
            return QStringLiteral("%1 takes no argument, not \"%2\"").arg(verb.name, argument);
        case VerbArgument::OnOff:
            if (argument == u"on" || argument == u"off") return {};
            return QStringLiteral("%1 takes on or off, not \"%2\"").arg(verb.name, argument);
        case VerbArgument::Number: {
            bool number = false;
            if (argument.toInt(&number) >= 0 && number) return {};
            return QStringLiteral("%1 takes a number from 0, not \"%2\"").arg(verb.name, argument);
        }
    }
    return {};
}

ReadResult<QList<OperatorAction>> ParseOperatorActions(const QString& fileName, const QString& text,
                                                       const QDateTime& from, const QDateTime& to) {
    ReadResult<QList<OperatorAction>> result;
    const QStringList lines = text_file::SplitLines(text);
    QDateTime earliest = from;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        OperatorAction action;
        const QString reason = ParseLine(line, earliest, from, to, action);
        if (!reason.isEmpty()) {
            // Half a file of actions would be a different day: all of it or nothing.
            return {Result::Error(QStringLiteral("%1:%2: %3").arg(fileName).arg(i + 1).arg(reason)),
                    {}};
        }
        earliest = action.when;
        result.value.append(action);
    }
    return result;
}

ReadResult<QList<OperatorAction>> ReadOperatorActions(const QString& path, const QDateTime& from,
                                                      const QDateTime& to) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Result::Error(QStringLiteral("The actions file %1 cannot be read: %2")
                                  .arg(path, file.errorString())),
                {}};
    return ParseOperatorActions(path, text_file::DecodeText(file.readAll()), from, to);
}

QString ApplyOperatorAction(Station& station, const OperatorAction& action, const AsRunLog& log,
                            const Clock& clock) {
    if (action.verb->refusal) {
        if (QString reason = action.verb->refusal(station, action.argument); !reason.isEmpty())
            return reason;
    }
    // Logged first, so the deck lines the command causes follow it.
    log.Write(clock.Now(), QStringLiteral("operator"), QLatin1String(action.verb->name),
              action.argument);
    action.verb->apply(station, action.argument);
    return {};
}
