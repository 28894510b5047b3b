#pragma once

#include <QString>

class QTextStream;
struct CommandLine;

/// `--dead-entries songs|spots`, the nightly check: the report of "Clear Unused Songs" or
/// "Clear Unused Spots" for the station in startFolder, one entry a line
/// "<list or spot file name>\t<path>", with a third column "unreachable" when the entry's
/// folder is missing too. Files that could not be read are told on `err`. Removes nothing.
/// The result: 0 when nothing is dead, 1 when something is or a file could not be read
/// (the check is incomplete; what was found is still printed).
int RunDeadEntriesCommand(const CommandLine& cl, const QString& startFolder, QTextStream& out,
                          QTextStream& err);
