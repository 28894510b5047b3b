#pragma once

#include <QString>
#include <QTimer>

/// What the libraries in this process print on standard error (Qt's own warnings, FFmpeg
/// behind the video panel, the sound libraries), kept in a log file instead, so that the
/// real standard error carries the station's own lines alone (station_error). A message
/// that ends the program still reaches it too. The log starts empty and is kept short.
class LibraryOutput final {
public:
    LibraryOutput();
    LibraryOutput(const LibraryOutput&) = delete;
    LibraryOutput& operator=(const LibraryOutput&) = delete;

    /// Sends standard error to the file at path; on failure it stays where it was and the
    /// reason comes back.
    QString KeepIn(const QString& path);
    /// A file of that name in the folder where the user's decks meet; empty without one.
    static QString InRuntimeFolder(const QString& name);
    QString Path() const { return m_path; }

private:
    QString m_path;
    QTimer m_trim;
};

namespace output_log {

/// A log that writers append to, never longer than about twice limitBytes: once past the
/// limit its lines move to PATH.old and it starts empty, its writers going on at its start.
void KeepShort(const QString& path, qint64 limitBytes);
inline constexpr qint64 kLimitBytes = 1024 * 1024;

}  // namespace output_log
