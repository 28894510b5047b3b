#include "app/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>

#include "app/operator_actions.h"
#include "base/local_time_text.h"
#include "base/number_text.h"

std::optional<std::int64_t> ParseDuration(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,9})([smhd])$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const std::int64_t n = m.captured(1).toLongLong();
    const QChar unit = m.captured(2).at(0);
    const std::int64_t perUnit = unit == 's'   ? 1000
                                 : unit == 'm' ? 60'000
                                 : unit == 'h' ? 3'600'000
                                               : 86'400'000;
    if (n <= 0) return std::nullopt;
    return n * perUnit;
}

QString UsageText() {
    // The verbs come from their table, so a new verb is never missing here.
    QStringList verbs;
    for (const OperatorVerb& verb : OperatorVerbs())
        verbs << QLatin1String(verb.name) +
                     (verb.argument == VerbArgument::OnOff    ? QStringLiteral(" on|off")
                      : verb.argument == VerbArgument::Number ? QStringLiteral(" N")
                      : verb.argument == VerbArgument::Text   ? QStringLiteral(" [TEXT]")
                                                              : QString());
    return QStringLiteral(
               "usage: stavox-mixer [--player mpv|simulated] [--ao=DRIVER]\n"
               "       stavox-mixer --simulate \"YYYY-MM-DD HH:MM:SS\" --for DURATION [--volumes]"
               " [--actions FILE]\n"
               "         DURATION: 90s, 45m, 6h, 7d; at most 366d\n"
               "         FILE: one action a line, \"YYYY-MM-DD HH:MM:SS VERB [ARG]\", VERB: %1;\n"
               "         N counts from 1; \"#\" starts a remark, on its own line or after an"
               " action\n"
               "       stavox-mixer --track-length FILE...\n"
               "       stavox-mixer --analyze [--jobs N] FILE...\n"
               "         prints \"LUFS<TAB>TRUEPEAK<TAB>START<TAB>END<TAB>PATH\" per file and"
               " keeps it in the cache;\n"
               "         exit 0 all analysed, 1 some could not be\n"
               "       stavox-mixer --search TEXT [--and TEXT2] [--greeklish] [--cds]\n"
               "       stavox-mixer --dead-entries songs|spots\n"
               "         prints \"LIST<TAB>PATH\" per dead entry (\"<TAB>unreachable\" when its"
               " folder is missing);\n"
               "         exit 0 none, 1 some or a file could not be read\n"
               "       stavox-mixer --check [--from \"YYYY-MM-DD HH:MM:SS\"] [--for DURATION]\n"
               "         the pre-flight check, from now for 7d unless given; prints\n"
               "         \"YYYY-MM-DD HH:MM<TAB>KIND<TAB>DETAIL\" per warning, then \"# N "
               "warnings\";\n"
               "         exit 0 none, 1 some\n"
               "       stavox-mixer --send status\n"
               "         prints how the running station stands, one \"ITEM: VALUE\" line each"
               " (on air, next,\n"
               "         program, mode, spots, decks, monitor, each stream); exit 3 when none"
               " runs\n"
               "       stavox-mixer --send VERB [ARG]\n"
               "         sends an actions VERB to the running station and prints its answer,"
               " \"ok\" or\n"
               "         \"error: REASON\";"
               " exit 0 ok, 1 error, 3 no station runs\n"
               "       stavox-mixer --spot-report FROM TO [--csv]\n"
               "         FROM, TO: YYYY-MM-DD, at most 366 days; prints \"SLOT<TAB>POSITION<TAB>"
               "STATUS<TAB>PATH\" per scheduled spot,\n"
               "         STATUS: aired HH:MM:SS (twice: aired HH:MM:SS, HH:MM:SS), skipped,"
               " cancelled,\n"
               "         not aired, not yet due (its quarter is not over); --csv for"
               " spreadsheets;\n"
               "         exit 0 done, 1 a spot file or an as-run log could not be read\n"
               "       stavox-mixer --air-report DAY\n"
               "         DAY: YYYY-MM-DD or today; what the station heard of its air that day,"
               " from asrun/DAY.log:\n"
               "         \"silence<TAB>BEGAN<TAB>LASTED<TAB>BROUGHT BACK BY<TAB>PLAYING\" per"
               " silence, the hand-overs'\n"
               "         median and worst hole, \"transition<TAB>AT<TAB>FROM→TO<TAB>HOLE<TAB>"
               "QUIETEST\" for the ten worst,\n"
               "         then a \"#\" summary; exit 0 no silence of SilenceSeconds or more, 1"
               " some, 2 no such log\n"
               "       stavox-mixer --help | --version")
        .arg(verbs.join(QStringLiteral(", ")));
}

