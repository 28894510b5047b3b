#include "platform/station_lock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

std::unique_ptr<QLockFile> TakeStationLock(QString* refusal) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QDir().mkpath(folder);
    auto lock = std::make_unique<QLockFile>(folder + QStringLiteral("/stavox-mixer.lock"));
    // Held for as long as the station runs: never stale by age, only when its holder died.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) return lock;
    qint64 pid = 0;
    QString host, application;
    if (lock->error() == QLockFile::LockFailedError &&
        lock->getLockInfo(&pid, &host, &application)) {
        *refusal = QStringLiteral(
                       "Stavox Mixer is already running (process %1); a second "
                       "station would play over it on the same decks.")
                       .arg(pid);
    } else {
        *refusal =
            QStringLiteral("The station's lock file %1 cannot be made.").arg(lock->fileName());
    }
    return nullptr;
}
