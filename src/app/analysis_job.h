#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

class AnalysisStore;
class SoundAnalyzer;

/// Analyses in the background what the station is about to play and does not know yet,
/// and keeps it in the store, so that it is levelled when its turn comes. Paths are taken
/// in the order given, each once, on one worker thread of the lowest priority: the tick and
/// the hand-overs never wait for it, and a sound not analysed when it is due plays as it is.
class AnalysisJob {
public:
    AnalysisJob(const SoundAnalyzer& analyzer, AnalysisStore& store);
    /// Waits for the file under analysis, if any; the rest are dropped.
    ~AnalysisJob();
    AnalysisJob(const AnalysisJob&) = delete;
    AnalysisJob& operator=(const AnalysisJob&) = delete;

    /// Queues the paths not seen yet (empty ones are ignored).
    void Add(const QStringList& paths);
    /// How many of the paths seen were dealt with (analysed, known, or not analysable).
    int Done() const { return m_done; }
    int Seen() const;

private:
    void Work();

    const SoundAnalyzer& m_analyzer;
    AnalysisStore& m_store;
    mutable std::mutex m_lock;
    QSet<QString> m_seen;
    std::deque<QString> m_waiting;
    bool m_working = false;
    bool m_closing = false;
    std::atomic<int> m_done{0};
    QThreadPool m_worker;  // last: it waits for its work before the rest goes
};