namespace {

// A preview spans at most a year, leap day included.
constexpr std::int64_t kLongestPreviewMs = 366LL * 86'400'000;

// A start time, or the reason it is none in cl.error.
QDateTime TakeStartTime(CommandLine& cl, const QString& text) {
    ReadResult<QDateTime> start = ParseLocalTime(text);
    if (!start.ok())
        cl.error =
            QStringLiteral("bad start time \"%1\": %2").arg(CutForEcho(text), start.message());
    return start.value;
}

bool IsQtOwnOption(const QString& arg) {
    return arg.startsWith(QLatin1String("-platform")) || arg.startsWith(QLatin1String("-style")) ||
           arg == QLatin1String("-display");
}

// Two families the parser cannot name one by one: Qt's own options, which QApplication
// takes later, and mpv's --ao... options, which go to the decks as they are.
QStringList SetAsidePassThrough(const QStringList& args, QStringList& playerOptions) {
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (IsQtOwnOption(a)) {
            if (!a.contains(u'=')) ++i;  // its value follows
        } else if (a.startsWith(QLatin1String("--ao")) && a != QLatin1String("--ao") &&
                   !a.startsWith(QLatin1String("--ao="))) {
            playerOptions << a;
        } else {
            rest << a;
        }
    }
    return rest;
}

struct CommandOptions {
    QCommandLineOption simulate{QStringLiteral("simulate"), QString(), QStringLiteral("start")};
    QCommandLineOption forDuration{QStringLiteral("for"), QString(), QStringLiteral("duration")};
    QCommandLineOption volumes{QStringLiteral("volumes")};
    QCommandLineOption actions{QStringLiteral("actions"), QString(), QStringLiteral("file")};
    QCommandLineOption player{QStringLiteral("player"), QString(), QStringLiteral("kind")};
    QCommandLineOption ao{QStringLiteral("ao"), QString(), QStringLiteral("driver")};
    QCommandLineOption search{QStringLiteral("search"), QString(), QStringLiteral("text")};
    QCommandLineOption narrowing{QStringLiteral("and"), QString(), QStringLiteral("text")};
    QCommandLineOption greeklish{QStringLiteral("greeklish")};
    QCommandLineOption cds{QStringLiteral("cds")};
    QCommandLineOption deadEntries{QStringLiteral("dead-entries"), QString(),
                                   QStringLiteral("kind")};
    QCommandLineOption check{QStringLiteral("check")};
    QCommandLineOption from{QStringLiteral("from"), QString(), QStringLiteral("start")};
    QCommandLineOption spotReport{QStringLiteral("spot-report")};
    QCommandLineOption csv{QStringLiteral("csv")};
    QCommandLineOption airReport{QStringLiteral("air-report"), QString(), QStringLiteral("day")};
};

