#include "library/queue_editing.h"

#include <algorithm>

#include "playback/play_queue.h"
#include "playback/playback_engine.h"
#include "schedule/list_file.h"

QueueEditor::QueueEditor(PlayQueue& queue) : m_queue(queue) {}

int QueueEditor::MarkedIndex() const {
    const int index = m_queue.MarkedSlot - 1;
    return index >= 0 && index < m_queue.Count() ? index : -1;
}

bool QueueEditor::ButtonUpPlay1Click() {
    const int index = MarkedIndex();
    if (index < 1) return false;
    m_queue.InsertAt(index - 1, m_queue.At(index));
    m_queue.TakeAt(index + 1);
    m_queue.ShowNextTracks();
    --m_queue.MarkedSlot;
    return true;
}

bool QueueEditor::ButtonDownPlay1Click() {
    const int index = MarkedIndex();
    const bool lastLabel = m_queue.MarkedSlot >= PlayQueue::kShownEntries;
    if (index < 0 || lastLabel || index + 1 >= m_queue.Count()) return false;
    m_queue.InsertAt(index + 2, m_queue.At(index));
    m_queue.TakeAt(index);
    m_queue.ShowNextTracks();
    ++m_queue.MarkedSlot;
    return true;
}

bool QueueEditor::ButtonPlayDel1Click() {
    const int index = MarkedIndex();
    if (index < 0) return false;
    const QString entry = m_queue.At(index);
    const TrackEntryParts parts = SplitTrackEntry(entry);
    const int pool = entry.contains(u'^') ? ProgramListIndex(parts.listName) : -1;
    if (pool >= 0) {
        // Still to play: it goes back where it was drawn from.
        m_queue.ProgramLists[pool].append(parts.path);
    } else if (!entry.isEmpty()) {
        // A filler was never counted; a track from elsewhere was, when it was inserted.
        m_queue.TracksToPlay = std::max(m_queue.TracksToPlay - 1, 0);
        m_queue.LabeltracksToPlay1 = m_queue.TracksToPlay;
    }
    RemoveAndRefill(index);
    return true;
}

int QueueEditor::ProgramListIndex(const QString& listName) const {
    const int count = std::min(m_queue.ProgramListCount, PlayQueue::kMaxLists);
    for (int k = 0; k < count; ++k) {
        if (m_queue.ProgramListNames[k] == listName) return k;
    }
    return -1;
}

void QueueEditor::RemoveAndRefill(int index) {
    m_queue.TakeAt(index);
    if (m_queue.Count() < PlayQueue::kShownEntries) m_queue.RefillQueue();
    m_queue.ShowNextTracks();
}

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
