#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

class Station;

/// What the window shows of the running program and the next tracks, as plain values.
struct ProgramState {
    /// LabelProgramName1, LabelWra2, LabeltracksToPlay1.
    QString programName;
    QString span;
    QString tracksToPlay;
    /// CheckBoxRandomPlay1.
    bool randomPlay = false;
    /// LabelTrackPlay1..5: their texts (lines split by a lone CR) and backgrounds (0x00BBGGRR).
    QStringList nextTracks;
    QList<std::uint32_t> nextColours;
};

/// Read on the core's thread.
ProgramState ProgramStateOf(const Station& station);
