#pragma once

#include <QObject>
#include <QString>

/// The as-run log kept on disk: every line goes to "asrun/YYYY-MM-DD.log" in the station
/// folder, named by the line's own date (its first ten characters), so a run across
/// midnight changes file. Each line is appended with one write and flushed to the disk
/// before the next, so a power cut or a kill loses at most the line being written.
/// Said at the start of a station that does not drive the decks (simulated ones): its
/// log goes to standard output, and the as-run file stays the deck driver's alone.
inline const QString kAsRunOnStandardOutput = QStringLiteral(
    "Simulated decks air nothing: this station's as-run log goes to standard output only, "
    "and asrun/ is left to the station that drives the decks.");

class AsRunFile : public QObject {
    Q_OBJECT
public:
    explicit AsRunFile(const QString& stationFolder);

    /// Appends one as-run line (without its line end). The folder is made when missing.
    /// False when the line could not be written; the next line tries again.
    bool Append(const QString& line);
    /// The folder of the log files, without a trailing "/".
    const QString& Folder() const { return m_folder; }

Q_SIGNALS:
    /// The log cannot be written. Told once; after a line is written again a new failure
    /// is told again.
    void WriteFailed(const QString& message);

private:
    QString m_folder;
    QString m_checkedFile;  ///< the file whose last line is known to be whole
    bool m_failing = false;
};
