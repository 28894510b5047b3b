#pragma once

#include <QDateTime>
#include <QString>

class AnalysisStore;
class QSettings;
class QTextStream;
struct CommandLine;

/// `--check [--from "YYYY-MM-DD HH:MM:SS"] [--for DURATION]`: the week's pre-flight check of
/// the station in startFolder, with its settings read from store (when given), from
/// cl.checkFrom (or `now` without one) for cl.checkForMs. Prints one warning a line,
/// "YYYY-MM-DD HH:MM<TAB>kind<TAB>detail", sorted by time, then "# N warnings".
/// Tracks are mixed by the sound found in `analyses`, when given. Returns 0 without
/// warnings, 1 with some.
int RunCheckCommand(const CommandLine& cl, const QString& startFolder, QSettings* store,
                    const QDateTime& now, QTextStream& out, AnalysisStore* analyses = nullptr);
