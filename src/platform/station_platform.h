#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "base/clock.h"
#include "base/system_shutdown.h"
#include "base/timer_host.h"
#include "media/air_meter.h"
#include "player/line_in_control.h"
#include "player/player_link.h"

/// What a station runs on, chosen once from the kind of decks. Real decks ("mpv",
/// "winamp") come with the sound server's line input and the machine's power off; the
/// station then holds the station lock and keeps the as-run log on disk. Simulated decks
/// are a trial run: a simulated line input, a machine that stays on, no lock, and the
/// as-run log on standard output only.
struct StationPlatform {
    QString kind;
    bool trialRun = false;
    std::unique_ptr<PlayerLink> decks;  ///< null when this system has no such kind
    std::unique_ptr<LineInControl> lineIn;
    std::unique_ptr<SystemShutdown> shutdown;
    /// What hears the air the decks play; null when there is none (a trial run, a system
    /// without the sound server's library), and airMissing says why.
    std::unique_ptr<AirListener> air;
    QString airMissing;
    /// The same air at full quality for the streams; null when there is none.
    std::unique_ptr<AirListener> streamAir;
    /// The file beside the control socket that keeps what the libraries print.
    QString libraryLogName;
};

/// Its kind alone (no decks yet): whether it is a trial run, its log's name.
StationPlatform ChoosePlatform(const QString& kind);
/// Makes the platform's parts on the calling thread, which then runs their timers and
/// sockets. playerOptions go to every mpv as they stand.
void MakePlatform(StationPlatform& platform, const Clock& clock, TimerHost& timers,
                  const QStringList& playerOptions);
