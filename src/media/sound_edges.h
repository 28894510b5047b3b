#pragma once

#include <cstdint>

/// Finds where a sound's audio starts and ends as its samples go by: the first and the
/// last moment of a stretch of at least kLeastSoundMs whose level (RMS over 10 ms blocks)
/// is above kSoundDb. A click or a crackle shorter than that, or a noise floor below the
/// level, is not sound.
class SoundEdges {
public:
    static constexpr double kSoundDb = -45.0;
    static constexpr int kBlockMs = 10;
    static constexpr int kLeastSoundMs = 50;

    explicit SoundEdges(int sampleRate);
    /// Interleaved samples in -1..1, `frames` of `channels` each.
    void Add(const float* samples, std::int64_t frames, int channels);

    bool Found() const { return m_firstStart >= 0; }
    /// Seconds from the start of the audio; 0 when no sound was found.
    double StartSec() const;
    double EndSec() const;

private:
    void EndBlock();

    int m_blockFrames;
    std::int64_t m_blocks = 0;  // whole blocks seen
    int m_inBlock = 0;          // frames of the block under way
    double m_sum = 0;           // its sum of squares, over all channels
    int m_channels = 1;
    std::int64_t m_runStart = -1;  // the loud run under way, in blocks
    std::int64_t m_firstStart = -1, m_lastEnd = -1;
};
