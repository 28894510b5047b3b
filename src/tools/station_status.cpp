#include "tools/station_status.h"

#include <QFileInfo>
#include <QLocale>

#include "app/air_state.h"
#include "app/player_state.h"
#include "app/program_state.h"
#include "app/station.h"
#include "schedule/list_file.h"

namespace {

QString Title(const QString& path) { return QFileInfo(path).completeBaseName(); }

QString OnAir(const Station& station) {
    const PlayerState player = PlayerStateOf(station);
    if (!player.deckPlays && !player.pauseDown) return QStringLiteral("on air: nothing");
    return QStringLiteral("on air: %1 (deck %2, %3 of %4)")
        .arg(player.trackName)
        .arg(station.Engine().Players().CurrentDeck + 1)
        .arg(player.playTime, player.length);
}

QString Next(const Station& station) {
    const QString path = SplitTrackEntry(station.Engine().Queue().At(0)).path;
    return QStringLiteral("next: ") + (path.isEmpty() ? QStringLiteral("nothing") : Title(path));
}

QString Program(const Station& station) {
    const ProgramState program = ProgramStateOf(station);
    return QStringLiteral("program: %1 (%2), %3 tracks to play")
        .arg(program.programName, program.span, program.tracksToPlay);
}

QString Mode(const Station& station) {
    const PlayerState player = PlayerStateOf(station);
    QStringList mode{player.manualMode ? QStringLiteral("manual") : QStringLiteral("automatic")};
    if (player.pauseDown) mode << QStringLiteral("paused");
    if (station.Lock().LockPrograms) mode << QStringLiteral("programs locked");
    if (station.LineInput().ButtonDown()) mode << QStringLiteral("line input open");
    return QStringLiteral("mode: ") + mode.join(QStringLiteral(", "));
}

QString SpotsComing(const Station& station) {
    const SpotSchedule& next = station.NextSpots();
    const SpotRunner::Saved run = station.Spots().Save();
    if (run.runActive)
        return QStringLiteral("spots: a run of %1 under way, next #%2")
            .arg(next.NextSpotsSlot())
            .arg(run.nextIndex + 1);
    return QStringLiteral("spots: %1 checked for %2")
        .arg(next.CheckedSpotCount())
        .arg(next.NextSpotsSlot().isEmpty() ? QStringLiteral("no quarter yet")
                                            : next.NextSpotsSlot());
}

QString DecksAlive(const Station& station) {
    const auto& decks = station.Engine().Players();
    QStringList each;
    for (int deck = 0; deck < 2; ++deck)
        each << QStringLiteral("deck %1 %2")
                    .arg(deck + 1)
                    .arg(decks.PlayerHandles[deck] ? QStringLiteral("alive")
                                                   : QStringLiteral("not answering"));
    return QStringLiteral("decks: ") + each.join(QStringLiteral(", "));
}

QString Monitor(const Station& station) {
    const AirState air = AirStateOf(station);
    if (air.alarmed) return QStringLiteral("monitor: DEAD AIR since ") + air.silentSince;
    return air.listening ? QStringLiteral("monitor: listening")
                         : QStringLiteral("monitor: off, ") + air.offReason;
}

QString Stream(const StreamStatus& s) {
    if (s.connected)
        return QStringLiteral("stream %1: connected for %2 s, %3 sent")
            .arg(s.mount)
            .arg(s.connectedForSec)
            .arg(
                QLocale::c().formattedDataSize(s.bytesSent, 1, QLocale::DataSizeTraditionalFormat));
    return QStringLiteral("stream %1: not connected%2")
        .arg(s.mount, s.lastError.isEmpty() ? QString() : QStringLiteral(", ") + s.lastError);
}

}  // namespace

QStringList StationStatusLines(const Station& station) {
    QStringList lines{OnAir(station),       Next(station),       Program(station), Mode(station),
                      SpotsComing(station), DecksAlive(station), Monitor(station)};
    for (const StreamStatus& s : station.StreamStatuses()) lines << Stream(s);
    return lines;
}
