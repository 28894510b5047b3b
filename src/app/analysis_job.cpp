#include "app/analysis_job.h"

#include <QFileInfo>
#include <QThread>

#include "base/thread_handoff.h"
#include "media/sound_analysis.h"

AnalysisJob::AnalysisJob(const SoundAnalyzer& analyzer, AnalysisStore& store)
    : m_analyzer(analyzer), m_store(store) {
    m_worker.setMaxThreadCount(1);
    m_worker.setThreadPriority(QThread::LowestPriority);
}

AnalysisJob::~AnalysisJob() {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_closing = true;
        m_waiting.clear();
    }
    m_worker.waitForDone();
}

void AnalysisJob::Add(const QStringList& paths) {
    const std::lock_guard<std::mutex> hold(m_lock);
    for (const QString& path : paths) {
        if (path.isEmpty() || m_seen.contains(path)) continue;
        m_seen.insert(path);
        m_waiting.push_back(path);
    }
    if (m_working || m_waiting.empty()) return;
    m_working = true;
    m_worker.start(HandOff::Wrap([this] { Work(); }));
}

int AnalysisJob::Seen() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return int(m_seen.size());
}

void AnalysisJob::Work() {
    for (;;) {
        QString path;
        {
            const std::lock_guard<std::mutex> hold(m_lock);
            if (m_closing || m_waiting.empty()) {
                m_working = false;
                return;
            }
            path = m_waiting.front();
            m_waiting.pop_front();
        }
        // A pipe or a device in a list is never opened: it could hold the worker for ever.
        if (QFileInfo(path).isFile() && !m_store.Find(path)) {
            const ReadResult<SoundAnalysis> analysis = m_analyzer.Analyze(path);
            if (analysis.ok()) m_store.Keep(path, analysis.value);
        }
        ++m_done;
    }
}
