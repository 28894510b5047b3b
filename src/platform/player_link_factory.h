#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "base/clock.h"
#include "base/timer_host.h"
#include "player/player_link.h"

/// The decks of the station by kind: "mpv" (Linux), "winamp" (Windows) or "simulated"
/// (files play on the station's clock; tests and the week preview). playerOptions go to
/// every mpv as they stand (e.g. "--ao=alsa"). Nothing for a kind this system does not
/// have.
std::unique_ptr<PlayerLink> MakePlayerLink(const QString& kind, const Clock& clock,
                                           TimerHost& timers,
                                           const QStringList& playerOptions = {});

/// The kind the station uses when none is asked for: "mpv" on Linux, "winamp" on Windows.
QString DefaultPlayerKind();
