#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

/// Measures a recording of the station's output: loudness per short window, the level of
/// one pitch per window, and where a pitch is heard. Levels are in dB of full scale:
/// a full-scale square wave is 0 dB, a full-scale sine -3 dB by loudness and 0 dB by
/// pitch level.
namespace audio_analysis {

/// Interleaved signed 16-bit little-endian stereo as mono samples in -1..1.
std::vector<float> MonoFromS16Stereo(const QByteArray& raw);

/// RMS loudness of each whole window of windowSamples samples.
std::vector<double> LoudnessDb(const std::vector<float>& samples, int windowSamples);

/// Amplitude of the frequency hz in each whole window (Hann window, Goertzel), so a sine
/// of amplitude a reads 20·log10(a) and pitches a few bins away read far below it.
std::vector<double> PitchLevelDb(const std::vector<float>& samples, int windowSamples, double hz,
                                 int sampleRate);

/// Windows first and last heard: the first run of at least minRun windows above
/// thresholdDb, and the last window of the last such run.
struct Heard {
    int first = 0;
    int last = 0;
};
std::optional<Heard> HeardSpan(const std::vector<double>& levels, double thresholdDb, int minRun);

/// A run of consecutive windows.
struct Run {
    int first = 0;
    int windows = 0;
    bool operator==(const Run&) const = default;
};
/// The runs of windows from..to (inclusive) whose level is below thresholdDb.
std::vector<Run> QuietRuns(const std::vector<double>& levels, double thresholdDb, int from, int to);

}  // namespace audio_analysis
