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
    m_settings.Add("RandomPlay", RandomPlay);
}

PlayQueue::~PlayQueue() { QObject::disconnect(m_lengthsArrived); }

void PlayQueue::ReadLengthsInBackground() { m_lengths.ReadInBackground(); }

void PlayQueue::Seed(std::uint32_t seed) { m_rng.seed(seed); }

int PlayQueue::RandomBelow(int n) {
    if (n <= 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_rng);
}

void PlayQueue::SetProgram(const QStringList& names, const QList<QStringList>& lists) {
    ProgramListCount = int(std::min<qsizetype>(std::min(names.size(), lists.size()), kMaxLists));
    TracksToPlay = 0;
    for (int k = 0; k < kMaxLists; ++k) {
        const bool used = k < ProgramListCount;
        ProgramListNames[k] = used ? names[k] : QString();
        ProgramLists[k] = used ? lists[k] : QStringList();
        TracksToPlay += int(ProgramLists[k].size());
    }
    LabeltracksToPlay1 = TracksToPlay;
}

QString PlayQueue::At(int i) const { return i >= 0 && i < Count() ? m_entries[i] : QString(); }

void PlayQueue::Clear() { m_entries.clear(); }

void PlayQueue::InsertAt(int index, const QString& entry) {
    m_entries.insert(std::clamp(index, 0, Count()), entry);
}

QString PlayQueue::TakeAt(int index) {
    if (index < 0 || index >= Count()) return QString();
    return m_entries.takeAt(index);
}

void PlayQueue::Append(const QString& entry) { m_entries.append(entry); }

void PlayQueue::RefillQueue() {
    // The pool is drawn first; an empty pool gives a filler even when another pool
    // still has tracks, so a program of several lists runs dry list by list.
    if (ProgramListCount <= 0) {
        m_entries.append(QString());
        return;
    }
    const int k = RandomBelow(std::min(ProgramListCount, kMaxLists));
    QStringList& pool = ProgramLists[k];
    if (pool.isEmpty()) {
        m_entries.append(QString());
        return;
    }
    const int i = RandomPlay && !NextTrackNowInOrder ? RandomBelow(int(pool.size())) : 0;
    m_entries.append(pool.takeAt(i) + QStringLiteral("^") + ProgramListNames[k]);
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
    if (MarkedSlot == 0) MarkedSlot = 1;
    InsertAt(MarkedSlot - 1, entry);
    ShowNextTracks();
    LabeltracksToPlay1 = ++TracksToPlay;
}

void PlayQueue::MarkSlot(int n) {
    if (n >= 1 && n <= kShownEntries) MarkedSlot = n;
}

std::uint32_t PlayQueue::LabelColour(int n) const {
    return n == MarkedSlot && n != 0 ? kMarkedColour : kUnmarkedColour;
}
