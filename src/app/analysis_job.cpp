#include "app/analysis_job.h"

#include <QFileInfo>
#include <QThread>
#include <algorithm>

#include "base/thread_handoff.h"
#include "media/sound_analysis.h"

AnalysisJob::AnalysisJob(const SoundAnalyzer& analyzer, AnalysisStore& store, int workers)
    : m_analyzer(analyzer), m_store(store), m_workers(std::max(1, workers)) {
    m_pool.setMaxThreadCount(m_workers);
    // Idle priority: on Linux the only one that keeps the workers from taking a core the
    // tick is waiting for (the lowest ordinary priority is not applied there at all).
    m_pool.setThreadPriority(QThread::IdlePriority);
}

AnalysisJob::~AnalysisJob() {
    m_closing = true;
    m_pool.waitForDone();
}

void AnalysisJob::AddSoon(const QStringList& paths) {
    const std::lock_guard<std::mutex> hold(m_lock);
    for (const QString& path : paths) {
        if (path.isEmpty()) continue;
        const auto turn = m_turns.find(path);
        if (turn == m_turns.end())
            m_turns.insert(path, Turn::Soon);
        else if (*turn == Turn::Later)
            *turn = Turn::Soon;  // its place further back is passed over when reached
        else
            continue;
        m_soon.push_back(path);
    }
    StartWorkers();
}

void AnalysisJob::AddLater(Gatherer gather) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_gatherers.push_back(std::move(gather));
    StartWorkers();
}

bool AnalysisJob::Idle() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_busy == 0 && m_soon.empty() && m_later.empty() && m_gatherers.empty();
}

AnalysisJob::Progress AnalysisJob::Count() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return {m_done, int(m_turns.size())};
}

void AnalysisJob::StartWorkers() {
    const std::size_t work = m_soon.size() + m_later.size() + m_gatherers.size();
    while (!m_closing && m_running < m_workers && std::size_t(m_running) < work) {
        ++m_running;
        m_pool.start(HandOff::Wrap([this] { Work(); }));
    }
}

// The next path to analyse, or else the next walk; false when there is neither.
bool AnalysisJob::TakeWork(QString& path, Gatherer& gather) {
    const std::lock_guard<std::mutex> hold(m_lock);
    while (!m_closing) {
        std::deque<QString>& queue = m_soon.empty() ? m_later : m_soon;
        if (queue.empty()) break;
        path = queue.front();
        queue.pop_front();
        Turn& turn = m_turns[path];
        const Turn wanted = &queue == &m_soon ? Turn::Soon : Turn::Later;
        if (turn != wanted) continue;  // taken already from the other queue
        turn = Turn::Taken;
        ++m_busy;
        return true;
    }
    if (!m_closing && !m_gatherers.empty()) {
        path.clear();
        gather = std::move(m_gatherers.front());
        m_gatherers.pop_front();
        ++m_busy;
        return true;
    }
    --m_running;
    return false;
}

void AnalysisJob::Work() {
    QString path;
    Gatherer gather;
    while (TakeWork(path, gather)) {
        if (gather) {
            const QStringList found = gather();
            gather = nullptr;
            const std::lock_guard<std::mutex> hold(m_lock);
            for (const QString& p : found)
                if (!p.isEmpty() && !m_turns.contains(p)) {
                    m_turns.insert(p, Turn::Later);
                    m_later.push_back(p);
                }
            --m_busy;
            StartWorkers();
            continue;
        }
        Deal(path);
        const std::lock_guard<std::mutex> hold(m_lock);
        --m_busy;
    }
}

void AnalysisJob::Deal(const QString& path) {
    // A pipe or a device in a list is never opened: it could hold the worker for ever.
    if (QFileInfo(path).isFile() && !m_store.Find(path)) {
        const ReadResult<SoundAnalysis> analysis = m_analyzer.Analyze(path, &m_closing);
        if (analysis.ok() && !m_closing) m_store.Keep(path, analysis.value);
    }
    ++m_done;
}
