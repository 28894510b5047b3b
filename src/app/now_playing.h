#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

#include "base/result.h"

/// What is on air, for a website or an RDS encoder to read: "nowplaying.txt" ("Artist -
/// Title") and "nowplaying.json" in the station folder, each replaced whole at each start of
/// music, so that a reader never finds half of one.
struct NowPlaying {
    QString file;
    QDateTime started;
    std::optional<int> lengthSec;  ///< none while the length is not known
    QString nextFile;              ///< empty when nothing is queued after it
};

/// "Artist - Title" of a track's file: its name without the extension.
QString NowPlayingText(const QString& file);
/// The JSON: artist, title, file, started (ISO 8601 with the offset), length (seconds or
/// null), and next (artist, title, file; or null).
QByteArray NowPlayingJson(const NowPlaying& now);
/// Replaces both files in folder (ending in "/"); an error naming the file that failed.
Result WriteNowPlaying(const QString& folder, const NowPlaying& now);
