#include "app/week_preview.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "app/as_run_log.h"
#include "app/command_line.h"
#include "app/settings.h"
#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "schedule/list_file.h"

namespace {

// The one place a problem becomes an as-run line.
void WriteProblem(const AsRunLog& log, const Clock& clock, const QString& message) {
    log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("problem"), message);
}

// The tracks the queue can still start before the next program: those queued (the other
// entries are fillers, which play nothing) and those left in the program's lists.
int TracksLeft(const PlayQueue& queue) {
    const auto queued = std::ranges::count_if(queue.Entries(), [](const QString& entry) {
        return !SplitTrackEntry(entry).path.isEmpty();
    });
    qsizetype pooled = 0;
    for (int list = 0; list < std::min(queue.ProgramListCount(), PlayQueue::kMaxLists); ++list)
        pooled += queue.ProgramList(list).size();
    return int(queued + pooled);
}

}  // namespace

void LogProblems(const QStringList& messages, const AsRunLog& log, const Clock& clock) {
    for (const QString& message : messages) WriteProblem(log, clock, message);
}

void LogAirWatch(const AirWatch& air, const AsRunLog& log, const Clock& clock) {
    const auto write = [&log, &clock](const QString& event, const QString& detail,
                                      const QString& more = {}) {
        log.Write(clock.Now(), QStringLiteral("monitor"), event, detail, more);
    };
    QObject::connect(&air, &AirWatch::Off,
                     [write](const QString& why) { write(QStringLiteral("off"), why); });
    QObject::connect(&air, &AirWatch::On, [write] { write(QStringLiteral("on"), QString()); });
    QObject::connect(&air, &AirWatch::Silence, [write](const QDateTime& start) {
        write(QStringLiteral("silence"), start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
    });
    QObject::connect(&air, &AirWatch::Recovery, [write](const QString& step, const QString& list) {
        write(QStringLiteral("recovery"), step, list);
    });
    QObject::connect(&air, &AirWatch::Sound, [write](double seconds) {
        write(QStringLiteral("sound"), QString::number(seconds, 'f', 1));
    });
    QObject::connect(
        &air, &AirWatch::Transition,
        [&log, &clock](const QString& from, const QString& to, double quietestDb, int holeMs) {
            const QString quietest = std::isfinite(quietestDb) ? QString::number(quietestDb, 'f', 1)
                                                               : QStringLiteral("-inf");
            log.Write(clock.Now(), QStringLiteral("monitor"), QStringLiteral("transition"),
                      {from + QChar(0x2192) + to, quietest, QString::number(holeMs)});
        });
}

void LogStationEvents(const Station& station, const AsRunLog& log, const Clock& clock) {
    // A listener that writes what it hears as a station line of this event.
    const auto line = [&log, &clock](const QString& event) {
        return [&log, &clock, event](const QString& detail) {
            log.Write(clock.Now(), QStringLiteral("station"), event, detail);
        };
    };
    QObject::connect(&station.Loader(), &ProgramLoader::ProgramLoaded, line("program"));
    // A queue line carries the tracks left behind it: 0 means silence after this one until
    // a program or the operator brings music.
    QObject::connect(&station.Engine(), &PlaybackEngine::EntryStarted,
                     [&log, &clock, &station](const QString& entry) {
                         log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("queue"),
                                   entry, QString::number(TracksLeft(station.Engine().Queue())));
                     });
    QObject::connect(&station.Engine(), &PlaybackEngine::TrackMissing, line("missing"));
    QObject::connect(&station, &Station::WentOn, line("resumed"));
    // A spot line of the schedule carries its place after the file: "YYYY-MM-DD HH:MM #N".
    const auto placedLine = [&log, &clock](const QString& event) {
        return [&log, &clock, event](const QString& detail, const QString& place) {
            log.Write(clock.Now(), QStringLiteral("station"), event, detail, place);
        };
    };
    QObject::connect(&station.Spots(), &SpotRunner::SpotStarted, placedLine("spot"));
    QObject::connect(&station.Spots(), &SpotRunner::SpotSkipped, placedLine("spot-skipped"));
    QObject::connect(&station.Jingles(), &JingleWall::JingleStarted, line("jingle"));
    QObject::connect(&station.Spots(), &SpotRunner::SpotsCancelled,
                     [&log, &clock](int count, const QString& places) {
                         log.Write(clock.Now(), QStringLiteral("station"),
                                   QStringLiteral("spots-cancelled"), QString::number(count),
                                   places);
                     });
    QObject::connect(&station.Announcement(), &HourAnnouncement::Announced,
                     [&log, &clock](const QStringList& files) {
                         log.Write(clock.Now(), QStringLiteral("station"),
                                   QStringLiteral("announce"), files.join(u' '));
                     });
    QObject::connect(&station, &Station::Problem,
                     [&log, &clock](const QString& message) { WriteProblem(log, clock, message); });
    QObject::connect(&station, &Station::Closing, [&log, &clock] {
        log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("close"), QString());
    });
    LogAirWatch(station.Air(), log, clock);
    QObject::connect(&station.LineInput(), &LineIn::Toggled, [&log, &clock](bool open) {
        log.Write(clock.Now(), QStringLiteral("linein"),
                  open ? QStringLiteral("open") : QStringLiteral("close"), QString());
    });
}

