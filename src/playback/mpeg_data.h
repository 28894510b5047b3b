#pragma once

#include <QString>

#include <cstdint>

/// Length of an MPEG audio file in whole seconds, 0 when the file is missing,
/// unreadable or holds no frame header.
std::uint32_t TrackLength(const QString& path);
