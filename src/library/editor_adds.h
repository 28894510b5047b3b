#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "base/result.h"
#include "library/track_rows.h"

class ListEditor;
class SpotEditor;

/// Copying tracks from the library pages and the played list into the list being edited
/// on the Lists tab, and the add button, which feeds the Spots tab instead while that is
/// shown. Nothing reaches a list file until the editor's Save.

/// The tabs of the calendar area (`PageControlCalSpotsLists`).
enum class CalendarAreaTab { Calendar, Spots, Lists };

struct EditorAdds {
    Result result;  ///< an error when the editor or the spot slot refused
    int added = 0;
    int totalTracks = 0;        ///< `LabelTotalTracks1` afterwards
    bool scrollToLast = false;  ///< `ListBoxTitles1` is to show its last entry at the top
};

/// "add to Program" / "AddToProgram" of a library page: its selected tracks, top to bottom,
/// whose titles the editor does not hold yet (exact comparison).
EditorAdds AddSelectionToEditor(ListEditor& editor, const QList<TrackFile>& selection);
/// `AddToProgram4Click`: the chosen row of the played list, even when its title is there.
EditorAdds AddToProgram4Click(ListEditor& editor, const std::optional<TrackFile>& played);
/// `ButtonAddToProgrClick`: on the Lists tab the page's selection, then the editor scrolls
/// to its end; on the Spots tab the page's current track becomes a spot of the shown slot;
/// on the Calendar tab nothing.
EditorAdds ButtonAddToProgrClick(CalendarAreaTab tab, const QList<TrackFile>& selection,
                                 const std::optional<TrackFile>& current, ListEditor& editor,
                                 SpotEditor& spots);