void TakeSimulateOptions(CommandLine& cl, const QCommandLineParser& parser,
                         const CommandOptions& o) {
    if (parser.isSet(o.simulate)) {
        if (cl.mode == CommandLine::Mode::TrackLength) {
            cl.error = QStringLiteral("--simulate and --track-length do not go together");
            return;
        }
        cl.mode = CommandLine::Mode::Simulate;
        cl.simulateStart = TakeStartTime(cl, parser.value(o.simulate));
    }
    cl.logVolumes = parser.isSet(o.volumes);
    cl.actionsFile = parser.value(o.actions);
    if (cl.error.isEmpty() && parser.isSet(o.forDuration)) {
        const QString value = parser.value(o.forDuration);
        const auto ms = ParseDuration(value);
        if (!ms)
            cl.error = QStringLiteral("bad duration: ") + value;
        else if (*ms > kLongestPreviewMs)
            cl.error = QStringLiteral("--for is at most 366 days: ") + value;
        else
            cl.simulateForMs = *ms;
    }
    if (cl.error.isEmpty() && cl.mode == CommandLine::Mode::Simulate &&
        !parser.isSet(o.forDuration))
        cl.error = QStringLiteral("--simulate needs --for DURATION");
    if (cl.error.isEmpty() && cl.mode != CommandLine::Mode::Simulate &&
        (parser.isSet(o.forDuration) || cl.logVolumes || parser.isSet(o.actions)))
        cl.error = QStringLiteral("--for, --volumes and --actions belong to --simulate");
    if (cl.error.isEmpty() && parser.isSet(o.actions) && cl.actionsFile.isEmpty())
        cl.error = QStringLiteral("--actions needs a file");
}

// The search stands alone: it plays nothing, so no deck or preview option goes with it.
void TakeSearchOptions(CommandLine& cl, const QCommandLineParser& parser, const CommandOptions& o) {
    const bool searchOnly =
        parser.isSet(o.narrowing) || parser.isSet(o.greeklish) || parser.isSet(o.cds);
    if (!parser.isSet(o.search)) {
        if (searchOnly)
            cl.error = QStringLiteral("--and, --greeklish and --cds belong to --search");
        return;
    }
    if (cl.mode != CommandLine::Mode::Window || parser.isSet(o.player) || parser.isSet(o.ao) ||
        !cl.playerOptions.isEmpty()) {
        cl.error = QStringLiteral("--search goes with --and, --greeklish and --cds only");
        return;
    }
    cl.mode = CommandLine::Mode::Search;
    cl.searchText = parser.value(o.search);
    cl.searchNarrowing = parser.value(o.narrowing);
    cl.searchGreeklish = parser.isSet(o.greeklish);
    cl.searchCds = parser.isSet(o.cds);
}

// The check of the files stands alone, like the search.
void TakeDeadEntriesOption(CommandLine& cl, const QCommandLineParser& parser,
                           const CommandOptions& o) {
    if (!parser.isSet(o.deadEntries)) return;
    cl.deadEntries = parser.value(o.deadEntries);
    if (cl.mode != CommandLine::Mode::Window || parser.isSet(o.player) || parser.isSet(o.ao) ||
        !cl.playerOptions.isEmpty())
        cl.error = QStringLiteral("--dead-entries goes alone");
    else if (cl.deadEntries != QLatin1String("songs") && cl.deadEntries != QLatin1String("spots"))
        cl.error = QStringLiteral("--dead-entries takes songs or spots");
    cl.mode = CommandLine::Mode::DeadEntries;
}

// The check plays nothing: it takes its own span and no deck or preview option.
void TakeCheckOptions(CommandLine& cl, const QCommandLineParser& parser, const CommandOptions& o) {
    if (!parser.isSet(o.check)) {
        if (parser.isSet(o.from)) cl.error = QStringLiteral("--from belongs to --check");
        return;
    }
    if (cl.mode != CommandLine::Mode::Window || parser.isSet(o.simulate) ||
        parser.isSet(o.volumes) || parser.isSet(o.actions) || parser.isSet(o.player) ||
        parser.isSet(o.ao) || !cl.playerOptions.isEmpty()) {
        cl.error = QStringLiteral("--check goes with --from and --for only");
        return;
    }
    cl.mode = CommandLine::Mode::Check;
    if (parser.isSet(o.from)) cl.checkFrom = TakeStartTime(cl, parser.value(o.from));
    if (cl.error.isEmpty() && parser.isSet(o.forDuration)) {
        const QString value = parser.value(o.forDuration);
        const auto ms = ParseDuration(value);
        if (!ms || *ms > kLongestPreviewMs)
            cl.error = QStringLiteral("bad duration (90s, 45m, 6h, 7d; at most 366d): ") + value;
        else
            cl.checkForMs = *ms;
    }
}

