#include "spots/spot_runner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <tuple>

#include "app/as_run_log.h"
#include "app/command_line.h"
#include "app/operator_actions.h"
#include "app/station.h"
#include "app/week_preview.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "spots/spot_timing.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/station_folder.h"
#include "support/station_rooms.h"

namespace {

const QDate kMonday(2026, 12, 7);

// A station on Monday with music from 10:00 and three spots of 20 s due at 10:15, logging
// as the week preview does: each line's time, event and file name without ".mp3".
struct SpotStation {
    struct Line {
        QTime when;
        QString event, name;
    };
    SpotStation(const QTime& start, bool manual, qint64 spotBytes = 320'000)
        : host({kMonday, start}),
          link(host, host),
          station(folder.StartFolder(), host, host, link) {
        folder.AddList("morning", {200, 190, 230, 185, 240, 205, 215, 195, 225, 210});
        folder.WriteDays({{1, "10:00", "11:00", "morning"}});
        MpegFileLayout spot;
        spot.audioBytes = spotBytes;
        for (const char* name : {"Spot A.mp3", "Spot B.mp3", "Spot C.mp3"}) {
            spots << folder.MusicPath() + name;
            EXPECT_TRUE(WriteMpegFile(spots.last(), spot));
        }
        folder.WriteSpots(1, 1, 10, spots);
        LogStationEvents(station, log, host);
        station.StartUp();
        station.SetManual(manual);
    }
    void RunTo(const QTime& t) { host.Advance(host.Now().time().msecsTo(t)); }
    // The lines of these events from 10:14:50 on, and their "event name" sequence.
    QList<Line> Of(const QStringList& events) const {
        QList<Line> found;
        for (const Line& l : lines)
            if (events.contains(l.event) && l.when >= QTime(10, 14, 50)) found << l;
        return found;
    }
    static std::string Sequence(const QList<Line>& found) {
        QStringList out;
        for (const Line& l : found) out << l.event + " " + l.name;
        return out.join(", ").toStdString();
    }

    StationFolder folder;
    VirtualTimerHost host;
    SimulatedPlayerLink link;
    Station station;
    QStringList spots;
    QList<Line> lines;
    AsRunLog log{[this](const QString& line) {
        const QStringList f = line.split('\t');
        lines << Line{QTime::fromString(f[0].mid(11), "HH:mm:ss.zzz"), f[2],
                      f.value(3).section('/', -1).section(".mp3", 0, 0)};
    }};
};

// The operator's command, as the window and the control socket send it.
void Command(Station& station, const char* verb, const QString& argument = {}) {
    EXPECT_TRUE(RunVerb(station, *FindOperatorVerb(verb), argument).ok()) << verb;
}

TEST(SpotRunnerTest, SpotsFollowEachOtherFromSecond55AndTheMusicFollowsTheLastAtOnce) {
    struct Case {
        int unchecked, missing, damaged;
        const char* sequence;
    };
    for (const Case& c :
         {Case{-1, -1, -1, "spot Spot A, spot Spot B, spot Spot C, queue morning - Track 2"},
          Case{1, -1, -1, "spot Spot A, spot-skipped Spot B, spot Spot C, queue morning - Track 2"},
          Case{-1, 0, -1, "problem Spot A, spot Spot B, spot Spot C, queue morning - Track 2"},
          Case{2, -1, -1, "spot Spot A, spot Spot B, spot-skipped Spot C, queue morning - Track 2"},
          Case{-1, 2, -1, "spot Spot A, spot Spot B, problem Spot C, queue morning - Track 2"},
          Case{-1, -1, 1, "spot Spot A, problem Spot B, spot Spot C, queue morning - Track 2"}}) {
        SpotStation s({10, 14}, false);
        if (c.missing >= 0) QFile::remove(s.spots[c.missing]);
        if (c.damaged >= 0) WriteBytes(s.spots[c.damaged], "not audio");
        s.RunTo({10, 14, 54});
        if (c.unchecked >= 0) Command(s.station, "uncheck-spot", QString::number(c.unchecked + 1));
        s.RunTo({10, 16, 30});
        const QList<SpotStation::Line> run = s.Of({"spot", "spot-skipped", "problem", "queue"});
        ASSERT_EQ(SpotStation::Sequence(run), c.sequence);
        // At the first tick from where the week's check foresees it.
        const QTime due = spot_timing::RunDueAt(QDateTime(kMonday, {10, 15})).time();
        EXPECT_GE(run[0].when, due);
        EXPECT_LT(run[0].when, due.addMSecs(400));
        // Each start comes as the item before it ends (or is passed), not a tick later.
        QTime free = run[0].when;
        for (const SpotStation::Line& l : run) {
            EXPECT_EQ(free.msecsTo(l.when), 0) << l.name.toStdString();
            free = l.event == "spot" ? l.when.addSecs(20) : l.when;
        }
    }
}

TEST(SpotRunnerTest, ManualModeWarnsAndPlaysOnlyAcceptedSpots) {
    using Case = std::tuple<bool, bool, const char*>;  // checked, accepted, what follows
    for (const auto& [checked, accepted, sequence] :
         {Case{true, false, "spots-cancelled 3"},
          Case{true, true, "spot Spot A, spot Spot B, spot Spot C"}, Case{false, false, ""}}) {
        SpotStation s({10, 13, 50}, true);
        EXPECT_EQ(s.station.NextSpots().NextSpotTitles().size(), 3);  // before the first tick
        s.RunTo({10, 14, 1});
        for (int i = 1; i <= 3; ++i)
            Command(s.station, checked ? "check-spot" : "uncheck-spot", QString::number(i));
        EXPECT_FALSE(s.station.Spots().PanelManualSpotsWarning());
        s.RunTo({10, 14, 2, 100});
        EXPECT_EQ(s.station.Spots().PanelManualSpotsWarning(), checked);
        EXPECT_EQ(s.station.Spots().WarningSecondsLeft(), 58);  // to let the spots play
        const std::uint32_t colour = s.station.Spots().WarningColour();
        s.RunTo({10, 14, 2, 500});
        EXPECT_EQ(s.station.Spots().WarningColour() != colour, checked);
        if (accepted) Command(s.station, "accept-spots");
        s.RunTo({10, 16, 30});
        EXPECT_EQ(SpotStation::Sequence(s.Of({"spot", "spots-cancelled", "queue"})), sequence);
        EXPECT_FALSE(s.station.Spots().PanelManualSpotsWarning());
        // After the run the station waits for the operator.
        StationRooms::Engine(s.station).Next();
        s.RunTo({10, 16, 31});
        EXPECT_EQ(s.Of({"queue"}).size(), 1);
    }
}

TEST(SpotRunnerTest, OnlyTheExactModePlaysAndLargeFilesTakeTheTrackCrossfade) {
    using Case = std::tuple<int, qint64, int>;  // mode, spot bytes, fade step (0: no spot)
    for (const auto& [mode, bytes, step] :
         {Case{1, 800'000, 20}, Case{1, 800'001, 5}, Case{7, 800'000, 20}, Case{2, 800'000, 0},
          Case{3, 800'000, 0}, Case{4, 800'000, 0}}) {
        SpotStation s({10, 14, 30}, false, bytes);
        StationRooms::Spots(s.station).SetHowToPlaySpots(SpotMode(mode));
        s.RunTo({10, 14, 56});
        EXPECT_EQ(s.Of({"spot"}).size(), step ? 1 : 0) << mode;
        if (!step) continue;
        const VolumeBars& bars = s.station.Engine().Bars();
        EXPECT_EQ(bars.PageSize(), step);
        EXPECT_EQ(bars.FadeInterval(), step == 5 ? bars.MixingInterval() : 20);
        EXPECT_EQ(s.station.Engine().Panel().TrackName(), "SPOT: Spot A.mp3");
    }
}

// Makes the bank of the jingle tab shown: `count` stings of 5 s (-1: no list at all).
void MakeJingleBank(SpotStation& s, int count) {
    QStringList stings;
    for (int i = 1; i <= count; ++i) {
        stings << s.folder.MusicPath() + QStringLiteral("Sting %1.mp3").arg(i);
        EXPECT_TRUE(WriteCbrMpeg(stings.last(), 5));
    }
    if (count >= 0) s.folder.WriteList("J0", stings);
    ASSERT_TRUE(StationRooms::Jingles(s.station).SelectTab(0).ok());
    StationRooms::Spots(s.station).SetPlayOnlyOneSpot(true);
}

// Queue starts as "q", spots by their names.
std::string Items(const QList<SpotStation::Line>& lines, int count) {
    QStringList out;
    for (const SpotStation::Line& l : lines.mid(0, count))
        out << (l.event == "queue" ? QStringLiteral("q") : l.name);
    return out.join(' ').toStdString();
}

TEST(SpotRunnerTest, EverySongsSpotTakesTheBanksFirstJinglesInTurn) {
    struct Case {
        int every, bank, items;
        const char* sequence;
    };
    for (const Case& c : {
             Case{5, 4, 11, "q q q q q q Sting 1 q q q q"},
             Case{0, 4, 10, "q Sting 1 q Sting 2 q Sting 3 q Sting 4 q Sting 1"},
             Case{0, 6, 10, "q Sting 1 q Sting 2 q Sting 3 q Sting 4 q Sting 1"},
             Case{0, 2, 8, "q Sting 1 q Sting 2 q Sting 1 q Sting 2"},
             Case{0, 0, 4, "q q q q"},
             Case{0, -1, 4, "q q q q"},
         }) {
        SpotStation s({10, 16}, false);
        MakeJingleBank(s, c.bank);
        StationRooms::Spots(s.station).SetPlaySpotEvery(c.every);
        s.RunTo({10, 59});
        EXPECT_EQ(Items(s.Of({"spot", "queue"}), c.items), c.sequence) << c.every << c.bank;
    }
    // With no music programmed, the ticks that find nothing to start are no songs.
    SpotStation silent({11, 5}, false);
    MakeJingleBank(silent, 4);
    StationRooms::Spots(silent.station).SetPlaySpotEvery(0);
    silent.RunTo({11, 10});
    EXPECT_EQ(Items(silent.Of({"spot", "queue"}), 5), "");
}

TEST(SpotRunnerTest, EverySongsSpotDueDuringARunFollowsTheRun) {
    SpotStation s({10, 14}, false);
    MakeJingleBank(s, 4);
    s.RunTo({10, 14, 56});
    ASSERT_TRUE(s.station.Spots().SpotRunActive());
    StationRooms::Spots(s.station).TracksSinceEverySpot = 6;
    s.RunTo({10, 17});
    EXPECT_EQ(Items(s.Of({"spot", "queue"}), 5), "Spot A Spot B Spot C Sting 1 q");
}

// Actions a minute apart from 10:01 ("!": refused): "accept-spots" holds only in manual mode.
TEST(SpotRunnerTest, AnAcceptanceHoldsOnlyInTheManualModeItWasGivenIn) {
    const QString aired = "spot Spot A, spot Spot B, spot Spot C", cancelled = "spots-cancelled 3";
    for (const auto& [actions, sequence] :
         {std::pair{"accept-spots! manual:on", cancelled},
          {"manual:on accept-spots", aired},
          {"manual:on accept-spots manual:off manual:on", cancelled}}) {
        SpotStation s({10, 0, 30}, false);
        for (const QString& act : QString(actions).split(' ')) {
            s.RunTo(s.host.Now().time().addSecs(60));
            const OperatorAction action{s.host.Now(),
                                        FindOperatorVerb(act.section(':', 0, 0).remove('!')),
                                        act.section(':', 1)};
            EXPECT_EQ(ApplyOperatorAction(s.station, action, s.log, s.host).isEmpty(),
                      !act.endsWith('!'));
        }
        s.RunTo({10, 16, 30});
        EXPECT_EQ(SpotStation::Sequence(s.Of({"spot", "spots-cancelled"})), sequence.toStdString());
    }
}

// From an hour before the quarter, for `hours`: each weekday that holds spots there airs its
// own on every date of the span (a run starts 5 s before its quarter).
TEST(SpotRunnerTest, AQuarterRunsOnEveryDateThatHoldsSpots) {
    const QSet<int> week{0, 1, 2, 3, 4, 5, 6};
    for (const auto& [weekdays, time, hours] : {std::tuple{week, QTime(10, 15), 72},
                                                {QSet{1}, QTime(10, 15), 7 * 24 + 2},
                                                {week, QTime(0, 0), 25},
                                                {QSet{1, 2}, QTime(10, 15), 25}}) {
        StationFolder folder;
        const auto spot = [&](int day) {
            return folder.MusicPath() + QString("Spot %1.mp3").arg(day);
        };
        for (int day : weekdays) {
            ASSERT_TRUE(WriteCbrMpeg(spot(day), 20));
            folder.WriteSpots(day, time.minute() / 15, time.hour(), {spot(day)});
        }
        const QDateTime first(kMonday, time), start = first.addSecs(-3600);
        QStringList aired, expected;
        RunWeekPreview(ParseCommandLine({"--simulate", start.toString("yyyy-MM-dd HH:mm:ss"),
                                         "--for", QString("%1h").arg(hours)}),
                       folder.StartFolder(), nullptr, [&](const QString& line) {
                           if (line.section('\t', 2, 2) == "spot")
                               aired << line.section('\t', 4) + ' ' +
                                            line.section('\t', 3, 3).section('/', -1);
                       });
        for (QDateTime slot = first; slot.addSecs(-5) < start.addSecs(3600 * hours);
             slot = slot.addDays(1))
            if (weekdays.contains(slot.date().dayOfWeek() % 7))
                expected << slot.toString("yyyy-MM-dd HH:mm #1 ") +
                                spot(slot.date().dayOfWeek() % 7).section('/', -1);
        EXPECT_EQ(aired.join(", ").toStdString(), expected.join(", ").toStdString());
    }
}

}  // namespace
