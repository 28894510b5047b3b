#include "platform/station_lock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "platform/mpv_player_link.h"

namespace {

QString LockFolder() {
#ifdef Q_OS_UNIX
    if (const QString decks = MpvPlayerLink::DefaultSocketFolder(); !decks.isEmpty()) return decks;
#endif
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}  // namespace

StationLock TakeStationLock() {
    StationLock result;
    auto lock = std::make_unique<QLockFile>(LockFolder() + QStringLiteral("/stavox-mixer.lock"));
    // Held for as long as the station runs: never stale by age, only when its holder died.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        result.lock = std::move(lock);
        return result;
    }
    qint64 pid = 0;
    QString host, application;
    if (lock->error() == QLockFile::LockFailedError &&
        lock->getLockInfo(&pid, &host, &application)) {
        result.refusal = QStringLiteral(
                             "Stavox Mixer is already running (process %1); a second "
                             "station would play over it on the same decks.")
                             .arg(pid);
    } else {
        // Better a station that plays unguarded than no station at all.
        result.warning = QStringLiteral(
                             "The lock file %1 cannot be made; a second station "
                             "started now would not be stopped.")
                             .arg(lock->fileName());
    }
    return result;
}
