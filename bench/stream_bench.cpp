// What encoding one stream of the air costs: ten seconds of a stereo 44.1 kHz tone with
// some noise (so that the encoder has something to work on) encoded as fast as it goes.
// percent_of_core is the CPU time over the audio's duration, times 100: the share of one
// core a live stream of that format keeps busy. Sending (about 16 kB a second to a socket)
// is left out; it is small beside the encoding.
#include <benchmark/benchmark.h>

#include <QRandomGenerator>
#include <cmath>
#include <ctime>
#include <numbers>
#include <vector>

#include "platform/icecast_stream.h"
#include "platform/stream_encoder.h"

namespace {

constexpr int kSeconds = 10;
constexpr int kBlock = 1764;  // 40 ms, the blocks the air listener hands over

std::vector<float> Programme() {
    std::vector<float> frames(size_t(2) * kSeconds * IcecastStream::kRate);
    QRandomGenerator noise(7);
    for (size_t i = 0; i < frames.size() / 2; ++i) {
        const double t = double(i) / IcecastStream::kRate;
        const double tone = 0.4 * std::sin(2 * std::numbers::pi * 440 * t);
        frames[2 * i] = float(tone + 0.05 * (noise.generateDouble() - 0.5));
        frames[2 * i + 1] = float(0.8 * tone + 0.05 * (noise.generateDouble() - 0.5));
    }
    return frames;
}

void Encode(benchmark::State& state, bool mp3) {
    const std::vector<float> frames = Programme();
    const int kbps = int(state.range(0));
    qint64 bytes = 0;
    const std::clock_t began = std::clock();
    for (auto _ : state) {
        auto encoder = mp3 ? StreamEncoder::Mp3(IcecastStream::kRate, kbps)
                           : StreamEncoder::Vorbis(IcecastStream::kRate, kbps);
        bytes += encoder->Begin("Artist - Title").size();
        for (size_t at = 0; at < frames.size() / 2; at += kBlock)
            bytes += encoder
                         ->Encode(frames.data() + 2 * at,
                                  int(std::min<size_t>(kBlock, frames.size() / 2 - at)))
                         .size();
    }
    benchmark::DoNotOptimize(bytes);
    const double cpuSeconds = double(std::clock() - began) / CLOCKS_PER_SEC;
    state.counters["percent_of_core"] = 100 * cpuSeconds / (double(state.iterations()) * kSeconds);
    state.counters["kbit_per_s"] =
        double(bytes) * 8 / 1000 / (double(state.iterations()) * kSeconds);
}

void Mp3(benchmark::State& state) { Encode(state, true); }
void Vorbis(benchmark::State& state) { Encode(state, false); }

}  // namespace

BENCHMARK(Mp3)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(Vorbis)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
