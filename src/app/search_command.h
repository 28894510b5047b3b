#pragma once

#include <QString>

class QTextStream;
struct CommandLine;

/// `--search TEXT [--and TEXT2] [--greeklish] [--cds]`: the library search over the lists of
/// the station in startFolder, one row a line "<title>\t<path>\t<list name>" in the view's
/// order; with Greeklish, first "# latin: <spelling>". A text too short to search prints
/// nothing. Lists that cannot be read are told on `err`. Reads no settings, writes nothing;
/// the result is always 0.
int RunSearchCommand(const CommandLine& cl, const QString& startFolder, QTextStream& out,
                     QTextStream& err);
