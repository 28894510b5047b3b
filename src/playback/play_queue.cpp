#include "playback/play_queue.h"

#include <algorithm>

#include "media/track_length_cache.h"
#include "playback/track_info.h"

PlayQueue::PlayQueue(TrackLengths* lengths)
    : m_ownLengths(lengths ? nullptr : std::make_unique<TrackLengthCache>()),
      m_lengths(lengths ? *lengths : *m_ownLengths),
      m_rng(5489u) {
    m_lengthsArrived = QObject::connect(&m_lengths, &TrackLengths::LengthsArrived, &m_lengths,
                                        [this] { DrawShownEntries(false); });
    m_settings.Add("RandomPlay", m_randomPlay);
}

PlayQueue::~PlayQueue() { QObject::disconnect(m_lengthsArrived); }

void PlayQueue::ReadLengthsInBackground() { m_lengths.ReadInBackground(); }

void PlayQueue::Seed(std::uint32_t seed) { m_rng.seed(seed); }

int PlayQueue::RandomBelow(int n) {
    if (n <= 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_rng);
}

void PlayQueue::SetProgram(const QStringList& names, const QList<QStringList>& lists) {
    m_programListCount = int(std::min<qsizetype>(std::min(names.size(), lists.size()), kMaxLists));
    m_tracksToPlay = 0;
    for (int k = 0; k < kMaxLists; ++k) {
        const bool used = k < m_programListCount;
        m_programListNames[k] = used ? names[k] : QString();
        m_programLists[k] = used ? lists[k] : QStringList();
        m_tracksToPlay += int(m_programLists[k].size());
    }
    m_labeltracksToPlay1 = m_tracksToPlay;
}

void PlayQueue::Restore(const QStringList& names, const QList<QStringList>& pools,
                        const QStringList& entries, int tracksToPlay) {
    SetProgram(names, pools);
    m_entries = entries;
    m_tracksToPlay = m_labeltracksToPlay1 = std::max(tracksToPlay, 0);
    m_markedSlot = 0;
    ShowNextTracks();
}

void PlayQueue::AskStartNow(bool inListOrder) {
    if (inListOrder)
        m_startNow = StartNow::HeadInListOrder;
    else if (m_startNow == StartNow::No)
        m_startNow = StartNow::Head;
}

QString PlayQueue::At(int i) const { return i >= 0 && i < Count() ? m_entries[i] : QString(); }

void PlayQueue::Clear() { m_entries.clear(); }

void PlayQueue::InsertAt(int index, const QString& entry) {
    m_entries.insert(std::clamp(index, 0, Count()), entry);
    ShowNextTracks();
}

QString PlayQueue::TakeAt(int index) {
    if (index < 0 || index >= Count()) return QString();
    const QString entry = m_entries.takeAt(index);
    ShowNextTracks();
    return entry;
}

void PlayQueue::Append(const QString& entry) {
    m_entries.append(entry);
    ShowNextTracks();
}

void PlayQueue::CountTrackStarted() {
    // Tracks played again from the played list are not from the program: never count
    // below zero.
    m_tracksToPlay = std::max(m_tracksToPlay - 1, 0);
    m_labeltracksToPlay1 = m_tracksToPlay;
}

void PlayQueue::ShowSelectionCount(int rows) { m_labeltracksToPlay1 = rows; }

int PlayQueue::ReplacePath(const QString& oldPath, const QString& newPath) {
    if (oldPath.isEmpty()) return 0;  // fillers are no tracks
    int replaced = 0;
    for (QString& entry : m_entries) {
        const TrackEntryParts parts = SplitTrackEntry(entry);
        if (parts.path != oldPath) continue;
        entry = entry.contains(u'^') ? MakeTrackEntry(newPath, parts.listName) : newPath;
        ++replaced;
    }
    for (int k = 0; k < std::min(m_programListCount, kMaxLists); ++k) {
        for (QString& line : m_programLists[k]) {
            if (line != oldPath) continue;
            line = newPath;
            ++replaced;
        }
    }
    if (replaced > 0) ShowNextTracks();
    return replaced;
}

