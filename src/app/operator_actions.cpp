#include "app/operator_actions.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "app/as_run_log.h"
#include "app/station.h"
#include "app/station_commands.h"
#include "base/clock.h"
#include "base/local_time_text.h"
#include "base/number_text.h"
#include "base/text_file.h"

namespace {

// Refusals of numbered arguments: a button, tab or row the station does not have now.
// Buttons, tabs and rows count from 1, as the spot report and the as-run log's places do.
QString NoSuchNumber(const QString& what, const QString& argument, int count) {
    const int n = argument.toInt();
    if (n >= 1 && n <= count) return {};
    return QStringLiteral("no %1 %2 (there are %3)").arg(what, argument).arg(count);
}

QString JingleButtonRefusal(const Station& s, const QString& arg) {
    return NoSuchNumber(QStringLiteral("jingle button"), arg, s.Jingles().NoOfJingles());
}

QString JingleTabRefusal(const Station& s, const QString& arg) {
    return NoSuchNumber(QStringLiteral("jingle tab"), arg, int(s.Jingles().TabNames().size()));
}

QString SpotRowRefusal(const Station& s, const QString& arg) {
    return NoSuchNumber(QStringLiteral("row of \"Next Spots\""), arg,
                        int(s.NextSpots().NextSpotPaths().size()));
}

// Next only raises a flag for the main loop's next tick, and the loop drops it when
// nothing follows the head of the queue: say so rather than answer for nothing.
QString NextRefusal(const Station& s, const QString&) {
    const PlaybackEngine& engine = s.Engine();
    if (!engine.MainLoopRunning())
        return QStringLiteral(
                   "the station is starting: the decks are looked up %1 s after the "
                   "start, and only then does next play")
            .arg(engine.WaitSecInBeggining);
    if (!engine.QueueHoldsATrack())
        return QStringLiteral("the queue holds no track, only fillers: its lists ran dry");
    if (engine.Queue().At(1).isEmpty())
        return QStringLiteral("nothing follows the next track in the queue");
    return {};
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

}  // namespace

// The verbs of the air: transport, spots, jingles, the line input and the hour.
std::vector<OperatorVerb> StationCommands::OnAirVerbs() {
    return {
        {"manual", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_engine.SetManual(arg == u"on");
             return Result::Ok();
         }},
        {"next", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.Next();
             return Result::Ok();
         },
         NextRefusal},
        {"pause", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.Pause();
             return Result::Ok();
         }},
        {"accept-spots", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_spots.PlaySpotsNormally();
             return Result::Ok();
         },
         AcceptSpotsRefusal},
        {"line-in", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_lineIn.SetButtonDown(arg == u"on");
             return Result::Ok();
         }},
        {"say-hour", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_hour.BitBtnSayHour1Click();
             return Result::Ok();
         }},
        {"jingle-tab", VerbArgument::Number,
         [](Station& s, const QString& arg) { return s.m_jingles.SelectTab(arg.toInt() - 1); },
         JingleTabRefusal},
        {"jingle", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.PlayJingle(arg.toInt() - 1);
             return Result::Ok();
         },
         JingleButtonRefusal},
        {"stop-jingle", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_jingles.StopJingle();
             return Result::Ok();
         }},
        // The check box of row N of "Next Spots": an unchecked spot is passed over.
        {"uncheck-spot", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_spotSchedule.SetNextSpotChecked(arg.toInt() - 1, false);
             return Result::Ok();
         },
         SpotRowRefusal},
        {"check-spot", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_spotSchedule.SetNextSpotChecked(arg.toInt() - 1, true);
             return Result::Ok();
         },
         SpotRowRefusal},
    };
}

namespace {

// Every area's verbs, in one table; built once.
const std::vector<OperatorVerb>& AllVerbs() {
    static const std::vector<OperatorVerb> verbs = [] {
        std::vector<OperatorVerb> all;
        for (auto area : {&StationCommands::OnAirVerbs, &StationCommands::PlayerVerbs,
                          &StationCommands::CalendarVerbs, &StationCommands::SpotsVerbs,
                          &StationCommands::ListsVerbs, &StationCommands::PlayedVerbs,
                          &StationCommands::JinglesVerbs, &StationCommands::LibraryVerbs,
                          &StationCommands::OptionsVerbs, &StationCommands::WindowVerbs}) {
            std::vector<OperatorVerb> rows = area();
            all.insert(all.end(), rows.begin(), rows.end());
        }
        return all;
    }();
    return verbs;
}

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A week of actions a minute apart is a few megabytes; a line is a time and a verb.
constexpr qint64 kLongestActionsFile = 16 * 1024 * 1024;
constexpr qsizetype kLongestActionLine = 4096;

// One line that is not blank or a remark: the action, or why it is not one.
QString ParseLine(const QString& line, const QDateTime& earliest, const QDateTime& from,
                  const QDateTime& to, OperatorAction& action) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QStringList words = line.split(space, Qt::SkipEmptyParts);
    // A remark may follow the action: "#" starts it, as it starts a line of remark.
    const qsizetype remark =
        std::ranges::find_if(words, [](const QString& w) { return w.startsWith(u'#'); }) -
        words.begin();
    words.resize(remark);
    const QString time = CutForEcho(words.mid(0, 2).join(u' '));
    const ReadResult<QDateTime> when = ParseLocalTime(time);
    if (!when.ok()) return QStringLiteral("bad time \"%1\", %2").arg(time, when.message());
    action.when = when.value;
    if (action.when < from || action.when > to)
        return QStringLiteral("%1 is outside the simulated span %2 to %3")
            .arg(time, from.toString(kTimeFormat), to.toString(kTimeFormat));
    if (action.when < earliest) return QStringLiteral("%1 is before the action above it").arg(time);
    if (words.size() < 3) return QStringLiteral("no verb after the time");
    action.verb = FindOperatorVerb(words[2]);
    if (!action.verb) return QStringLiteral("unknown verb \"%1\"").arg(CutForEcho(words[2]));
    action.argument = words.mid(3).join(u' ');
    return CheckVerbArgument(*action.verb, action.argument);
}

}  // namespace

