#include "simulated_week.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "base/text_file.h"

namespace {

// A week takes a few seconds; under the sanitizers, minutes.
constexpr int kRunLimitMs = 3 * 3600 * 1000;

QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// Settings, sockets and the station lock in a home of the run's own, never the user's.
QProcessEnvironment PrivateHome(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QDir().mkpath(home + QStringLiteral("/run"));
    QFile::setPermissions(home + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// What the sanitizers and the C library print when something went wrong.
QStringList Findings(const QStringList& errorLines) {
    static const QRegularExpression report(
        QStringLiteral("ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: UndefinedBehavior"));
    return errorLines.filter(report);
}

}  // namespace

SimulatedWeekResult RunSimulatedWeek(const SimulatedWeekRun& run) {
    SimulatedWeekResult result;
    result.actions = RandomOperatorWeek(run.seed, run.from, run.days, run.days * run.actionsPerDay);
    const QString actionsPath = run.workFolder + QStringLiteral("/actions.txt");
    const QString logPath = run.workFolder + QStringLiteral("/as-run.log");
    const QString errorPath = run.workFolder + QStringLiteral("/stderr.txt");
    if (const Result written = text_file::WriteLines(actionsPath, result.actions.lines);
        !written.ok()) {
        result.findings << written.message();
        return result;
    }
    const QMap<QString, QByteArray> before = HashFolder(run.station);

    QProcess program;
    program.setProcessEnvironment(PrivateHome(run.workFolder + QStringLiteral("/home")));
    program.setWorkingDirectory(run.station);
    program.setStandardOutputFile(logPath);
    program.setStandardErrorFile(errorPath);
    program.start(run.binary,
                  {QStringLiteral("--simulate"), run.from.toString(u"yyyy-MM-dd HH:mm:ss"),
                   QStringLiteral("--for"), QStringLiteral("%1d").arg(run.days),
                   QStringLiteral("--volumes"), QStringLiteral("--actions"), actionsPath});
    if (!program.waitForFinished(kRunLimitMs)) {
        program.kill();
        program.waitForFinished();
        result.findings
            << QStringLiteral("the preview did not finish: %1").arg(program.errorString());
    } else if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
        result.findings << QStringLiteral("the preview ended with exit code %1%2")
                               .arg(program.exitCode())
                               .arg(program.exitStatus() == QProcess::CrashExit ? " (crashed)"
                                                                                : "");
    }
    result.findings += Findings(ReadLines(errorPath));

    const QStringList log = ReadLines(logPath);
    result.logLines = log.size();
    if (log.isEmpty()) result.findings << QStringLiteral("the preview printed no as-run log");
    result.violations = CheckAsRunLog(log, run.station + QStringLiteral("/days1/"));
    result.violations += CheckSpotsReckoned(log, run.station + QStringLiteral("/spots1/"), run.from,
                                            run.from.addDays(run.days));
    result.violations += CompareFolders(before, HashFolder(run.station));
    return result;
}

QStringList DescribeSimulatedWeek(const SimulatedWeekRun& run, const SimulatedWeekResult& result) {
    QStringList out{QStringLiteral("seed: %1").arg(run.seed),
                    QStringLiteral("span: %1 for %2 days")
                        .arg(run.from.toString(u"yyyy-MM-dd HH:mm:ss"))
                        .arg(run.days),
                    QStringLiteral("actions: %1").arg(result.actions.lines.size())};
    for (auto it = result.actions.perVerb.cbegin(); it != result.actions.perVerb.cend(); ++it)
        out << QStringLiteral("  %1: %2").arg(it.key()).arg(it.value());
    out << QStringLiteral("as-run lines: %1").arg(result.logLines)
        << QStringLiteral("invariants checked: %1").arg(AsRunInvariants().join(u' '))
        << QStringLiteral("violations: %1").arg(result.violations.size());
    for (const Violation& v : result.violations.mid(0, 50))
        out << QStringLiteral("  %1 line %2: %3").arg(v.invariant).arg(v.lineNumber).arg(v.reason);
    out << QStringLiteral("sanitizer findings: %1").arg(result.findings.size());
    for (const QString& finding : result.findings.mid(0, 50)) out << QStringLiteral("  ") + finding;
    return out;
}