int PlayQueue::MarkedIndex() const {
    const int index = m_markedSlot - 1;
    return index >= 0 && index < Count() ? index : -1;
}

int PlayQueue::ProgramListIndex(const QString& listName) const {
    const int count = std::min(m_programListCount, kMaxLists);
    for (int k = 0; k < count; ++k) {
        if (m_programListNames[k] == listName) return k;
    }
    return -1;
}

bool PlayQueue::MoveMarkedUp() {
    const int index = MarkedIndex();
    if (index < 1) return false;
    m_entries.move(index, index - 1);
    ShowNextTracks();
    --m_markedSlot;
    return true;
}

bool PlayQueue::MoveMarkedDown() {
    const int index = MarkedIndex();
    const bool lastLabel = m_markedSlot >= kShownEntries;
    if (index < 0 || lastLabel || index + 1 >= Count()) return false;
    m_entries.move(index, index + 1);
    ShowNextTracks();
    ++m_markedSlot;
    return true;
}

bool PlayQueue::DeleteMarked() {
    const int index = MarkedIndex();
    if (index < 0) return false;
    const QString entry = m_entries.takeAt(index);
    const TrackEntryParts parts = SplitTrackEntry(entry);
    const int pool = entry.contains(u'^') ? ProgramListIndex(parts.listName) : -1;
    if (pool >= 0) {
        // Still to play: it goes back where it was drawn from.
        m_programLists[pool].append(parts.path);
    } else if (!entry.isEmpty()) {
        // A filler was never counted; a track from elsewhere was, when it was inserted.
        CountTrackStarted();
    }
    if (Count() < kShownEntries) RefillQueue();
    ShowNextTracks();
    return true;
}

void PlayQueue::RefillQueue() {
    // The pool is drawn first; an empty pool gives a filler even when another pool
    // still has tracks, so a program of several lists runs dry list by list.
    if (m_programListCount <= 0) {
        m_entries.append(QString());
        return;
    }
    const int k = RandomBelow(std::min(m_programListCount, kMaxLists));
    QStringList& pool = m_programLists[k];
    if (pool.isEmpty()) {
        m_entries.append(QString());
        return;
    }
    const bool inOrder = m_startNow == StartNow::HeadInListOrder;
    const int i = m_randomPlay && !inOrder ? RandomBelow(int(pool.size())) : 0;
    m_entries.append(pool.takeAt(i) + QStringLiteral("^") + m_programListNames[k]);
}

void PlayQueue::ShowNextTracks() {
    m_shownCount = std::min(Count(), int(kShownEntries));
    for (int n = 0; n < kShownEntries; ++n) m_shown[n] = At(n);
    DrawShownEntries(true);
}

void PlayQueue::DrawShownEntries(bool lookUp) {
    for (int n = 0; n < kShownEntries; ++n) {
        if (n >= m_shownCount) {
            m_texts[n].clear();
            continue;
        }
        const QString path = SplitTrackEntry(m_shown[n]).path;
        std::optional<std::uint32_t> seconds = 0;  // fillers have no length
        if (!path.isEmpty()) seconds = lookUp ? m_lengths.Lookup(path) : m_lengths.Known(path);
        m_texts[n] = TrackInfoText(m_shown[n], seconds);
    }
}

void PlayQueue::InsertIntoQueue(const QString& entry) {
    if (m_markedSlot == 0) m_markedSlot = 1;
    InsertAt(m_markedSlot - 1, entry);
    m_labeltracksToPlay1 = ++m_tracksToPlay;
}

void PlayQueue::MarkSlot(int n) {
    if (n >= 1 && n <= kShownEntries) m_markedSlot = n;
}

std::uint32_t PlayQueue::LabelColour(int n) const {
    return n == m_markedSlot && n != 0 ? kMarkedColour : kUnmarkedColour;
}
