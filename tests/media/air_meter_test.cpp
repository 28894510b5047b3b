#include "media/air_meter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/fake_air_listener.h"

namespace {

constexpr int kRate = 8'000;
constexpr qint64 kStart = 1'765'000'000'000;  // an evening of December 2025
constexpr double kThreshold = -45;

double Db(double amplitude) { return amplitude > 0 ? 20 * std::log10(amplitude) : -INFINITY; }

void ExpectDb(double actual, double expected, double tolerance) {
    if (std::isinf(expected))
        EXPECT_EQ(actual, expected);
    else
        EXPECT_NEAR(actual, expected, tolerance);
}

std::vector<float> Joined(std::initializer_list<std::vector<float>> parts) {
    std::vector<float> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Tone a fading out while tone b fades in, linearly, over the seconds given.
std::vector<float> Crossfade(double a, double b, double amplitude, double seconds) {
    std::vector<float> out = ToneFrames(kRate, a, seconds, amplitude, amplitude);
    const std::vector<float> in = ToneFrames(kRate, b, seconds, amplitude, amplitude);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double x = double(i / 2) / (out.size() / 2);
        out[i] = float(out[i] * (1 - x) + in[i] * x);
    }
    return out;
}

class AirMeterTest : public ::testing::Test {
protected:
    AirMeter meter{kRate};
    FakeAirListener air{kRate};
    void SetUp() override {
        air.Start({}, [this](auto... a) { meter.Add(a...); });
    }
};

// The meters over the last 50 ms and the peak held for 2 s, per channel.
TEST_F(AirMeterTest, ReadsPeakAndRmsPerChannelAndHoldsThePeak) {
    EXPECT_FALSE(meter.Reading().heard);
    struct Case {
        const char* name;
        double left, right;
        qint64 pauseMs;  // silence after the loud burst, before the tone read
    } cases[] = {{"a sine at -6 dBFS on both", 0.5, 0.5, 0},
                 {"left only, the burst still held", 0.5, 0, 1'500},
                 {"quiet right, the burst forgotten", 0, 0.01, 2'500}};
    qint64 at = kStart;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        at = air.Play(ToneFrames(kRate, 997, 0.1, 1, 1), at);
        at = air.Play(ToneFrames(kRate, 997, c.pauseMs / 1000.0, 0, 0), at);
        at = air.Play(ToneFrames(kRate, 997, 0.3, c.left, c.right), at, 93);
        const MeterReading r = meter.Reading();
        ASSERT_TRUE(r.heard);
        const double amplitude[2] = {c.left, c.right};
        for (int ch = 0; ch < 2; ++ch) {
            ExpectDb(r.peakDb[ch], Db(amplitude[ch]), 0.1);
            ExpectDb(r.rmsDb[ch], Db(amplitude[ch] / std::sqrt(2)), 0.1);
            ExpectDb(r.heldPeakDb[ch], c.pauseMs < 2'000 ? 0 : Db(amplitude[ch]), 0.1);
        }
    }
}

// However the server cuts the frames into blocks, and with its clock's jitter, the windows
// are the same.
TEST_F(AirMeterTest, BlocksOfAnySizeGiveTheSameWindows) {
    const auto signal =
        Joined({ToneFrames(kRate, 440, 0.5, 0.5, 0.25), ToneFrames(kRate, 440, 0.33, 0, 0),
                ToneFrames(kRate, 997, 0.4, 0.1, 0)});
    const qint64 end = air.Play(signal, kStart, 80);
    const QList<AirWindow> expected = meter.Windows(kStart, end);
    ASSERT_EQ(expected.size(), std::ssize(signal) / 2 / 80);
    for (int i = 0; i < expected.size(); ++i) ASSERT_EQ(expected[i].atMs, kStart + 10 * i);
    for (const int block : {1, 37, 160, 333, 2'000}) {
        SCOPED_TRACE(block);
        AirMeter other(kRate);
        for (std::size_t first = 0, n = 0; first < signal.size() / 2; first += block, ++n) {
            const int jitterMs = int(n % 5) - 2;
            const int frames = int(std::min<std::size_t>(block, signal.size() / 2 - first));
            other.Add(signal.data() + 2 * first, frames,
                      kStart + std::llround(first * 1000.0 / kRate) + (block < 160 ? 0 : jitterMs));
        }
        const QList<AirWindow> got = other.Windows(kStart - 100, end + 100);
        ASSERT_EQ(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i)
            for (int ch = 0; ch < 2; ++ch) {
                EXPECT_NEAR(got[i].atMs, expected[i].atMs, block < 160 ? 0 : 2);
                EXPECT_FLOAT_EQ(got[i].peakDb[ch], expected[i].peakDb[ch]);
                ExpectDb(got[i].rmsDb[ch], expected[i].rmsDb[ch], 1e-4);
            }
    }
    EXPECT_EQ(meter.Windows(kStart + 500, kStart + 830).size(), (830 - 500) / AirWindow::kWindowMs);
}

// The hand-over's hole and its quietest 20 ms. Each starts on the windows' grid, and the
// tones (1 and 1.5 kHz) fill their windows with whole periods, so that levels are exact.
TEST_F(AirMeterTest, MeasuresTheHoleAndTheQuietestMomentOfAHandOver) {
    const double tone = 0.5, toneRmsDb = Db(tone / std::sqrt(2));
    struct Case {
        const char* name;
        std::vector<float> between;
        int holeMs;
        double quietestDb;
    } cases[] = {
        {"a hole of 300 ms", ToneFrames(kRate, 1'000, 0.3, 0, 0), 300, -INFINITY},
        {"a hole of 300 ms, hum below the threshold", ToneFrames(kRate, 50, 0.3, 0.001, 0.002), 300,
         Db(0.002 / std::sqrt(2))},
        {"a crossfade without a dip", Crossfade(1'000, 1'500, tone, 0.6), 0, Db(tone / 2)},
        // 7 ms of one window and 8 of the next: a quarter of their 20 ms is the tones.
        {"a hole of 15 ms across two windows", ToneFrames(kRate, 1'000, 0.015, 0, 0), 0,
         toneRmsDb + 10 * std::log10(0.25)},
    };
    for (int i = 0; i < std::ssize(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const qint64 from = kStart + 10'000 * i;
        qint64 at = air.Play(ToneFrames(kRate, 1'000, 1.003, tone, tone), from);
        at = air.Play(cases[i].between, at, 111);
        at = air.Play(ToneFrames(kRate, 1'500, 1, tone, tone), at);
        const TransitionMeasure m = MeasureTransition(meter.Windows(from, at), kThreshold);
        EXPECT_NEAR(m.holeMs, cases[i].holeMs, 10);
        ExpectDb(m.quietestDb, cases[i].quietestDb, 0.2);
    }
}

// How long the air has been at or below a threshold, up to the latest window heard.
TEST_F(AirMeterTest, TellsSinceWhenTheAirIsSilent) {
    EXPECT_EQ(meter.SilentSinceMs(kThreshold), -1);
    EXPECT_EQ(meter.HeardUntilMs(), 0);
    qint64 at = air.Play(ToneFrames(kRate, 440, 1, 0.5, 0.5), kStart);
    EXPECT_EQ(meter.SilentSinceMs(kThreshold), -1);
    const qint64 quietFrom = at;
    at = air.Play(ToneFrames(kRate, 440, 0.7, 0.004, 0), at);  // -48 dBFS peak
    at = air.Play(ToneFrames(kRate, 440, 0.7, 0, 0), at);
    EXPECT_EQ(meter.HeardUntilMs(), at);
    struct Case {
        double thresholdDb;
        qint64 sinceMs;
    } cases[] = {{kThreshold, quietFrom}, {-60, quietFrom + 700}, {-INFINITY, quietFrom + 700}};
    for (const Case& c : cases)
        EXPECT_EQ(meter.SilentSinceMs(c.thresholdDb), c.sinceMs) << c.thresholdDb;
    air.Play(ToneFrames(kRate, 440, 0.05, 0.5, 0.5), at);
    EXPECT_EQ(meter.SilentSinceMs(kThreshold), -1);
}

// A hole that reaches into the span around a hand-over counts whole, however long before it
// began; the span's end cuts it.
TEST_F(AirMeterTest, AHoleReachingIntoTheSpanCountsFromWhereItBegan) {
    qint64 at = air.Play(ToneFrames(kRate, 440, 0.5, 0, 0), kStart);  // 0..500 silent
    at = air.Play(ToneFrames(kRate, 440, 0.5, 0.5, 0.5), at);         // 500..1000 sound
    at = air.Play(ToneFrames(kRate, 440, 0.2, 0, 0), at);             // 1000..1200 silent
    air.Play(ToneFrames(kRate, 440, 0.5, 0.5, 0.5), at);
    const QList<AirWindow> all = meter.Windows(kStart, kStart + 2'000);
    const struct {
        qint64 from, to;
        int holeMs;
    } cases[] = {{400, 600, 500}, {1100, 1300, 200}, {600, 900, 0}, {0, 300, 300}, {0, 1300, 500}};
    for (const auto& c : cases)
        EXPECT_NEAR(HoleReachingIntoMs(all, kStart + c.from, kStart + c.to, kThreshold), c.holeMs,
                    10)
            << c.from << ".." << c.to;
}

}  // namespace
