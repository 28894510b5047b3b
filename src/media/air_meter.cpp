#include "media/air_meter.h"

#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr qint64 kReadingMs = 50, kHoldMs = 2'000;
// A block that comes later than the frames before it put it by more than this starts the
// timeline again there (the listener lost samples, or the server came back). Any other is
// the jitter of the listener's clock: the timeline only leans towards it, so that windows
// keep their length and follow the sound card's clock as it drifts from ours, and never
// by more than half the block back, so that windows never go back in time.
constexpr double kResyncMs = 250, kLean = 1.0 / 64;

float PowerDb(double power) { return power > 0 ? float(10.0 * std::log10(power)) : -HUGE_VALF; }
float AmplitudeDb(double amplitude) {
    return amplitude > 0 ? float(20.0 * std::log10(amplitude)) : -HUGE_VALF;
}
double Power(float db) { return std::isinf(db) && db < 0 ? 0.0 : std::pow(10.0, db / 10.0); }

}  // namespace

float AirWindow::LevelDb() const { return std::max(rmsDb[0], rmsDb[1]); }

// The ring of windows heard, and the window being filled. Everything is touched under the
// mutex: Add on the listener's thread, the readings on the core's.
class AirMeter::History {
public:
    struct Heard {
        AirWindow window;
        double power[2];  // mean square, to combine windows
    };

    explicit History(int framesPerSecond)
        : rate(std::max(framesPerSecond, 1)),
          windowFrames(std::max(1, (this->rate + 50) / 100)),
          ring(std::size_t(kHistoryMs / AirWindow::kWindowMs)) {}

    const Heard& FromNewest(std::size_t back) const {
        return ring[(newest + ring.size() - back) % ring.size()];
    }

    void Close() {
        newest = (newest + 1) % ring.size();
        count = std::min(count + 1, ring.size());
        Heard& h = ring[newest];
        h.window.atMs = std::llround(startMs);
        for (int c = 0; c < 2; ++c) {
            h.power[c] = sum[c] / filled;
            h.window.peakDb[c] = AmplitudeDb(peak[c]);
            h.window.rmsDb[c] = PowerDb(h.power[c]);
            peak[c] = 0;
            sum[c] = 0;
        }
        filled = 0;
    }

    mutable QMutex mutex;
    const int rate;
    const int windowFrames;
    // The window being filled.
    double startMs = 0;
    int filled = 0;
    float peak[2] = {};
    double sum[2] = {};
    // When the next frame is heard; NaN before the first.
    double nextMs = std::nan("");
    std::vector<Heard> ring;
    std::size_t newest = 0, count = 0;
};

AirMeter::AirMeter(int rate) : m_history(std::make_unique<History>(rate)) {}

AirMeter::~AirMeter() = default;

void AirMeter::Add(const float* frames, int count, qint64 atMs) {
    History& h = *m_history;
    const QMutexLocker lock(&h.mutex);
    const double msPerFrame = 1000.0 / h.rate;
    const double off = double(atMs) - h.nextMs;
    if (std::isnan(off) || off > kResyncMs)
        h.nextMs = double(atMs);
    else
        h.nextMs += std::max(off * kLean, -count * msPerFrame / 2);
    for (int i = 0; i < count;) {
        if (h.filled == 0) h.startMs = h.nextMs + i * msPerFrame;
        const int n = std::min(count - i, h.windowFrames - h.filled);
        const float* f = frames + 2 * i;
        float peakL = h.peak[0], peakR = h.peak[1];
        double sumL = 0, sumR = 0;
        for (int k = 0; k < n; ++k) {
            const float l = f[2 * k], r = f[2 * k + 1];
            peakL = std::max(peakL, std::abs(l));
            peakR = std::max(peakR, std::abs(r));
            sumL += double(l) * l;
            sumR += double(r) * r;
        }
        h.peak[0] = peakL;
        h.peak[1] = peakR;
        h.sum[0] += sumL;
        h.sum[1] += sumR;
        h.filled += n;
        i += n;
        if (h.filled == h.windowFrames) h.Close();
    }
    h.nextMs += count * msPerFrame;
}

