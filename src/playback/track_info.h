#pragma once

#include <QString>
#include <cstdint>
#include <optional>

/// Texts of the next-track labels.

/// Three lines separated by CR (13): artist, song and length with category, split from
/// the entry's title at its first "-" and first "^"; a length of nullopt (not read yet)
/// shows as "--:--".
QString TrackInfoText(const QString& entry, std::optional<std::uint32_t> seconds);
