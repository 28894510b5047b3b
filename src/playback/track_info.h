#pragma once

#include <QString>
#include <cstdint>
#include <optional>

/// Texts of the next-track labels and the time displays.

/// "m:ss"-style time: minutes and seconds, each padded to two digits, minutes not
/// limited (7505 gives "125:05"). A negative time reads as "-" and the time of its size.
QString FormatMinSec(long long seconds);

/// Three lines separated by CR (13): artist, song and length with category, split from
/// the entry's title at its first "-" and first "^". The length is read from the file.
QString TrackInfoText(const QString& entry);
/// The same with the length already known; nullopt (not read yet) shows as "--:--".
QString TrackInfoText(const QString& entry, std::optional<std::uint32_t> seconds);
