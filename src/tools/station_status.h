#pragma once

#include <QStringList>

class Station;

/// What `--send status` answers: one "item: value" line each for what is on air, what
/// comes next, the program, the mode, the spots, the decks, the monitor of the air and
/// each stream output. Read on the station's thread.
QStringList StationStatusLines(const Station& station);
