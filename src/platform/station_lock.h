#pragma once

#include <QString>
#include <memory>

class QLockFile;

/// One station of a user drives the decks at a time. A second one, started by mistake,
/// would play over the first on the same decks and quit them when it closed.
struct StationLock {
    std::unique_ptr<QLockFile> lock;  ///< held while it lives; null when not taken
    QString refusal;  ///< another running station holds the lock: this one must not start
    QString warning;  ///< the lock could not be made at all: the station runs unguarded
};

/// Takes the lock in the folder where the user's decks meet (their socket folder on
/// Linux). A lock left by a station that died is taken over.
StationLock TakeStationLock();
