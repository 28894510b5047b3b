#include "library/queue_editing.h"

#include "playback/play_queue.h"
#include "playback/playback_engine.h"

QueueEditor::QueueEditor(PlayQueue& queue) : m_queue(queue) {}

bool QueueEditor::ButtonUpPlay1Click() { return m_queue.MoveMarkedUp(); }
bool QueueEditor::ButtonDownPlay1Click() { return m_queue.MoveMarkedDown(); }
bool QueueEditor::ButtonPlayDel1Click() { return m_queue.DeleteMarked(); }

void PlayAtOnce(PlaybackEngine& engine, const std::optional<QString>& entry) {
    if (entry) {
        engine.PlayNow(entry);
        return;
    }
    // No row: label 1 is marked all the same and what stands first plays.
    engine.DoubleClickNextTrackLabel(1);
}

int SelectionList::AddToPlayList1Click(const QList<TrackFile>& picks) {
    for (const TrackFile& pick : picks) {
        if (m_rows.empty())
            m_rows.push_back({pick.title, pick.path, false});
        else
            InsertAfterCurrent(pick);
    }
    return Count();
}

int SelectionList::ButtonAddFromFileToPlayListClick(const QList<TrackFile>& picks) {
    for (const TrackFile& pick : picks) {
        if (m_rows.empty())
            m_rows.push_back({pick.title, pick.path, false});
        else
            MakeCurrent(InsertAfterCurrent(pick));
    }
    return Count();
}

int SelectionList::AddToPlaylist3Click(const std::optional<TrackFile>& pick) {
    if (pick) MakeCurrent(InsertAfterCurrent(*pick));
    return Count();
}

int SelectionList::InsertAfterCurrent(const TrackFile& pick) {
    const int row = m_current + 1;
    m_rows.insert(m_rows.begin() + row, Row{pick.title, pick.path, false});
    return row;
}

void SelectionList::MakeCurrent(int row) {
    if (m_current >= 0) m_rows[m_current].selected = false;
    m_rows[row].selected = true;
    m_current = row;
}
