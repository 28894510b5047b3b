#include "media/sound_edges.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLeastBlocks = SoundEdges::kLeastSoundMs / SoundEdges::kBlockMs;

}  // namespace

SoundEdges::SoundEdges(int sampleRate) : m_blockFrames(std::max(1, sampleRate * kBlockMs / 1000)) {}

void SoundEdges::Add(const float* samples, std::int64_t frames, int channels) {
    m_channels = std::max(1, channels);
    for (std::int64_t f = 0; f < frames; ++f) {
        for (int c = 0; c < m_channels; ++c) {
            const double s = samples[f * m_channels + c];
            m_sum += s * s;
        }
        if (++m_inBlock == m_blockFrames) EndBlock();
    }
}

void SoundEdges::EndBlock() {
    const double rms = std::sqrt(m_sum / (double(m_blockFrames) * m_channels));
    const bool loud = rms > 0 && 20 * std::log10(rms) > kSoundDb;
    if (loud && m_runStart < 0) m_runStart = m_blocks;
    ++m_blocks;
    if (loud && m_blocks - m_runStart >= kLeastBlocks) {
        if (m_firstStart < 0) m_firstStart = m_runStart;
        m_lastEnd = m_blocks;
    }
    if (!loud) m_runStart = -1;
    m_inBlock = 0;
    m_sum = 0;
}

double SoundEdges::StartSec() const { return Found() ? m_firstStart * (kBlockMs / 1000.0) : 0; }

double SoundEdges::EndSec() const { return Found() ? m_lastEnd * (kBlockMs / 1000.0) : 0; }