int RunWeekPreview(const CommandLine& cl, const QString& startFolder, QSettings* settings,
                   const std::function<void(const QString& line)>& writeLine,
                   const QStringList& startProblems, const QList<OperatorAction>& actions,
                   AnalysisStore* analyses) {
    VirtualTimerHost host(cl.simulateStart);
    SimulatedPlayerLink link(host, host);
    const AsRunLog log(writeLine);
    QObject::connect(&link, &SimulatedPlayerLink::DeckEvent,
                     [&](int deck, const QString& event, const QString& detail) {
                         if (event == QLatin1String("volume") && !cl.logVolumes) return;
                         log.Write(host.Now(), QStringLiteral("deck%1").arg(deck), event, detail);
                     });

    // The line input is simulated too: the preview never touches the sound server.
    SimulatedLineInControl lineIn;
    if (cl.logVolumes) {
        QObject::connect(&lineIn, &SimulatedLineInControl::VolumeSet, [&](int v) {
            log.Write(host.Now(), QStringLiteral("linein"), QStringLiteral("volume"),
                      QString::number(v));
        });
    }
    Station station(startFolder, host, host, link, &lineIn);
    station.SetAnalyses(analyses);
    // The preview leaves the station folder as it was: the announcement's play list goes
    // to a folder of its own, which the simulated decks never read.
    QTemporaryDir playListFolder;
    station.SetAnnouncementFolder(playListFolder.path());
    LogStationEvents(station, log, host);
    LogProblems(startProblems + station.StartUp(settings), log, host);
    station.CannotListenToAir(QStringLiteral("the week preview airs nothing to listen to"));
    station.SetManual(false);
    // The automatic shutdown ends the preview: the machine would be off from here on.
    QObject::connect(&station.Shutdown(), &AutoShutdown::ShutdownDue, [&] {
        log.Write(host.Now(), QStringLiteral("station"), QStringLiteral("shutdown"), QString());
        host.Stop();
    });
    // Each action after the ticks due at its time, in the order of the file.
    for (const OperatorAction& action : actions) {
        host.Advance(cl.simulateStart.msecsTo(action.when) - host.ElapsedMs());
        if (host.Stopped()) break;
        // An action the station cannot do at that moment is a problem of the preview.
        if (const QString refusal = ApplyOperatorAction(station, action, log, host);
            !refusal.isEmpty())
            WriteProblem(log, host,
                         (QLatin1String(action.verb->name) + u' ' + action.argument).trimmed() +
                             QStringLiteral(": ") + refusal);
    }
    host.Advance(cl.simulateForMs - host.ElapsedMs());
    return 0;
}
