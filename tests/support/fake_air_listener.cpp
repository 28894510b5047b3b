#include "support/fake_air_listener.h"

#include <algorithm>
#include <cmath>
#include <numbers>

Result FakeAirListener::Start(const QString& source, Take take) {
    startedWith = source;
    if (startResult.ok()) m_take = std::move(take);
    return startResult;
}

qint64 FakeAirListener::Play(const std::vector<float>& frames, qint64 atMs, int blockFrames) {
    const int count = int(frames.size() / 2);
    const auto timeOf = [&](int frame) { return atMs + std::llround(frame * 1000.0 / m_rate); };
    for (int first = 0; m_take && first < count; first += blockFrames)
        m_take(frames.data() + 2 * first, std::min(blockFrames, count - first), timeOf(first));
    return timeOf(count);
}

std::vector<float> ToneFrames(int rate, double hz, double seconds, double left, double right) {
    std::vector<float> frames(std::size_t(std::llround(seconds * rate)) * 2);
    for (std::size_t i = 0; i < frames.size() / 2; ++i) {
        const double s = std::sin(2 * std::numbers::pi * hz * double(i) / rate);
        frames[2 * i] = float(left * s);
        frames[2 * i + 1] = float(right * s);
    }
    return frames;
}
