// Runs the week preview of a station under random operator actions and checks it:
//   sim_week BINARY STATION WORK_FOLDER [SEED] [DAYS]
// Prints the seed first (so a failure can be repeated), then the report. Exit code 0 when
// clean, 1 on a violation or finding, 2 on bad arguments.
#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <cstdio>

#include "simulated_week.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    SimulatedWeekRun run;
    bool seedOk = true, daysOk = true;
    run.seed = args.size() > 3 ? args[3].toUInt(&seedOk) : QRandomGenerator::system()->generate();
    run.days = args.size() > 4 ? args[4].toInt(&daysOk) : 7;
    if (args.size() < 3 || args.size() > 5 || !seedOk || !daysOk || run.days < 1) {
        std::fprintf(stderr, "usage: sim_week BINARY STATION WORK_FOLDER [SEED] [DAYS]\n");
        return 2;
    }
    run.binary = args[0];
    run.station = QDir(args[1]).absolutePath();
    run.workFolder = QDir(args[2]).absolutePath();
    std::printf("seed: %u\n", run.seed);
    std::fflush(stdout);
    const SimulatedWeekResult result = RunSimulatedWeek(run);
    for (const QString& line : DescribeSimulatedWeek(run, result).mid(1))
        std::printf("%s\n", qPrintable(line));
    return result.violations.isEmpty() && result.findings.isEmpty() ? 0 : 1;
}
