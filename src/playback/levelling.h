#pragma once

#include <QString>
#include <optional>

#include "base/settings_table.h"
#include "media/sound_analysis.h"

/// How a deck plays a file by its analysis. Levelling brings every sound to one loudness:
/// the gain that takes the file to the station's target (LoudnessTarget, LUFS) without its
/// true peak passing kPeakCeilingDb. Mixing by sound (SmartMixing) starts it at its first
/// sound and mixes it out by its last (MixLengthSec). A file not analysed yet, or without
/// sound, plays as it is; so does every file with both settings off.
class Levelling {
public:
    static constexpr double kPeakCeilingDb = -1.0;

    Levelling();

    bool LevelTracks = true;
    int LoudnessTarget = -16;
    bool SmartMixing = true;

    /// Where the analyses are found; none: every file plays as it is.
    void SetAnalyses(AnalysisStore* analyses) { m_analyses = analyses; }
    const AnalysisStore* Analyses() const { return m_analyses; }
    /// The analysis of the file, when known and the file is unchanged since.
    std::optional<SoundAnalysis> AnalysisOf(const QString& path) const;
    /// The gain in dB a file of this analysis (none: not analysed) is played at.
    double GainDb(const std::optional<SoundAnalysis>& analysis) const;
    /// The rule itself, for an analysis in hand.
    static double GainDb(const SoundAnalysis& analysis, double targetLufs);

    /// Where the deck starts a file of this analysis, in seconds.
    double StartSec(const std::optional<SoundAnalysis>& analysis) const;

    /// LevelTracks, LoudnessTarget and SmartMixing, as the station's settings keep them.
    SettingsTable& Settings() { return m_settings; }

private:
    AnalysisStore* m_analyses = nullptr;
    SettingsTable m_settings;
};
