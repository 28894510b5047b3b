#include "tools/check_command.h"

#include <QSettings>
#include <QTextStream>

#include "app/command_line.h"
#include "app/settings.h"
#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "tools/week_check.h"

int RunCheckCommand(const CommandLine& cl, const QString& startFolder, QSettings* store,
                    const QDateTime& now, QTextStream& out, AnalysisStore* analyses) {
    const QDateTime from = cl.checkFrom.isValid() ? cl.checkFrom : now;
    // A station that is never started: only its settings are read, nothing on disk changes.
    VirtualTimerHost host(from);
    SimulatedPlayerLink link(host, host);
    Station station(startFolder, host, host, link);
    if (store) ReadSettings(*store, station.StoredSettings());
    station.SetAnalyses(analyses);
    const QList<week_check::Warning> warnings =
        week_check::CheckWeek(week_check::SetupOf(station), from, cl.checkForMs);
    for (const week_check::Warning& warning : warnings)
        out << week_check::WarningLine(warning) << '\n';
    out << "# " << warnings.size() << " warnings\n";
    out.flush();
    return warnings.isEmpty() ? 0 : 1;
}
