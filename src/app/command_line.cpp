#include "app/command_line.h"

#include <QRegularExpression>

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
    return QStringLiteral(
        "usage: stavox-mixer [--player mpv|simulated] [--ao=DRIVER]\n"
        "       stavox-mixer --simulate \"YYYY-MM-DD HH:MM:SS\" --for DURATION [--volumes]"
        "   (DURATION: 90s, 45m, 6h, 7d; at most 366d)\n"
        "       stavox-mixer --track-length FILE...");
}

namespace {

// A preview spans at most a year, leap day included.
constexpr std::int64_t kLongestPreviewMs = 366LL * 86'400'000;

bool TakeValue(const QStringList& args, int& i, QString& value) {
    if (i + 1 >= args.size()) return false;
    value = args.at(++i);
    return true;
}

void ParseSimulateStart(CommandLine& cl, const QString& text) {
    cl.simulateStart = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!cl.simulateStart.isValid()) cl.error = QStringLiteral("bad start time: ") + text;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine cl;
    bool sawFor = false;
    for (int i = 0; i < args.size() && cl.error.isEmpty(); ++i) {
        const QString& a = args.at(i);
        QString value;
        if (cl.mode == CommandLine::Mode::TrackLength) {
            cl.files << a;
        } else if (a == "--track-length") {
            cl.mode = CommandLine::Mode::TrackLength;
        } else if (a == "--simulate") {
            cl.mode = CommandLine::Mode::Simulate;
            if (!TakeValue(args, i, value))
                cl.error = "--simulate needs a start time";
            else
                ParseSimulateStart(cl, value);
        } else if (a == "--for") {
            sawFor = true;
            const auto ms = TakeValue(args, i, value) ? ParseDuration(value) : std::nullopt;
            if (!ms)
                cl.error = QStringLiteral("bad duration: ") + value;
            else if (*ms > kLongestPreviewMs)
                cl.error = QStringLiteral("--for is at most 366 days: ") + value;
            else
                cl.simulateForMs = *ms;
        } else if (a == "--volumes") {
            cl.logVolumes = true;
        } else if (a == "--player") {
            if (!TakeValue(args, i, value) || (value != "mpv" && value != "simulated"))
                cl.error = QStringLiteral("--player takes mpv or simulated");
            else
                cl.player = value;
        } else if (a.startsWith("--ao")) {
            cl.playerOptions << a;
            if (a == "--ao" && TakeValue(args, i, value)) cl.playerOptions.last() += "=" + value;
        } else if (a.startsWith("-platform") || a.startsWith("-style") || a == "-display") {
            if (!a.contains('=')) ++i;  // Qt's own options, taken by QApplication
        } else {
            cl.error = QStringLiteral("unknown argument: ") + a;
        }
    }
    if (cl.error.isEmpty() && cl.mode == CommandLine::Mode::Simulate && !sawFor)
        cl.error = QStringLiteral("--simulate needs --for DURATION");
    if (cl.error.isEmpty() && cl.mode != CommandLine::Mode::Simulate && (sawFor || cl.logVolumes))
        cl.error = QStringLiteral("--for and --volumes belong to --simulate");
    if (cl.error.isEmpty() && cl.mode == CommandLine::Mode::TrackLength && cl.files.isEmpty())
        cl.error = QStringLiteral("--track-length needs at least one file");
    return cl;
}
