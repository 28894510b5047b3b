#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "media/track_lengths.h"

/// Track lengths for the next-track labels, remembered by path; a file whose size or
/// modification time changed is read again, and the oldest half is forgotten when too
/// many paths were seen. By default a file is read on the caller's thread, so tests and
/// the week preview stay deterministic. Once ReadInBackground() was called, lengths not
/// yet known are read on a worker thread and LengthsArrived() follows on the owner's
/// thread: a slow or odd file never holds the station's tick.
class TrackLengthCache final : public TrackLengths {
public:
    TrackLengthCache();
    /// Waits for the read in progress, if any (one file, bounded); drops the others.
    ~TrackLengthCache() override;
    TrackLengthCache(const TrackLengthCache&) = delete;
    TrackLengthCache& operator=(const TrackLengthCache&) = delete;

    /// From now on files are read on a worker thread.
    void ReadInBackground() override;

    /// The length of the file in seconds. On the caller's thread it is read when unknown
    /// or changed. In the background: the remembered length, nullopt while none is known;
    /// the worker reads it, or looks whether the file changed since.
    std::optional<std::uint32_t> Lookup(const QString& path) override;
    /// The remembered length, looking at no file and starting no read.
    std::optional<std::uint32_t> Known(const QString& path) const override;

private:
    /// What tells that a file changed: size and modification time (-1 when missing).
    struct Stamp {
        std::int64_t size = -1;
        std::int64_t modifiedMs = -1;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        std::uint32_t seconds = 0;
        std::uint64_t lastUse = 0;
    };
    struct Worker;

    static Stamp StampOf(const QString& path);

    void Remember(const QString& path, const Stamp& stamp, std::uint32_t seconds);
    void ForgetOldestHalf();
    void Request(const QString& path, std::optional<Stamp> known);
    void TakeResults();

    QHash<QString, Entry> m_entries;
    QSet<QString> m_pending;
    std::uint64_t m_uses = 0;
    std::unique_ptr<Worker> m_worker;
};
