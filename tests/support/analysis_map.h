#pragma once

#include <QMap>
#include <mutex>

#include "media/sound_analysis.h"

/// Analyses kept in memory by path, for tests; files are not looked at.
class AnalysisMap final : public AnalysisStore {
public:
    std::optional<SoundAnalysis> Find(const QString& path) const override {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_kept.contains(path) ? std::optional(m_kept[path]) : std::nullopt;
    }
    Result Keep(const QString& path, const SoundAnalysis& analysis) override {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_kept[path] = analysis;
        return {};
    }
    qsizetype Size() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_kept.size();
    }

private:
    mutable std::mutex m_lock;
    QMap<QString, SoundAnalysis> m_kept;
};
