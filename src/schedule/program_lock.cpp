#include "schedule/program_lock.h"

Result ProgramLock::Refusal() const {
    if (!LockPrograms) return Result::Ok();
    return Result::Error(QStringLiteral(
        "The programs are locked: untick \"Lock Programs\" in the Options to change them."));
}
