#pragma once

#include <QString>
#include <QTemporaryDir>

#include "support/station_folder.h"

/// Short tracks with a short mix, so that a hand-over comes every dozen seconds, and a
/// window's stall (of the display or of the window's thread) a little longer than that.
constexpr int kTrackSeconds = 16, kMixingSeconds = 5;
constexpr int kStallMs = 12'000;
/// How far from its undisturbed time a hand-over may come: the tick's 400 ms and a busy
/// machine's scheduling, far less than the stall.
constexpr int kOnTimeMs = 1'000;

/// A station that plays one list of short tracks all week, from a second after its start,
/// with its settings in a private home (home + "/.config", as PrivateHomeEnvironment has it).
struct ShortTrackStation {
    ShortTrackStation();
    QString SettingsFile() const;

    StationFolder folder;
    QTemporaryDir home;
};
