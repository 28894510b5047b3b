#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "app/operator_actions.h"

class AnalysisStore;
class AirWatch;
class AsRunLog;
class Clock;
class QSettings;
class Station;
struct CommandLine;

/// Sends the station's own events to the log: each program the calendar loads, each
/// queue entry and each spot as it starts (before its file is handed over), each track
/// passed over as missing, each unchecked spot passed over, each hour announcement (its
/// fragment files, as its play list is handed over), each quarter whose spots the
/// operator let go by in manual mode, each problem met while running (what the window
/// shows in its box), and the station's close.
void LogStationEvents(const Station& station, const AsRunLog& log, const Clock& clock);
/// The air watch's lines, from "monitor": off, silence, recovery, sound and transition.
void LogAirWatch(const AirWatch& air, const AsRunLog& log, const Clock& clock);
/// Sends messages for the operator (those of start-up) to the log as problems.
void LogProblems(const QStringList& messages, const AsRunLog& log, const Clock& clock);

/// The week preview: the whole station, started in a station folder, run in automatic
/// mode on a virtual clock with simulated decks. Every deck command and every program
/// and queue start goes to the as-run log. Settings are read from the store (when given),
/// never written; nothing in the folder changes but the data folders that start-up creates
/// (the hour announcement writes its play list into a temporary folder instead).
/// startProblems (settings that could not be read) go to the log with those of start-up.
/// The operator's actions are done at their times, each logged as it is done. An automatic
/// shutdown is logged as "station<TAB>shutdown" and ends the preview at that moment.
/// Sounds are levelled and mixed by what `analyses` holds, when given.
/// Returns the process exit code.
int RunWeekPreview(const CommandLine& cl, const QString& startFolder, QSettings* settings,
                   const std::function<void(const QString& line)>& writeLine,
                   const QStringList& startProblems = {}, const QList<OperatorAction>& actions = {},
                   AnalysisStore* analyses = nullptr);
