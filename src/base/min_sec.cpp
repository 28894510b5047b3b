#include "base/min_sec.h"

namespace {

QString TwoDigits(long long n) {
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

}  // namespace

QString FormatMinSec(long long seconds) {
    if (seconds < 0) return QStringLiteral("-") + FormatMinSec(-seconds);
    return TwoDigits(seconds / 60) + QStringLiteral(":") + TwoDigits(seconds % 60);
}
