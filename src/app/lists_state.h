#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Station;

/// What the window shows of the Lists tab, as plain values read off the core.
struct ListsState {
    /// `ListBoxFileListBox`: the lists' names, and the chosen one (-1 for none).
    QStringList names;
    int chosen = -1;
    /// `CheckBoxIncludeCDsLists`.
    bool includeCds = false;
    /// `EditNewProgramName1`.
    QString newName;
    /// `ListBoxTitles1` and its hidden twin of paths, row for row.
    QStringList titles;
    QStringList paths;
    /// The rows selected (from 0) and the entry with the focus (-1 for none).
    QList<int> selected;
    int currentRow = -1;
    /// What to ask before the chosen list is deleted; empty when nothing is to be asked.
    QString deleteQuestion;
    /// The lists folder, where a list is saved.
    QString folder;
    /// The last report of "Clear Unused Songs" or "Clear Unused Spots": a line an entry,
    /// "<list or spot file>\t<path>"; and whether a delete run would remove any of them.
    QStringList unusedEntries;
    bool unusedRemovable = false;
};

/// Read on the core's thread.
ListsState ListsStateOf(const Station& station);
