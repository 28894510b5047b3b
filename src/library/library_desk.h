#pragma once

#include <QString>

#include "base/result.h"
#include "library/editor_adds.h"
#include "library/library.h"
#include "library/queue_editing.h"
#include "library/track_rename.h"

class ListEditor;
class PlaybackEngine;
class SpotEditor;
class SpotSchedule;

/// The library's commands that reach beyond its pages: a track chosen on a page goes into
/// the play queue, plays at once, is collected in the selection list, is added to the list
/// being edited or to the shown spot slot, or is renamed on disk with every list, queue
/// entry and spot that names it. The next-track labels' Up, Down and Delete live here too.
class LibraryDesk {
public:
    struct Places {
        QString listsPath;  ///< ending in "/"
        QString spotsPath;  ///< ending in "/"
    };
    LibraryDesk(Places places, Library& library, PlaybackEngine& engine, ListEditor& lists,
                SpotEditor& spotsTab, SpotSchedule& nextSpots);

    /// The hidden selection list of the "AddToPlayList" commands.
    const SelectionList& PlayListSelection() const { return m_selection; }

    // The marked next-track label.
    void ButtonUpPlay1Click();
    void ButtonDownPlay1Click();
    void ButtonPlayDel1Click();

    /// "Insert To Playlist": the page's current row goes into the queue at the marked label.
    /// Nothing without a current row.
    void InsertIntoQueue(Library::Page page);
    /// "Insert To Playlist" of the Lists tab's current entry, with the chosen list's name
    /// (the path alone while no list is chosen).
    void InsertEditorRow();
    /// "<<<-----": the insert of the page shown.
    void SpeedButton8Click() { InsertIntoQueue(m_library.CurrentPage()); }
    /// "Play" or a double click: the page's current row at the head of the queue, at once;
    /// without one, the head of the queue plays.
    void PlayAtOnce(Library::Page page);
    /// "AddToPlayList" of "Lists Alphabetic" (its selection) and "Search" (its current row);
    /// the other pages have none. `LabeltracksToPlay1` then shows the selection list's size.
    void AddToPlayList(Library::Page page);
    /// "AddToPlayList" of the Lists tab's editor: its selected entries; the label as above.
    void AddEditorRowsToPlayList();

    /// "add to Program" / "AddToProgram": the page's selected tracks into the list editor.
    Result AddToProgram(Library::Page page);
    /// "AddToProgram" of the played list: its chosen row, even when already there.
    Result AddPlayedToProgram();
    /// The add button: the page shown, into the tab shown.
    EditorAdds ButtonAddToProgrClick(CalendarAreaTab tab);
    /// The DIR page's button: the entries of every sub-folder of the chosen folder, once
    /// the library has read them (the lock is checked when the command is given).
    void BitBtnAddFromDirAllToProgClick();

    /// The name a rename offers: the current row's title; empty when there is no row.
    QString RenameSuggestion(Library::Page page) const;
    /// "Rename" of a library page's current row: the file gets the typed name and every
    /// list shown on the Lists tab, the queue and the spot files follow; every row of the
    /// library's pages that named it shows the new name. An error when nothing was renamed, a
    /// warning naming what still holds the old path.
    Result Rename(Library::Page page, const QString& typedName);
    /// "Rename" of the Lists tab's current entry; the chosen list is then read again.
    Result RenameEditorRow(const QString& typedName);

private:
    void ShowSelectionCount(int rows);
    RenameOutcome RenameFile(const QString& oldPath, const QString& typedName);

    Places m_places;
    Library& m_library;
    PlaybackEngine& m_engine;
    ListEditor& m_lists;
    SpotEditor& m_spotsTab;
    SpotSchedule& m_nextSpots;
    SelectionList m_selection;
};
