#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "base/result.h"
#include "library/track_pick.h"

class ListEditor;
class SpotSchedule;

/// Copying tracks from the library pages and the played list into the list being edited
/// on the Lists tab, and the add button, which feeds the Spots tab instead while that is
/// shown. Nothing reaches a list file until the editor's Save.

/// The pages of the library area (`PageControl1`).
enum class LibraryPage { Dir, ListsAlphabetic, Search, Artists };
/// The tabs of the calendar area (`PageControlCalSpotsLists`).
enum class CalendarAreaTab { Calendar, Spots, Lists };

/// One row of a library page: the title it shows and what stands behind it (a path on the
/// DIR and Lists Alphabetic pages, a track entry on the Search and Artists pages).
struct PageRow {
    QString title;
    QString payload;
    bool selected = false;
};

/// The rows of the library page now shown.
struct PageRows {
    LibraryPage page = LibraryPage::Dir;
    QList<PageRow> rows;
    int currentRow = -1;  ///< the row with the focus, -1 when none
};

/// The path a row of that page adds: the path of a track entry, or the payload itself.
QString PagePath(LibraryPage page, const QString& payload);

struct EditorAdds {
    Result result;  ///< an error when the editor or the spot slot refused
    int added = 0;
    int totalTracks = 0;        ///< `LabelTotalTracks1` afterwards
    bool scrollToLast = false;  ///< `ListBoxTitles1` is to show its last entry at the top
};

/// "add to Program" / "AddToProgram" of a library page: its selected rows, top to bottom,
/// whose titles the editor does not hold yet (exact comparison).
EditorAdds AddSelectionToEditor(ListEditor& editor, const PageRows& page);
/// `AddToProgram4Click`: the chosen row of the played list, even when its title is there.
EditorAdds AddToProgram4Click(ListEditor& editor, const std::optional<TrackPick>& played);
/// `ButtonAddToProgrClick`: on the Lists tab the page's selection, then the editor scrolls
/// to its end; on the Spots tab the page's current row becomes a spot of the shown slot; on
/// the Calendar tab nothing.
EditorAdds ButtonAddToProgrClick(CalendarAreaTab tab, const PageRows& page, ListEditor& editor,
                                 SpotSchedule& spots);
