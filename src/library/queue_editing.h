#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <vector>

#include "library/track_rows.h"

class PlaybackEngine;
class PlayQueue;

/// The operator's hand on the play queue: the head's Up, Down and Delete on the marked
/// next-track label, "Play at once" from the library, and the hidden selection list that
/// the "AddToPlayList" commands fill.

/// Edits of the queue's head at `MarkedSlot`. Each command does nothing (and returns false)
/// without a marked slot or without a queue entry to move or delete there; the marked
/// slot follows the moved entry and stays put on Delete.
class QueueEditor {
public:
    explicit QueueEditor(PlayQueue& queue);

    /// `ButtonUpPlay1Click`: the marked entry changes place with the one before it.
    bool ButtonUpPlay1Click();
    /// `ButtonDownPlay1Click`: the marked entry (labels 1..4) changes place with the next.
    bool ButtonDownPlay1Click();
    /// `ButtonPlayDel1Click`: removes the marked entry. A track of a list of the running
    /// program goes back to the end of that list's pool and is still to play; any other
    /// leaves TracksToPlay one lower. The queue is refilled once when short.
    bool ButtonPlayDel1Click();

private:
    PlayQueue& m_queue;
};

/// "Play" and double-click of a library view: marks next-track label 1, puts the view's
/// entry at the head of the queue and starts it at once. Without an entry (no current row)
/// the head of the queue starts instead.
void PlayAtOnce(PlaybackEngine& engine, const std::optional<QString>& entry);

/// `ListBoxPlayList1` (titles) and `ListBoxPlayPaths1` (paths or entries at the same index):
/// a hidden collection of tracks, never shown and never played. Each add returns the number
/// of rows, which `LabeltracksToPlay1` shows afterwards.
class SelectionList {
public:
    struct Row {
        QString title;
        QString path;
        bool selected = false;
    };

    const std::vector<Row>& Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rows.size()); }
    /// The row with the focus, -1 when none.
    int CurrentRow() const { return m_current; }

    /// `AddToPlayList1Click` (the Lists page's selection, top to bottom): appended to an
    /// empty list, else each put right after the current row, which stays; so they land
    /// there in reverse order.
    int AddToPlayList1Click(const QList<TrackFile>& picks);
    /// `ButtonAddFromFileToPlayListClick` (Lists Alphabetic's selection, top to bottom):
    /// appended to an empty list, else each put right after the current row and made the
    /// only selected and current row; so they keep their order.
    int ButtonAddFromFileToPlayListClick(const QList<TrackFile>& picks);
    /// `AddToPlaylist3Click` (the Search page's current row): put right after the current
    /// row and made the only selected and current row. Nothing without a pick.
    int AddToPlaylist3Click(const std::optional<TrackFile>& pick);

private:
    /// Right after the current row; at the top when there is none.
    int InsertAfterCurrent(const TrackFile& pick);
    void MakeCurrent(int row);

    std::vector<Row> m_rows;
    int m_current = -1;
};
