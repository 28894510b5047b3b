#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

/// Where the background analysis finds the files it walks to, after what is about to play:
/// each a plain read of the folders, safe on a worker thread. Paths come once each, in
/// the order of their turn; a file that cannot be read gives what could be read.

/// The tracks of the programs still to come today, then tomorrow's, in the order they
/// come, read from the day files and their lists.
QStringList ComingProgramPaths(const QString& daysPath, const QString& listsPath,
                               const QDateTime& now);
/// The tracks of every list in the lists folder: the station's lists, or (cds) its CD lists,
/// which make the rest of the library.
QStringList ShelfPaths(const QString& listsPath, bool cds);
