#pragma once

#include <QString>
#include <optional>

#include "media/sound_analysis.h"

class Levelling;
class Station;

/// What the window shows of the analysis of the files, as plain values read off the core:
/// the background analysis's progress, and a track's loudness when the operator asks.
struct AnalysisState {
    /// `ProgressAnalysis`: of the files the background analysis has seen, how many it dealt
    /// with; `LabelAnalysis` says so ("Analysing 1 234 of 48 000"), and is empty when all are.
    int done = 0;
    int seen = 0;
    QString progressText;
    /// The loudness of the track asked for last (`lists-loudness`, `library-loudness`); the
    /// serial grows with each answer.
    QString shownPath;
    QString shownText;
    int shownSerial = 0;
};

/// Read on the core's thread.
AnalysisState AnalysisStateOf(const Station& station);

/// "Analysing 1 234 of 48 000" while some of the files seen are still to do; empty when not.
QString AnalysisProgressText(int done, int seen);
/// What the operator is told of a file's analysis and how it plays: its loudness, true peak
/// and sound, and the gain it is played at; or that it is not analysed yet, or silent.
QString LoudnessText(const std::optional<SoundAnalysis>& analysis, const Levelling& levelling);
