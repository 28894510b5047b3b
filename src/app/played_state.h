#pragma once

#include <QString>
#include <QStringList>

class Station;

/// What the window shows of the played list, as plain values read off the core.
struct PlayedState {
    /// `ListBoxPrevPlayed1` and the paths of its rows.
    QStringList titles;
    QStringList paths;
    /// The row shown at the top, and the operator's row (-1 for none).
    int topRow = 0;
    int selectedRow = -1;
    /// `LabelPlayedTracks`: the count as last written, at a track's start.
    int count = 0;
    /// `CheckBoxDontClearAutomaticallyPrevTracks`.
    bool dontClear = false;
    /// "Lock Programs": then "Save..." asks for no file, the save says why it refuses.
    bool locked = false;
    /// Where "Save..." offers to save.
    QString listsFolder;
};

/// Read on the core's thread.
PlayedState PlayedStateOf(const Station& station);
