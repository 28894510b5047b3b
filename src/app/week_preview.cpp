#include "app/week_preview.h"

#include "app/as_run_log.h"
#include "app/command_line.h"
#include "app/settings.h"
#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"

namespace {

// The one place a problem becomes an as-run line.
void WriteProblem(const AsRunLog& log, const Clock& clock, const QString& message) {
    log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("problem"), message);
}

}  // namespace

void LogProblems(const QStringList& messages, const AsRunLog& log, const Clock& clock) {
    for (const QString& message : messages) WriteProblem(log, clock, message);
}

void LogStationEvents(Station& station, const AsRunLog& log, const Clock& clock) {
    station.Loader().OnProgramLoaded = [&log, &clock](const QString& value) {
        log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("program"), value);
    };
    station.Engine().OnEntryStarted = [&log, &clock](const QString& entry) {
        log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("queue"), entry);
    };
    station.Engine().OnTrackMissing = [&log, &clock](const QString& path) {
        log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("missing"), path);
    };
    station.OnProblem = [&log, &clock](const QString& message) {
        WriteProblem(log, clock, message);
    };
}

int RunWeekPreview(const CommandLine& cl, const QString& startFolder, const Settings& settings,
                   const std::function<void(const QString& line)>& writeLine,
                   const QStringList& startProblems) {
    VirtualTimerHost host(cl.simulateStart);
    SimulatedPlayerLink link(host, host);
    const AsRunLog log(writeLine);
    link.OnEvent = [&](int deck, const QString& event, const QString& detail) {
        if (event == QLatin1String("volume") && !cl.logVolumes) return;
        log.Write(host.Now(), QStringLiteral("deck%1").arg(deck), event, detail);
    };

    Station station(startFolder, host, host, link);
    LogStationEvents(station, log, host);
    LogProblems(startProblems + station.StartUp(settings), log, host);
    station.Engine().SetManual(false);
    host.Advance(cl.simulateForMs);
    return 0;
}
