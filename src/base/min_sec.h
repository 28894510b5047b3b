#pragma once

#include <QString>

/// "m:ss"-style time: minutes and seconds, each padded to two digits, minutes not
/// limited (7505 gives "125:05"). A negative time reads as "-" and the time of its size.
QString FormatMinSec(long long seconds);
