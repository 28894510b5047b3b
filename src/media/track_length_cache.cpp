#include "media/track_length_cache.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "base/thread_handoff.h"
#include "media/mpeg_data.h"

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

namespace {

// Far more than five labels and an operator's edits ever need; the bound keeps a station
// that runs for months from growing without end.
constexpr qsizetype kMostEntries = 512;

}  // namespace

// One thread reading one file at a time, in the order asked. Results wait in a list the
// owner takes in on its own thread; the first result of a batch posts the call to take them.
struct TrackLengthCache::Worker {
    struct Job {
        QString path;
        std::optional<Stamp> known;  ///< the stamp of the remembered length, if any
    };
    struct Result {
        QString path;
        Stamp stamp;
        std::optional<std::uint32_t> seconds;  ///< nullopt: the file did not change
    };

    explicit Worker(TrackLengthCache* owner) : m_owner(owner), m_thread([this] { Run(); }) {}
    ~Worker() {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void Add(Job job) {
        {
            const std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_one();
    }

    std::vector<Result> Take() {
        const std::lock_guard lock(m_mutex);
        return std::exchange(m_results, {});
    }

private:
    void Run() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
                if (m_stop) return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            Result result{job.path, StampOf(job.path), std::nullopt};
            if (job.known != result.stamp) result.seconds = TrackLength(job.path);
            bool first = false;
            {
                const std::lock_guard lock(m_mutex);
                first = m_results.empty();
                m_results.push_back(std::move(result));
            }
            // The owner outlives this thread (its destructor joins it), and a call still
            // queued when it goes is dropped with it.
            if (first)
                QMetaObject::invokeMethod(
                    m_owner, HandOff::Wrap([owner = m_owner] { owner->TakeResults(); }),
                    Qt::QueuedConnection);
        }
    }

    TrackLengthCache* m_owner;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::vector<Result> m_results;
    bool m_stop = false;
    std::thread m_thread;  // last: it starts once everything above exists
};

TrackLengthCache::TrackLengthCache() = default;

TrackLengthCache::~TrackLengthCache() = default;

TrackLengthCache::Stamp TrackLengthCache::StampOf(const QString& path) {
#ifdef Q_OS_LINUX
    // QFileInfo gives the time in local time, and the conversion costs more than the look.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return {std::int64_t(st.st_size),
            std::int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000};
#else
    const QFileInfo info(path);
    if (!info.exists()) return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
#endif
}

void TrackLengthCache::ReadInBackground() {
    if (!m_worker) m_worker = std::make_unique<Worker>(this);
}

std::optional<std::uint32_t> TrackLengthCache::Lookup(const QString& path) {
    const auto it = m_entries.find(path);
    if (m_worker) {
        if (it == m_entries.end()) {
            Request(path, std::nullopt);
            return std::nullopt;
        }
        it->lastUse = ++m_uses;
        Request(path, it->stamp);
        return it->seconds;
    }
    const Stamp stamp = StampOf(path);
    if (it != m_entries.end() && it->stamp == stamp) {
        it->lastUse = ++m_uses;
        return it->seconds;
    }
    const std::uint32_t seconds = TrackLength(path);
    Remember(path, stamp, seconds);
    return seconds;
}

std::optional<std::uint32_t> TrackLengthCache::Known(const QString& path) const {
    const auto it = m_entries.constFind(path);
    if (it == m_entries.cend()) return std::nullopt;
    return it->seconds;
}

void TrackLengthCache::Remember(const QString& path, const Stamp& stamp, std::uint32_t seconds) {
    m_entries.insert(path, Entry{stamp, seconds, ++m_uses});
    if (m_entries.size() > kMostEntries) ForgetOldestHalf();
}

void TrackLengthCache::ForgetOldestHalf() {
    std::vector<std::uint64_t> uses;
    uses.reserve(m_entries.size());
    for (const Entry& e : std::as_const(m_entries)) uses.push_back(e.lastUse);
    const auto middle = uses.begin() + std::ptrdiff_t(uses.size() / 2);
    std::nth_element(uses.begin(), middle, uses.end());
    const std::uint64_t keepFrom = *middle;
    m_entries.removeIf([keepFrom](const auto& e) { return e.value().lastUse < keepFrom; });
}

void TrackLengthCache::Request(const QString& path, std::optional<Stamp> known) {
    if (m_pending.contains(path)) return;
    m_pending.insert(path);
    m_worker->Add({path, known});
}

void TrackLengthCache::TakeResults() {
    bool changed = false;
    for (const Worker::Result& r : m_worker->Take()) {
        m_pending.remove(r.path);
        const std::optional<std::uint32_t> before = Known(r.path);
        if (r.seconds) {
            Remember(r.path, r.stamp, *r.seconds);
            changed = changed || before != r.seconds;
        } else if (!before) {
            Request(r.path, std::nullopt);  // forgotten while it was being looked at
        }
    }
    if (changed) Q_EMIT LengthsArrived();
}
