// The station listening to its air: the dead-air alarm, its steps and its end, the silences
// the operator made, and the measure of a hand-over, as the as-run lines say them.
#include "app/air_watch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/as_run_log.h"
#include "app/operator_actions.h"
#include "app/station.h"
#include "app/week_preview.h"
#include "base/virtual_timer_host.h"
#include "media/air_meter.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"
#include "support/station_rooms.h"

namespace {

constexpr int kRate = 8000;

class AirWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.AddList("pop", {600, 600, 600});
        folder.AddList("rescue", {60, 60});
        folder.WriteDays({{1, "09:00", "10:00", "pop"}});
        ASSERT_EQ(station.StartUp(), QStringList());
        LogAirWatch(station.Air(), log, host);
        station.ListenToAir(meter);
        Air(6'400, true);  // the start wait, then the first track, heard
    }
    Result Run(const char* verb, const QString& argument) {
        const OperatorVerb* row = FindOperatorVerb(QLatin1String(verb));
        return row ? RunVerb(station, *row, argument) : Result::Error("no verb");
    }
    // The air for so long as the clock passes: a tone, or digital silence.
    void Air(int ms, bool sound) {
        for (int done = 0; done < ms; done += 100) {
            std::vector<float> frames(kRate / 10 * 2);
            for (std::size_t i = 0; sound && i < frames.size(); ++i)
                frames[i] = 0.3f * float(std::sin(double(i / 2) * 2 * M_PI * 440 / kRate));
            meter.Add(frames.data(), kRate / 10, host.Now().toMSecsSinceEpoch());
            host.Advance(100);
        }
    }
    // The monitor's lines so far without their times: the alarm's, or the hand-overs'.
    QStringList Lines(bool transitions = false) const {
        QStringList events;
        for (const QString& line : lines)
            if (line.contains("\ttransition\t") == transitions) events << line.section(u'\t', 2);
        return events;
    }

    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    AirMeter meter{kRate};
    QStringList lines;
    AsRunLog log{[this](const QString& line) { lines << line; }};
};

TEST_F(AirWatchTest, DeadAirIsToldAfterItsSecondsThenEachStepAndTheSoundThatCameBack) {
    StationRooms::Air(station).EmergencyList = "rescue";
    const QDateTime silenceStart = host.Now();
    Air(4'900, false);
    EXPECT_EQ(Lines(), QStringList());  // not yet five seconds
    Air(200, false);
    ASSERT_EQ(Lines().size(), 2);
    EXPECT_EQ(Lines()[0], "silence\t" + silenceStart.toString("yyyy-MM-dd HH:mm:ss.zzz"));
    EXPECT_EQ(Lines()[1], "recovery\tnext");
    EXPECT_TRUE(station.Air().Alarmed());
    Air(5'000, false);
    Air(5'000, false);
    EXPECT_EQ(Lines().mid(2), QStringList({"recovery\trestart", "recovery\temergency\trescue"}));
    EXPECT_TRUE(station.Engine().Queue().At(0).contains("rescue - Track"))
        << station.Engine().Queue().At(0).toStdString();
    Air(1'000, true);
    ASSERT_EQ(Lines().size(), 5);
    EXPECT_EQ(Lines()[4], "sound\t15.1");  // 5.1 + 5 + 5 s
    EXPECT_FALSE(station.Air().Alarmed());
    // The emergency list plays round: after both its tracks, it is still what comes next.
    Air(125'000, true);
    EXPECT_GE(station.Engine().Played().Count(), 4);
    EXPECT_TRUE(station.Engine().Queue().At(0).endsWith("^rescue"))
        << station.Engine().Queue().At(0).toStdString();
}

TEST_F(AirWatchTest, TheOperatorsOwnSilenceIsNoAlarm) {
    const std::pair<const char*, const char*> silences[] = {{"key", "222"},   // pause
                                                            {"key", "220"}};  // line input
    for (const auto& [verb, argument] : silences) {
        ASSERT_TRUE(Run(verb, argument).ok()) << verb << argument;
        Air(12'000, false);
        EXPECT_EQ(Lines(), QStringList()) << verb << " " << argument;
        ASSERT_TRUE(Run(verb, argument).ok());
        Air(1'000, true);
    }
}

// A listener that hears nothing (its sound server gone) is told, and so is its return; the
// silence it could not hear is no alarm.
TEST_F(AirWatchTest, AMeterThatHearsNothingIsToldNotTakenForDeadAir) {
    host.Advance(10'000);
    EXPECT_EQ(Lines(), QStringList({"off\tnothing heard from the sound server for 3 s"}));
    Air(1'000, true);
    EXPECT_EQ(Lines().mid(1), QStringList({"on"}));
    EXPECT_FALSE(station.Air().Alarmed());
}

TEST_F(AirWatchTest, AHandOverIsMeasuredOnceTheAirAfterItWasHeard) {
    // The next track starts after a hole of 300 ms.
    Air(300, false);
    ASSERT_TRUE(Run("play-next", "1").ok());
    Air(2'000, true);
    const QStringList measured = Lines(true);
    ASSERT_EQ(measured.size(), 1) << Lines().join('\n').toStdString();
    const QStringList fields = measured[0].split(u'\t');
    EXPECT_EQ(fields[1], QString("track") + QChar(0x2192) + "track");
    EXPECT_EQ(fields[2], "-inf");
    EXPECT_NEAR(fields[3].toInt(), 300, 20);
}

}  // namespace
