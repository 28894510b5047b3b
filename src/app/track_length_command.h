#pragma once

#include <QStringList>

class QTextStream;

/// `--track-length FILE...`: prints each file's length in whole seconds, a TAB and its
/// path, one file a line, in the order given. A file that is missing or cannot be read
/// prints 0 and gets a message on `err`; the result is 0 when every file could be read,
/// 1 otherwise. A readable file without MPEG frames prints 0 and counts as read.
int RunTrackLengthCommand(const QStringList& files, QTextStream& out, QTextStream& err);
/// The same, without messages.
int RunTrackLengthCommand(const QStringList& files, QTextStream& out);