MeterReading AirMeter::Reading() const {
    const History& h = *m_history;
    const QMutexLocker lock(&h.mutex);
    MeterReading r;
    std::fill(std::begin(r.peakDb), std::end(r.peakDb), -HUGE_VALF);
    std::fill(std::begin(r.rmsDb), std::end(r.rmsDb), -HUGE_VALF);
    std::fill(std::begin(r.heldPeakDb), std::end(r.heldPeakDb), -HUGE_VALF);
    if (h.count == 0) return r;
    r.heard = true;
    const qint64 end = h.FromNewest(0).window.atMs + AirWindow::kWindowMs;
    double power[2] = {};
    int recent = 0;
    for (std::size_t back = 0; back < h.count; ++back) {
        const History::Heard& w = h.FromNewest(back);
        if (w.window.atMs < end - kHoldMs) break;
        const bool isRecent = w.window.atMs >= end - kReadingMs;
        recent += isRecent;
        for (int c = 0; c < 2; ++c) {
            r.heldPeakDb[c] = std::max(r.heldPeakDb[c], w.window.peakDb[c]);
            if (!isRecent) continue;
            r.peakDb[c] = std::max(r.peakDb[c], w.window.peakDb[c]);
            power[c] += w.power[c];
        }
    }
    for (int c = 0; c < 2; ++c) r.rmsDb[c] = PowerDb(power[c] / std::max(recent, 1));
    return r;
}

QList<AirWindow> AirMeter::Windows(qint64 fromMs, qint64 toMs) const {
    const History& h = *m_history;
    const QMutexLocker lock(&h.mutex);
    std::size_t first = 0;  // how far back the oldest window wanted lies
    while (first < h.count && h.FromNewest(first).window.atMs >= fromMs) ++first;
    QList<AirWindow> windows;
    for (std::size_t back = first; back-- > 0;) {
        const AirWindow& w = h.FromNewest(back).window;
        if (w.atMs >= toMs) break;
        windows.append(w);
    }
    return windows;
}

qint64 AirMeter::SilentSinceMs(double thresholdDb) const {
    const History& h = *m_history;
    const QMutexLocker lock(&h.mutex);
    qint64 since = -1;
    for (std::size_t back = 0; back < h.count; ++back) {
        const AirWindow& w = h.FromNewest(back).window;
        if (w.LevelDb() > thresholdDb) break;
        since = w.atMs;
    }
    return since;
}

qint64 AirMeter::HeardUntilMs() const {
    const History& h = *m_history;
    const QMutexLocker lock(&h.mutex);
    return h.count ? h.FromNewest(0).window.atMs + AirWindow::kWindowMs : 0;
}

// Nothing heard around the hand-over measures as the default: no hole, and 0 dBFS rather
// than a silence nobody heard.
TransitionMeasure MeasureTransition(const QList<AirWindow>& windows, double thresholdDb) {
    TransitionMeasure m;
    if (windows.isEmpty()) return m;
    // Two windows side by side make the 20 ms; the louder channel is the level.
    double quietest = std::max(Power(windows[0].rmsDb[0]), Power(windows[0].rmsDb[1]));
    for (qsizetype i = 1; i < windows.size(); ++i) {
        double louder = 0;
        for (int c = 0; c < 2; ++c)
            louder =
                std::max(louder, (Power(windows[i - 1].rmsDb[c]) + Power(windows[i].rmsDb[c])) / 2);
        quietest = i == 1 ? louder : std::min(quietest, louder);
    }
    m.quietestDb = quietest > 0 ? 10.0 * std::log10(quietest) : -HUGE_VAL;
    int run = 0, longest = 0;
    for (const AirWindow& w : windows) {
        run = w.LevelDb() <= thresholdDb ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    m.holeMs = longest * AirWindow::kWindowMs;
    return m;
}

int HoleReachingIntoMs(const QList<AirWindow>& windows, qint64 fromMs, qint64 toMs,
                       double thresholdDb) {
    int longest = 0, run = 0;
    for (const AirWindow& w : windows) {
        if (w.atMs >= toMs) break;
        run = w.LevelDb() <= thresholdDb ? run + 1 : 0;
        if (run > 0 && w.atMs + AirWindow::kWindowMs > fromMs) longest = std::max(longest, run);
    }
    return longest * AirWindow::kWindowMs;
}
