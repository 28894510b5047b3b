#include "audio_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace audio_analysis {

namespace {

// Far below anything a 16-bit recording can hold, so silence has a level.
constexpr double kFloorDb = -200.0;

double Db(double amplitude) {
    return amplitude > 0 ? std::max(kFloorDb, 20.0 * std::log10(amplitude)) : kFloorDb;
}

}  // namespace

std::vector<float> MonoFromS16Stereo(const QByteArray& raw) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw.constData());
    const qsizetype frames = raw.size() / 4;
    std::vector<float> mono(static_cast<std::size_t>(frames));
    for (qsizetype i = 0; i < frames; ++i) {
        const unsigned char* f = bytes + 4 * i;
        const auto left = static_cast<std::int16_t>(f[0] | (f[1] << 8));
        const auto right = static_cast<std::int16_t>(f[2] | (f[3] << 8));
        mono[static_cast<std::size_t>(i)] = (left + right) / 65536.0f;
    }
    return mono;
}

std::vector<double> LoudnessDb(const std::vector<float>& samples, int windowSamples) {
    std::vector<double> levels;
    if (windowSamples <= 0) return levels;
    for (std::size_t start = 0; start + windowSamples <= samples.size(); start += windowSamples) {
        double sum = 0;
        for (int i = 0; i < windowSamples; ++i)
            sum += double(samples[start + i]) * samples[start + i];
        levels.push_back(Db(std::sqrt(sum / windowSamples)));
    }
    return levels;
}

std::vector<double> PitchLevelDb(const std::vector<float>& samples, int windowSamples, double hz,
                                 int sampleRate) {
    std::vector<double> levels;
    if (windowSamples <= 1 || sampleRate <= 0) return levels;
    std::vector<double> hann(static_cast<std::size_t>(windowSamples));
    double hannSum = 0;
    for (int i = 0; i < windowSamples; ++i) {
        hann[i] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (windowSamples - 1));
        hannSum += hann[i];
    }
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / sampleRate);
    for (std::size_t start = 0; start + windowSamples <= samples.size(); start += windowSamples) {
        double s1 = 0;
        double s2 = 0;
        for (int i = 0; i < windowSamples; ++i) {
            const double s0 = hann[i] * samples[start + i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        // |X| of a sine of amplitude a is a·Σw/2.
        levels.push_back(Db(2 * std::sqrt(std::max(0.0, power)) / hannSum));
    }
    return levels;
}

std::optional<Heard> HeardSpan(const std::vector<double>& levels, double thresholdDb, int minRun) {
    std::optional<Heard> heard;
    int run = 0;
    for (int i = 0; i < int(levels.size()); ++i) {
        run = levels[i] > thresholdDb ? run + 1 : 0;
        if (run < std::max(1, minRun)) continue;
        if (!heard) heard = Heard{i - run + 1, i};
        heard->last = i;
    }
    return heard;
}

std::vector<Run> QuietRuns(const std::vector<double>& levels, double thresholdDb, int from,
                           int to) {
    std::vector<Run> runs;
    for (int i = std::max(0, from); i <= to && i < int(levels.size()); ++i) {
        if (levels[i] >= thresholdDb) continue;
        if (!runs.empty() && runs.back().first + runs.back().windows == i)
            ++runs.back().windows;
        else
            runs.push_back({i, 1});
    }
    return runs;
}

}  // namespace audio_analysis