// Everything after --send is the message, even what looks like an option; the station
// alone judges the verb, so a newer station's verbs need no newer client.
CommandLine ParseSendCommand(const QStringList& args, qsizetype send) {
    CommandLine cl;
    cl.mode = CommandLine::Mode::Send;
    const QStringList words = args.mid(send + 1);
    const bool oneLine = std::ranges::none_of(
        words, [](const QString& w) { return w.contains(u'\n') || w.contains(u'\r'); });
    if (send > 0)
        cl.error = QStringLiteral("--send goes alone");
    else if (words.isEmpty() || words.size() > 2 || !oneLine)
        cl.error = QStringLiteral("--send takes VERB [ARG] on one line");
    cl.sendMessage = words.join(u' ');
    return cl;
}

// A report spans at most a year, like the preview.
constexpr qint64 kLongestReportDays = 366;

// "--spot-report FROM TO": the two days follow the flag and leave the arguments with it
// (the flag itself stays for the parser).
QStringList TakeSpotReportDays(CommandLine& cl, QStringList args) {
    const qsizetype at = args.indexOf(QStringLiteral("--spot-report"));
    if (at < 0) return args;
    if (cl.mode != CommandLine::Mode::Window) {
        cl.error = QStringLiteral("--spot-report goes with --csv only");
        return args;
    }
    cl.mode = CommandLine::Mode::SpotReport;
    const QStringList days = args.mid(at + 1, 2);
    args.remove(at + 1, days.size());
    const ReadResult<QDate> from = ParseDay(days.value(0)), to = ParseDay(days.value(1));
    cl.reportFrom = from.value;
    cl.reportTo = to.value;
    // A day in the shape of one that the calendar lacks has a reason of its own.
    const auto& bad = from.ok() ? to : from;
    const QString& badText = from.ok() ? days.value(1) : days.value(0);
    if (!bad.ok() && bad.message() != kNotADay)
        cl.error = QStringLiteral("--spot-report: bad day \"%1\": %2")
                       .arg(CutForEcho(badText), bad.message());
    else if (!bad.ok())
        cl.error = QStringLiteral("--spot-report needs two days, FROM TO, as YYYY-MM-DD");
    else if (cl.reportFrom > cl.reportTo)
        cl.error = QStringLiteral("--spot-report: FROM comes after TO");
    else if (cl.reportFrom.daysTo(cl.reportTo) >= kLongestReportDays)
        cl.error = QStringLiteral("--spot-report spans at most 366 days");
    return args;
}

// The report stands alone too; --csv is its only companion.
void TakeSpotReportOptions(CommandLine& cl, const QCommandLineParser& parser,
                           const CommandOptions& o) {
    cl.reportCsv = parser.isSet(o.csv);
    if (!parser.isSet(o.spotReport)) {
        if (cl.reportCsv) cl.error = QStringLiteral("--csv belongs to --spot-report");
        return;
    }
    if (cl.mode != CommandLine::Mode::SpotReport || parser.isSet(o.player) || parser.isSet(o.ao) ||
        !cl.playerOptions.isEmpty())
        cl.error = QStringLiteral("--spot-report goes with --csv only");
}

// The air report stands alone: one day, nothing else.
void TakeAirReportOption(CommandLine& cl, const QCommandLineParser& parser,
                         const CommandOptions& o) {
    if (!parser.isSet(o.airReport)) return;
    if (cl.mode != CommandLine::Mode::Window || parser.isSet(o.player) || parser.isSet(o.ao) ||
        !cl.playerOptions.isEmpty()) {
        cl.error = QStringLiteral("--air-report goes alone");
        return;
    }
    cl.mode = CommandLine::Mode::AirReport;
    const QString text = parser.value(o.airReport);
    if (text == QLatin1String("today")) return;
    const ReadResult<QDate> day = ParseDay(text);
    cl.airReportDay = day.value;
    if (!day.ok())
        cl.error = QStringLiteral("--air-report: bad day \"%1\": %2 (YYYY-MM-DD or today)")
                       .arg(CutForEcho(text), day.message());
}

