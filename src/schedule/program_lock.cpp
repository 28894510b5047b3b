#include "schedule/program_lock.h"

QString ProgramLock::Refusal() const {
    if (!LockPrograms) return {};
    return QStringLiteral(
        "The programs are locked: untick \"Lock Programs\" in the Options to change them.");
}
