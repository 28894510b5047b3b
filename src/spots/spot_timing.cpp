#include "spots/spot_timing.h"

namespace spot_timing {

bool IsRunMinute(int minute) { return minute % 15 == 14; }

bool RunDue(int minute, int second) { return IsRunMinute(minute) && second >= 60 - kLeadSeconds; }

QDateTime RunDueAt(const QDateTime& quarterStart) { return quarterStart.addSecs(-kLeadSeconds); }

QDateTime QuarterDueAt(const QDateTime& reading) { return reading.addSecs(kLeadSeconds); }

}  // namespace spot_timing
