// What listening to the air costs, as a share of one core: the meter's work for each second
// of audio at the listener's rate, the readings the window and the alarm take (20 a second),
// and, when a sound server is given (bench/air_monitor_bench.sh), the listener's own thread
// and the server over a real capture.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <random>
#include <thread>

#include "media/air_meter.h"
#include "platform/pulse_air_listener.h"
#include "support/fake_air_listener.h"

namespace {

constexpr int kRate = 8'000, kBlockFrames = 160;

// A second of programme: a tone with noise over it.
std::vector<float> Programme() {
    std::vector<float> frames = ToneFrames(kRate, 440, 1, 0.3, 0.2);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.1f, 0.1f);
    for (float& f : frames) f += noise(random);
    return frames;
}

// Seconds of time served per second of CPU: 100 over it is the share of one core.
benchmark::Counter TimesRealTime(double secondsPerIteration) {
    return benchmark::Counter(secondsPerIteration, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MeterAddOneSecond(benchmark::State& state) {
    const std::vector<float> second = Programme();
    AirMeter meter(kRate);
    qint64 at = 0;
    for (auto _ : state) {
        for (int first = 0; first < kRate; first += kBlockFrames)
            meter.Add(second.data() + 2 * first, kBlockFrames, at + first / 8);
        at += 1'000;
    }
    state.counters["x_real_time"] = TimesRealTime(1);
}
BENCHMARK(BM_MeterAddOneSecond);

// A twentieth of a second of readings on a full history: the meters and the silence.
void BM_MeterReadings(benchmark::State& state) {
    const std::vector<float> second = Programme();
    AirMeter meter(kRate);
    for (int s = 0; s < AirMeter::kHistoryMs / 1'000; ++s)
        meter.Add(second.data(), kRate, s * 1'000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(meter.Reading());
        benchmark::DoNotOptimize(meter.SilentSinceMs(-45));
    }
    state.counters["x_real_time"] = TimesRealTime(1.0 / 20);
}
BENCHMARK(BM_MeterReadings);

// Clock ticks of CPU (user and system) of the threads of a process named so, or of the whole
// process when name is empty.
double CpuSeconds(const QString& process, const QByteArray& name) {
    const QString dir = QStringLiteral("/proc/%1/task").arg(process);
    const auto ticks = [](const QString& statFile) {
        QFile file(statFile);
        if (!file.open(QIODevice::ReadOnly)) return 0.0;
        const QByteArray stat = file.readAll();
        // The fields after the name (which may hold spaces), from the state on.
        const QList<QByteArray> f = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        return f.size() > 12 ? f[11].toDouble() + f[12].toDouble() : 0.0;
    };
    double total = 0;
    if (name.isEmpty())
        return ticks(QStringLiteral("/proc/%1/stat").arg(process)) / sysconf(_SC_CLK_TCK);
    for (const QString& task : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(dir + "/" + task + "/comm");
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == name)
            total += ticks(dir + "/" + task + "/stat");
    }
    return total / sysconf(_SC_CLK_TCK);
}

// A real capture from the server PULSE_SERVER names, for STAVOX_AIR_SECONDS (30); the
// server's process is STAVOX_AIR_SERVER_PID.
void BM_ListenerCapture(benchmark::State& state) {
    const QByteArray serverPid = qgetenv("STAVOX_AIR_SERVER_PID");
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER") || serverPid.isEmpty())
        return state.SkipWithError("run by bench/air_monitor_bench.sh, which gives it a server");
    const int seconds = qEnvironmentVariableIsSet("STAVOX_AIR_SECONDS")
                            ? std::max(1, qEnvironmentVariableIntValue("STAVOX_AIR_SECONDS"))
                            : 30;
    for (auto _ : state) {
        PulseAirListener listener;
        AirMeter meter(listener.Rate());
        const Result started = listener.Start({}, [&](auto... a) { meter.Add(a...); });
        if (!started.ok()) return state.SkipWithError(qPrintable(started.message()));
        const double listener0 = CpuSeconds("self", "stavox-air");
        const double server0 = CpuSeconds(serverPid, {});
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        state.counters["listener_pct_of_core"] =
            100 * (CpuSeconds("self", "stavox-air") - listener0) / seconds;
        state.counters["server_pct_of_core"] =
            100 * (CpuSeconds(serverPid, {}) - server0) / seconds;
        state.counters["heard_s"] =
            double(meter.Windows(0, LLONG_MAX).size()) * AirWindow::kWindowMs / 1000;
        listener.Stop();
    }
}
BENCHMARK(BM_ListenerCapture)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
