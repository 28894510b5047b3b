#include "audio_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace audio_analysis;

namespace {

constexpr int kRate = 44100;
constexpr int kWindow = kRate / 20;  // 50 ms

// Adds a sine to samples [fromSec, toSec).
void AddTone(std::vector<float>& samples, double hz, double amplitude, double fromSec,
             double toSec) {
    const auto from = std::size_t(fromSec * kRate);
    const auto to = std::min(samples.size(), std::size_t(toSec * kRate));
    for (std::size_t i = from; i < to; ++i)
        samples[i] += float(amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate));
}

}  // namespace

TEST(AudioAnalysisTest, ReadsInterleavedStereoAsMono) {
    const char raw[] = {
        '\xff', '\x7f', '\x00', '\x80',  // 32767, -32768
        '\x00', '\x40', '\x00', '\x40',  // 16384, 16384
        '\x00', '\xc0',                  // half a frame, dropped
    };
    const auto mono = MonoFromS16Stereo(QByteArray(raw, sizeof raw));
    ASSERT_EQ(mono.size(), 2u);
    EXPECT_NEAR(mono[0], 0.0, 1e-4);
    EXPECT_NEAR(mono[1], 0.5, 1e-6);
}

TEST(AudioAnalysisTest, LevelsOfLoudnessAndPitch) {
    std::vector<float> samples(kRate, 0.0f);
    AddTone(samples, 440, 0.5, 0.0, 1.0);
    for (double level : LoudnessDb(samples, kWindow)) EXPECT_NEAR(level, -9.03, 0.1);
    // The pitch reads its amplitude, neighbours a few bins off read nothing.
    struct Case {
        double hz;
        double lowDb;
        double highDb;
    };
    const Case cases[] = {{440, -6.3, -5.7}, {640, -200, -80}, {330, -200, -60}, {2000, -200, -80}};
    for (const Case& c : cases) {
        for (double level : PitchLevelDb(samples, kWindow, c.hz, kRate)) {
            EXPECT_GE(level, c.lowDb) << c.hz;
            EXPECT_LE(level, c.highDb) << c.hz;
        }
    }
    const auto silent = LoudnessDb(std::vector<float>(kWindow * 3, 0.0f), kWindow);
    EXPECT_EQ(silent.size(), 3u);
    EXPECT_LT(silent[0], -150);
}

TEST(AudioAnalysisTest, FindsWhenAPitchIsHeardUnderAnother) {
    // Silence, A alone, A and B crossfading, B alone, silence.
    std::vector<float> samples(kRate * 5, 0.0f);
    AddTone(samples, 440, 0.5, 0.5, 3.0);
    AddTone(samples, 660, 0.1, 2.0, 4.0);
    const auto a = HeardSpan(PitchLevelDb(samples, kWindow, 440, kRate), -40, 2);
    const auto b = HeardSpan(PitchLevelDb(samples, kWindow, 660, kRate), -40, 2);
    ASSERT_TRUE(a && b);
    // A window is heard when its Hann-weighted middle holds the tone: within a window.
    EXPECT_NEAR(a->first * 0.05, 0.5, 0.05);
    EXPECT_NEAR(a->last * 0.05, 3.0, 0.05);
    EXPECT_NEAR(b->first * 0.05, 2.0, 0.05);
    EXPECT_NEAR(b->last * 0.05, 4.0, 0.05);
    EXPECT_FALSE(HeardSpan(PitchLevelDb(samples, kWindow, 880, kRate), -40, 2));
}

TEST(AudioAnalysisTest, ShortBlipsAreNotHeardAndGapsAreFound) {
    std::vector<double> levels(20, -100.0);
    levels[3] = -10;  // one window alone
    for (int i = 6; i < 16; ++i) levels[i] = -10;
    levels[10] = -45;
    const auto heard = HeardSpan(levels, -40, 2);
    ASSERT_TRUE(heard);
    EXPECT_EQ(heard->first, 6);
    EXPECT_EQ(heard->last, 15);
    EXPECT_EQ(QuietRuns(levels, -40, heard->first, heard->last),
              (std::vector<audio_analysis::Run>{{10, 1}}));
    EXPECT_TRUE(QuietRuns(levels, -40, 6, 9).empty());
    levels[11] = levels[12] = -50;
    levels[14] = -200;
    EXPECT_EQ(QuietRuns(levels, -40, 0, 99),
              (std::vector<audio_analysis::Run>{{0, 3}, {4, 2}, {10, 3}, {14, 1}, {16, 4}}));
}
