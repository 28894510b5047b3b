// The station on air: the real engine, two mpv decks and a calendar of tones of
// different pitches, played into a private null sink whose monitor is recorded from the
// start. The recording, not the engine's state, decides.
#include <gtest/gtest.h>

#include "on_air_rig.h"

namespace {

// Pitches far apart in the analysis' bins and in no simple ratio to one another.
const std::vector<Tone> kTones = {{330, 10}, {520, 11}, {740, 9}, {960, 12}, {1180, 9}};

TEST_F(OnAirTest, TonesCrossfadeWithoutSilence) {
    ASSERT_EQ(GoOnAir(kTones), "");
    RunToTheEnd();
    const std::vector<float> samples = GoOffAir();
    ASSERT_EQ(m_started.size(), qsizetype(kTones.size()));
    const std::vector<Heard> heard = HeardSpans(samples);
    ASSERT_EQ(heard.size(), kTones.size());
    ExpectSeamless(samples, heard);
}

}  // namespace
