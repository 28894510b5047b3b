#pragma once

#include <QString>
#include <memory>

class QLockFile;

/// One station of a user drives the decks at a time. A second one, started by mistake,
/// would play over the first on the same decks and quit them when it closed.
/// Takes the lock, held while the result lives; null, with the reason in *refusal, when
/// another running station holds it. A lock left by a station that died is taken over.
std::unique_ptr<QLockFile> TakeStationLock(QString* refusal);
