#pragma once

#include "media/sound_analysis.h"

/// Measures a file with the field's own libraries: FFmpeg decodes it whole (any format it
/// knows), libebur128 measures its integrated loudness and true peak, and SoundEdges finds
/// where its sound starts and ends. Each call has its own decoder, so calls may run on
/// several threads at once; FFmpeg's own messages are kept off the station's output.
class FfmpegSoundAnalyzer final : public SoundAnalyzer {
public:
    FfmpegSoundAnalyzer();
    ReadResult<SoundAnalysis> Analyze(const QString& path,
                                      const std::atomic<bool>* stop = nullptr) const override;
};
