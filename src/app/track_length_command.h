#pragma once

#include <QStringList>

class QTextStream;

/// `--track-length FILE...`: prints each file's length in whole seconds, a TAB and its
/// path, one file a line, in the order given. A file that is missing, cannot be read or
/// holds no MPEG audio frame near its start prints 0 and gets a message on `err`; the
/// result is 0 when every file gave a length, 1 otherwise.
int RunTrackLengthCommand(const QStringList& files, QTextStream& out, QTextStream& err);
/// The same, without messages.
int RunTrackLengthCommand(const QStringList& files, QTextStream& out);
