#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// Dead entries: the lines of the lists and of the spot files that name a file which is no
/// longer there. A scan walks the lists (never a CD list) or the 28 spot files in a fixed
/// order and reports what it finds; in delete mode it also removes those lines and writes
/// each file back whole and atomically. An entry whose folder is missing as well lies on a
/// share or drive that cannot be reached now: it is reported as unreachable and never
/// removed, so a share that is down does not empty the lists.

/// What "Clear Unused Songs" (0) and "Clear Unused Spots" (1) scan.
enum class DeadEntryKind { Songs = 0, Spots = 1 };
/// Report only lists; Delete also removes the dead lines.
enum class DeadEntryMode { Report, Delete };

struct DeadEntry {
    QString fileName;          ///< the list's name, or the spot file's name ("1-2")
    QString path;              ///< the line as it stands in the file
    bool unreachable = false;  ///< its folder is missing too: kept, never removed
};

struct DeadEntryReport {
    QList<DeadEntry> entries;  ///< in the order found
    /// Files that could not be read (skipped, never rewritten) or written (the delete
    /// stops there; the files after it stay as they were), each with the system's reason.
    QStringList problems;
    /// Whether at least one entry could be removed by a delete run.
    bool HasRemovable() const;
};

/// Whether the files that entries name exist. Each distinct path, and each distinct folder
/// of a missing file, is asked of the file system once; one per scan, as files come and go.
class FilePresence {
public:
    enum class State { Present, Missing, Unreachable };
    State Of(const QString& path);

private:
    bool AskOnce(QHash<QString, bool>& known, const QString& path, bool folder);

    QHash<QString, bool> m_files;
    QHash<QString, bool> m_folders;
};

/// The lists of listsPath (ending in "/") in folder order, CD lists left out; in delete
/// mode every list scanned is written back, with or without removals.
DeadEntryReport ScanListsForDeadEntries(const QString& listsPath, DeadEntryMode mode);
/// The spot files of spotsPath (ending in "/"), weekday 0..6 and quarter 0..3 in turn.
/// A removed spot's later spots of the hour move up one position and "###NULL###" fills
/// position 9, so a file keeps its 240 lines.
DeadEntryReport ScanSpotFilesForDeadEntries(const QString& spotsPath, DeadEntryMode mode);
DeadEntryReport ScanForDeadEntries(DeadEntryKind kind, const QString& listsPath,
                                   const QString& spotsPath, DeadEntryMode mode);

/// The report's text lines as the dialog shows them: the list or spot file that holds the
/// entry, a tab, the path, and for an unreachable entry a tab and a note that it was kept.
QStringList DeadEntryLines(const DeadEntryReport& report);
/// Lines as the lines of a Rich Text document, each a paragraph; the document is plain
/// ASCII, other characters are RTF Unicode escapes.
QStringList RichTextDocument(const QStringList& lines);
