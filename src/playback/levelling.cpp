#include "playback/levelling.h"

#include <algorithm>
#include <cmath>

#include "playback/main_loop.h"

Levelling::Levelling() {
    m_settings.Add("LevelTracks", LevelTracks)
        .Add("LoudnessTarget", LoudnessTarget)
        .Add("SmartMixing", SmartMixing);
}

std::optional<SoundAnalysis> Levelling::AnalysisOf(const QString& path) const {
    if (!m_analyses || path.isEmpty()) return std::nullopt;
    return m_analyses->Find(path);
}

double Levelling::GainDb(const std::optional<SoundAnalysis>& analysis) const {
    return LevelTracks && analysis ? GainDb(*analysis, LoudnessTarget) : 0;
}

double Levelling::StartSec(const std::optional<SoundAnalysis>& analysis) const {
    return StartOfSoundSec(analysis, SmartMixing);
}

double Levelling::GainDb(const SoundAnalysis& analysis, double targetLufs) {
    if (!analysis.soundFound || !std::isfinite(analysis.loudnessLufs)) return 0;
    const double gain = targetLufs - analysis.loudnessLufs;
    // A file whose peak is already past the ceiling is not raised, only lowered.
    const double headroom =
        std::isfinite(analysis.truePeakDb) ? kPeakCeilingDb - analysis.truePeakDb : gain;
    return std::min(gain, headroom);
}
