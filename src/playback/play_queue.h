#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <random>

#include "base/settings_table.h"
#include "media/track_lengths.h"
#include "schedule/list_file.h"

/// The play queue: the entries to play next (entry 0 first) and the track pools of the
/// running program they are drawn from. An entry is a track entry ("path^list"), a bare
/// path, or "" (a filler: nothing to play). The engine keeps the queue at five entries
/// or more; the first five are shown as the next-track labels.
class PlayQueue {
public:
    static constexpr int kMaxLists = kMaxProgramLists;
    static constexpr int kShownEntries = 5;
    static constexpr std::uint32_t kMarkedColour = 0x800000;    ///< navy, 0x00BBGGRR
    static constexpr std::uint32_t kUnmarkedColour = 0x000000;  ///< black

    /// lengths gives the next-track lengths; without it the queue reads them itself
    /// through a TrackLengthCache of its own.
    explicit PlayQueue(TrackLengths* lengths = nullptr);
    ~PlayQueue();
    PlayQueue(const PlayQueue&) = delete;
    PlayQueue& operator=(const PlayQueue&) = delete;

    /// From now on the next-track texts never wait for a file: a length not known yet
    /// shows as "--:--" and is filled in when the worker has read it. Without this (tests,
    /// the week preview) lengths are read at once.
    void ReadLengthsInBackground();

    // The running program, set by the program loader. Tracks are removed from the
    // pools as they are queued.
    std::array<QStringList, kMaxLists> ProgramLists;
    std::array<QString, kMaxLists> ProgramListNames;
    int ProgramListCount = 0;  ///< how many pools are in use (0..11)
    int TracksToPlay = 0;      ///< tracks still to come
    /// LabeltracksToPlay1 as last written: TracksToPlay whenever it changes, or the size of
    /// the selection list after an "AddToPlayList" until then.
    int LabeltracksToPlay1 = 0;

    /// Which next-track label is marked, 1..5; 0 = none.
    int MarkedSlot = 0;
    /// CheckBoxRandomPlay1: a random track of a list instead of its first.
    bool RandomPlay = false;
    /// Set by the loop while a "next in order" start is pending: refills take the first
    /// track of a list even when RandomPlay is on.
    bool NextTrackNowInOrder = false;

    /// RandomPlay, as the station's settings keep it.
    SettingsTable& Settings() { return m_settings; }

    /// Reseeds the one generator behind every random draw (lists and tracks).
    void Seed(std::uint32_t seed);

    /// Replaces the program: one pool per name (at most kMaxLists are kept), and
    /// TracksToPlay := the number of lines in all pools, shown. Leaves the queue as it is.
    void SetProgram(const QStringList& names, const QList<QStringList>& lists);

    const QStringList& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    /// Entry i, or "" beyond the end.
    QString At(int i) const;
    void Clear();
    /// Raw edits for the play-list editor; they neither refill nor redraw.
    void InsertAt(int index, const QString& entry);
    QString TakeAt(int index);
    void Append(const QString& entry);

    /// Appends one entry drawn from a random pool, or a filler when that pool is empty.
    void RefillQueue();
    /// Redraws the five next-track texts from the head of the queue; the lengths come from
    /// the track lengths.
    void ShowNextTracks();
    /// The operator's insert: at the marked label (marking label 1 when none is),
    /// then redraw; TracksToPlay rises by one and is shown.
    void InsertIntoQueue(const QString& entry);
    /// Click on next-track label n (1..5): mark it.
    void MarkSlot(int n);
    /// Background colour of next-track label n (1..5).
    std::uint32_t LabelColour(int n) const;

    /// LabelTrackPlay1..5: texts of the first five entries as of the last ShowNextTracks,
    /// with every length read since.
    const std::array<QString, kShownEntries>& NextTrackTexts() const { return m_texts; }

private:
    int RandomBelow(int n);
    /// Texts of the shown entries; lookUp asks the cache for lengths it lacks.
    void DrawShownEntries(bool lookUp);

    QStringList m_entries;
    std::unique_ptr<TrackLengths> m_ownLengths;
    TrackLengths& m_lengths;
    QMetaObject::Connection m_lengthsArrived;    ///< dropped with the queue: lengths may outlive it
    std::array<QString, kShownEntries> m_shown;  ///< the entries behind m_texts
    int m_shownCount = 0;
    std::array<QString, kShownEntries> m_texts;
    std::mt19937 m_rng;
    SettingsTable m_settings;
};
