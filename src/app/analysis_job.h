#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

class AnalysisStore;
class SoundAnalyzer;

/// Analyses in the background the files the station may play and does not know yet, and
/// keeps them in the store, so that each is levelled when its turn comes. Workers of the
/// lowest priority take first what is about to play (AddSoon), then what gatherers found
/// (AddLater: the lists, then the library); each path once. The tick and the hand-overs
/// never wait for it, and a sound not analysed when it is due plays as it is.
class AnalysisJob {
public:
    /// workers: how many files are analysed at once (at least one).
    AnalysisJob(const SoundAnalyzer& analyzer, AnalysisStore& store, int workers = 1);
    /// Stops the analyses under way and drops the rest.
    ~AnalysisJob();
    AnalysisJob(const AnalysisJob&) = delete;
    AnalysisJob& operator=(const AnalysisJob&) = delete;

    /// Paths about to play: taken before anything waiting for later (empty ones ignored).
    void AddSoon(const QStringList& paths);
    /// A walk that finds paths (it may read folders, so it runs on a worker once what is
    /// soon is done); its paths are taken after those of earlier walks.
    using Gatherer = std::function<QStringList()>;
    void AddLater(Gatherer gather);
    /// Whether nothing is waiting, walking or under analysis.
    bool Idle() const;

    /// Of the paths seen, how many were dealt with (analysed, known, or not analysable).
    struct Progress {
        int done = 0;
        int seen = 0;
    };
    Progress Count() const;

private:
    enum class Turn { Later, Soon, Taken };
    void StartWorkers();  // m_lock held
    bool TakeWork(QString& path, Gatherer& gather);
    void Work();
    void Deal(const QString& path);

    const SoundAnalyzer& m_analyzer;
    AnalysisStore& m_store;
    const int m_workers;
    mutable std::mutex m_lock;
    QHash<QString, Turn> m_turns;  // every path seen
    std::deque<QString> m_soon, m_later;
    std::deque<Gatherer> m_gatherers;
    int m_running = 0;
    int m_busy = 0;  // workers analysing or walking
    std::atomic<bool> m_closing{false};
    std::atomic<int> m_done{0};
    QThreadPool m_pool;  // last: it waits for its workers before the rest goes
};