// `[--jobs N] --analyze [--jobs N] FILE...`: every argument after those is a file.
CommandLine ParseAnalyzeCommand(const QStringList& args, qsizetype analyze) {
    constexpr int kMostJobs = 256;
    CommandLine cl;
    cl.mode = CommandLine::Mode::Analyze;
    QStringList before = args.first(analyze);
    QStringList after = args.mid(analyze + 1);
    // --jobs N stands just before --analyze or just after it.
    const auto takeJobs = [&cl](QStringList& part) {
        if (part.value(0) != QStringLiteral("--jobs")) return true;
        bool number = false;
        const int jobs = part.value(1).toInt(&number);
        if (!number || jobs < 1 || jobs > kMostJobs) {
            cl.error =
                QStringLiteral("--jobs takes a number of threads from 1 to %1").arg(kMostJobs);
            return false;
        }
        cl.analyzeJobs = jobs;
        part.remove(0, 2);
        return true;
    };
    if (!takeJobs(before) || !takeJobs(after)) return cl;
    if (!before.isEmpty())
        cl.error = QStringLiteral("--analyze goes with --jobs N and its files only");
    else if (after.isEmpty())
        cl.error = QStringLiteral("--analyze needs at least one file");
    cl.files = after;
    return cl;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& args) {
    // After --track-length or --send, "--analyze" is a file or the sent verb's argument.
    if (const qsizetype analyze = args.indexOf(QStringLiteral("--analyze")); analyze >= 0) {
        const qsizetype files = args.indexOf(QStringLiteral("--track-length"));
        const qsizetype send = args.indexOf(QStringLiteral("--send"));
        if ((files < 0 || analyze < files) && (send < 0 || analyze < send))
            return ParseAnalyzeCommand(args, analyze);
    }
    if (const qsizetype send = args.indexOf(QStringLiteral("--send")); send >= 0) {
        const qsizetype files = args.indexOf(QStringLiteral("--track-length"));
        if (files < 0 || send < files) return ParseSendCommand(args, send);
    }
    CommandLine cl;
    // Every argument after --track-length is a file, even one that looks like an option.
    const qsizetype trackLength = args.indexOf(QStringLiteral("--track-length"));
    if (trackLength >= 0) {
        cl.mode = CommandLine::Mode::TrackLength;
        cl.files = args.mid(trackLength + 1);
    }
    const QStringList options = TakeSpotReportDays(
        cl,
        SetAsidePassThrough(trackLength >= 0 ? args.first(trackLength) : args, cl.playerOptions));
    if (!cl.error.isEmpty()) return cl;

    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const CommandOptions o;
    parser.addOptions({o.simulate, o.forDuration, o.volumes, o.actions, o.player, o.ao, o.search,
                       o.narrowing, o.greeklish, o.cds, o.deadEntries, o.check, o.from,
                       o.spotReport, o.csv, o.airReport});
    if (!parser.parse(QStringList(QStringLiteral("stavox-mixer")) + options)) {
        cl.error = parser.errorText();
        return cl;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        cl.mode = parser.isSet(help) ? CommandLine::Mode::Help : CommandLine::Mode::Version;
        return cl;
    }
    if (!parser.positionalArguments().isEmpty()) {
        cl.error = QStringLiteral("unknown argument: ") + parser.positionalArguments().first();
        return cl;
    }
    for (const QString& driver : parser.values(o.ao)) cl.playerOptions << "--ao=" + driver;
    if (parser.isSet(o.player)) {
        cl.player = parser.value(o.player);
        if (cl.player != "mpv" && cl.player != "simulated")
            cl.error = QStringLiteral("--player takes mpv or simulated");
    }
    if (cl.error.isEmpty()) TakeCheckOptions(cl, parser, o);
    if (cl.error.isEmpty() && cl.mode != CommandLine::Mode::Check)
        TakeSimulateOptions(cl, parser, o);
    if (cl.error.isEmpty()) TakeSearchOptions(cl, parser, o);
    if (cl.error.isEmpty()) TakeDeadEntriesOption(cl, parser, o);
    if (cl.error.isEmpty()) TakeSpotReportOptions(cl, parser, o);
    if (cl.error.isEmpty()) TakeAirReportOption(cl, parser, o);
    if (cl.error.isEmpty() && cl.mode == CommandLine::Mode::TrackLength && cl.files.isEmpty())
        cl.error = QStringLiteral("--track-length needs at least one file");
    return cl;
}