std::span<const OperatorVerb> OperatorVerbs() { return AllVerbs(); }

const OperatorVerb* FindOperatorVerb(const QString& name) {
    const std::vector<OperatorVerb>& verbs = AllVerbs();
    const auto it = std::ranges::find_if(
        verbs, [&](const OperatorVerb& v) { return name == QLatin1String(v.name); });
    return it == verbs.end() ? nullptr : &*it;
}

QString CheckVerbArgument(const OperatorVerb& verb, const QString& argument) {
    switch (verb.argument) {
        case VerbArgument::None:
            if (argument.isEmpty()) return {};
            return QStringLiteral("%1 takes no argument, not \"%2\"")
                .arg(verb.name, CutForEcho(argument));
        case VerbArgument::OnOff:
            if (argument == u"on" || argument == u"off") return {};
            return QStringLiteral("%1 takes on or off, not \"%2\"")
                .arg(verb.name, CutForEcho(argument));
        case VerbArgument::Text:
            return {};
        case VerbArgument::Number: {
            bool number = false;
            if (argument.toInt(&number) >= 1 && number) return {};
            return QStringLiteral("%1 takes a number from 1, not \"%2\"")
                .arg(verb.name, CutForEcho(argument));
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
        const QString reason =
            line.size() > kLongestActionLine
                ? QStringLiteral("a line of %1 characters, at most %2 for an action")
                      .arg(line.size())
                      .arg(kLongestActionLine)
                : ParseLine(line, earliest, from, to, action);
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
    const auto refused = [&path](const QString& why) -> ReadResult<QList<OperatorAction>> {
        return {
            Result::Error(QStringLiteral("The actions file %1 cannot be read: %2").arg(path, why)),
            {}};
    };
    // A device or a FIFO would be read for ever, or wait for a writer that never comes.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return refused(QStringLiteral("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return refused(file.errorString());
    // Read one byte past the limit, so a file that grows meanwhile is caught too.
    const QByteArray bytes = file.read(kLongestActionsFile + 1);
    if (file.error() != QFileDevice::NoError) return refused(file.errorString());
    if (bytes.size() > kLongestActionsFile)
        return refused(QStringLiteral("it holds more than %1 MB, more than any year of actions")
                           .arg(kLongestActionsFile / (1024 * 1024)));
    return ParseOperatorActions(path, text_file::DecodeText(bytes), from, to);
}

namespace {

// Empty when the station takes the verb now, else why not.
QString VerbRefusal(const Station& station, const OperatorVerb& verb, const QString& argument) {
    if (QString reason = CheckVerbArgument(verb, argument); !reason.isEmpty()) return reason;
    if (verb.refusal) {
        if (QString reason = verb.refusal(station, argument); !reason.isEmpty()) return reason;
    }
    if (verb.edits) {
        if (const Result locked = station.Lock().Refusal(); !locked.ok()) return locked.message();
    }
    return {};
}

}  // namespace

Result RunVerb(Station& station, const OperatorVerb& verb, const QString& argument) {
    if (QString reason = VerbRefusal(station, verb, argument); !reason.isEmpty())
        return Result::Error(reason);
    return verb.apply(station, argument);
}

QString ApplyOperatorAction(Station& station, const OperatorAction& action, const AsRunLog& log,
                            const Clock& clock) {
    if (QString reason = VerbRefusal(station, *action.verb, action.argument); !reason.isEmpty())
        return reason;
    // Logged first, so the deck lines the command causes follow it.
    log.Write(clock.Now(), QStringLiteral("operator"), QLatin1String(action.verb->name),
              action.argument);
    const Result done = action.verb->apply(station, action.argument);
    return done.ok() ? QString() : done.message();
}
