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
    /// A file's length in seconds as far as it is known, without reading it.
    std::optional<std::uint32_t> KnownLengthSec(const QString& path) const {
        return m_lengths.Known(path);
    }

    /// How many pools are in use (0..11).
    int ProgramListCount() const { return m_programListCount; }
    /// Pool k of the running program (tracks are removed as they are queued), and its name.
    const QStringList& ProgramList(int k) const { return m_programLists[k]; }
    const QString& ProgramListName(int k) const { return m_programListNames[k]; }
    /// Tracks still to come.
    int TracksToPlay() const { return m_tracksToPlay; }
    /// LabeltracksToPlay1 as last written: TracksToPlay whenever it changes, or the size of
    /// the selection list after an "AddToPlayList" until then.
    int LabeltracksToPlay1() const { return m_labeltracksToPlay1; }
    /// Which next-track label is marked, 1..5; 0 = none.
    int MarkedSlot() const { return m_markedSlot; }
    /// CheckBoxRandomPlay1: a random track of a list instead of its first.
    bool RandomPlay() const { return m_randomPlay; }
    void SetRandomPlay(bool random) { m_randomPlay = random; }

    /// The head starts at the next tick (Next); in list order, refills take each list's
    /// first track until it has started, even with RandomPlay on. An in-order request stays
    /// in order when Next follows it.
    void AskStartNow(bool inListOrder);
    bool StartNowAsked() const { return m_startNow != StartNow::No; }
    /// The head started, or a part that took over the start consumed the request.
    void DropStartNow() { m_startNow = StartNow::No; }

    /// RandomPlay, as the station's settings keep it.
    SettingsTable& Settings() { return m_settings; }

    /// Reseeds the one generator behind every random draw (lists and tracks).
    void Seed(std::uint32_t seed);

    /// Replaces the program: one pool per name (at most kMaxLists are kept), and
    /// TracksToPlay := the number of lines in all pools, shown. Leaves the queue as it is.
    void SetProgram(const QStringList& names, const QList<QStringList>& lists);

    const QStringList& Entries() const { return m_entries; }
    /// Going on after a restart: the program's pools, the queue and the tracks still to
    /// play as they were, shown.
    void Restore(const QStringList& names, const QList<QStringList>& pools,
                 const QStringList& entries, int tracksToPlay);
    int Count() const { return static_cast<int>(m_entries.size()); }
    /// Entry i, or "" beyond the end.
    QString At(int i) const;
    /// Empties the queue; the loader refills it and shows it at once.
    void Clear();
    /// Edits that never refill (a start refills when it leaves the queue short); the shown
    /// texts follow each of them.
    void InsertAt(int index, const QString& entry);
    QString TakeAt(int index);
    void Append(const QString& entry);
    /// A track of the queue started: one less to play (never below zero), shown.
    void CountTrackStarted();
    /// LabeltracksToPlay1 shows the selection list's size until TracksToPlay next changes.
    void ShowSelectionCount(int rows);
    /// Every entry and pool line naming oldPath names newPath; the count replaced.
    int ReplacePath(const QString& oldPath, const QString& newPath);

    // The operator's edits at the marked next-track label. Each does nothing (and returns
    // false) without a marked slot or an entry to move or delete there; the mark follows a
    // moved entry and stays put on a delete.
    /// The marked entry changes place with the one before it.
    bool MoveMarkedUp();
    /// The marked entry (labels 1..4) changes place with the next.
    bool MoveMarkedDown();
    /// Removes the marked entry. A track of a list of the running program goes back to the
    /// end of that list's pool and is still to play; any other leaves TracksToPlay one
    /// lower. The queue is refilled once when short.
    bool DeleteMarked();

    /// Appends one entry drawn from a random pool, or a filler when that pool is empty.
    void RefillQueue();
    /// Redraws the five next-track texts from the head of the queue; the lengths come from
    /// the track lengths.
    void ShowNextTracks();
    /// The operator's insert: at the marked label (marking label 1 when none is),
    /// then redraw; TracksToPlay rises by one and is shown.
    void InsertIntoQueue(const QString& entry);
    /// Click on next-track label n (1..5): mark it; anything else changes nothing.
    void MarkSlot(int n);
    /// Background colour of next-track label n (1..5).
    std::uint32_t LabelColour(int n) const;

    /// LabelTrackPlay1..5: texts of the first five entries as of the last ShowNextTracks,
    /// with every length read since.
    const std::array<QString, kShownEntries>& NextTrackTexts() const { return m_texts; }

private:
    enum class StartNow { No, Head, HeadInListOrder };

    int RandomBelow(int n);
    /// The marked entry's index, or -1 when no slot is marked or the queue is shorter.
    int MarkedIndex() const;
    /// Index of the running program's list of that name, -1 when it plays none such.
    int ProgramListIndex(const QString& listName) const;
    /// Texts of the shown entries; lookUp asks the cache for lengths it lacks.
    void DrawShownEntries(bool lookUp);

    QStringList m_entries;
    std::array<QStringList, kMaxLists> m_programLists;
    std::array<QString, kMaxLists> m_programListNames;
    int m_programListCount = 0;
    int m_tracksToPlay = 0;
    int m_labeltracksToPlay1 = 0;
    int m_markedSlot = 0;
    bool m_randomPlay = false;
    StartNow m_startNow = StartNow::No;
    std::unique_ptr<TrackLengths> m_ownLengths;
    TrackLengths& m_lengths;
    QMetaObject::Connection m_lengthsArrived;    ///< dropped with the queue: lengths may outlive it
    std::array<QString, kShownEntries> m_shown;  ///< the entries behind m_texts
    int m_shownCount = 0;
    std::array<QString, kShownEntries> m_texts;
    std::mt19937 m_rng;
    SettingsTable m_settings;
};
