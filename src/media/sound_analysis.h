#pragma once

#include <QString>
#include <atomic>
#include <optional>

#include "base/result.h"

/// What the station knows of a sound file's audio: how loud it is and where its sound
/// starts and ends, so tracks are levelled and mixed where their sound ends.
struct SoundAnalysis {
    double loudnessLufs = 0;  ///< integrated loudness (EBU R128)
    double truePeakDb = 0;    ///< true peak, dBTP
    double startSec = 0;      ///< the first moment of sound
    double endSec = 0;        ///< the last moment of sound
    double lengthSec = 0;     ///< the decoded audio's length
    bool soundFound = false;  ///< false for a file of silence: start and end say nothing

    bool operator==(const SoundAnalysis&) const = default;
};

/// Measures a file (decoding it whole). Safe to call from several threads at once.
class SoundAnalyzer {
public:
    virtual ~SoundAnalyzer() = default;
    /// The analysis, or an error naming why the file could not be analysed. When stop is
    /// given and becomes true, the analysis ends soon after with an error.
    virtual ReadResult<SoundAnalysis> Analyze(const QString& path,
                                              const std::atomic<bool>* stop = nullptr) const = 0;
};

/// Analyses kept across runs, each for the file as it was (its size and modification
/// time): a changed file is not found. Safe to use from several threads at once.
class AnalysisStore {
public:
    virtual ~AnalysisStore() = default;
    /// The analysis of the file as it is now; none when unknown or the file changed.
    virtual std::optional<SoundAnalysis> Find(const QString& path) const = 0;
    /// Keeps the analysis of the file as it is now.
    virtual Result Keep(const QString& path, const SoundAnalysis& analysis) = 0;
};
