#include "playback/main_loop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "playback/scrolling_text.h"
#include "support/engine_rig.h"

namespace {

// Loads and jumps as the decks saw them.
struct DeckLog {
    explicit DeckLog(EngineRig& rig) {
        rig.link.OnEvent = [this, &rig](int deck, const QString& event, const QString& detail) {
            if (event == "load") loads.push_back({rig.host.ElapsedMs(), deck, detail});
            if (event == "jump") jumps.push_back({rig.host.ElapsedMs(), deck, detail});
        };
    }
    struct Event {
        std::int64_t atMs;
        int deck;
        QString detail;
    };
    std::vector<Event> loads;
    std::vector<Event> jumps;
};

QStringList Tracks(EngineRig& rig, const QList<int>& seconds) {
    QStringList paths;
    for (int i = 0; i < seconds.size(); ++i)
        paths << rig.Track(QString("Artist - Title %1.mp3").arg(i + 1), seconds[i]);
    return paths;
}

TEST(MainLoop, ThreeTracksInOrderThenFillersAndNothingMore) {
    EngineRig rig;
    DeckLog log(rig);
    const QStringList paths = Tracks(rig, {60, 45, 50});
    rig.LoadProgram("Three", paths);
    rig.StartLoop();
    rig.Advance(10 * 60 * 1000);

    ASSERT_EQ(log.loads.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(log.loads[i].detail, paths[i]);
    EXPECT_EQ(rig.engine.Queue().TracksToPlay, 0);
    EXPECT_EQ(rig.engine.Queue().Entries(), QStringList(5, QString()));
    EXPECT_EQ(rig.engine.Played().Paths(), paths);
    EXPECT_EQ(rig.engine.TrackName(), "Artist - Title 3");
    EXPECT_EQ(rig.link.PlayState(rig.Current()), PlayerLink::kStopped);
}

TEST(MainLoop, ATrackStartIsAnnouncedBeforeItsHandOverAndItsTitleSwings) {
    EngineRig rig;
    const QStringList paths = Tracks(rig, {60});
    rig.LoadProgram("Long", paths);
    rig.engine.Title().PanelWidth = 100;
    rig.engine.MeasureTitle = [](const QString& title) { return int(title.size()) * 8; };
    QStringList announced;
    rig.engine.OnEntryStarted = [&](const QString& entry) {
        announced << entry;
        EXPECT_TRUE(rig.link.File(rig.Current()).isEmpty());
    };
    rig.StartLoop();
    rig.Advance(400);
    EXPECT_EQ(announced, QStringList{paths[0] + "^Long"});
    ASSERT_TRUE(rig.engine.Title().Running);
    rig.Advance(4 * 400);
    EXPECT_EQ(rig.engine.Title().LabelLeft, 0);
}

TEST(MainLoop, LoadsTheProgramOncePerNewSlotAndAfterCalendarEdits) {
    const struct {
        QTime start;
        int lastSlot;
        int expectedSlot;
    } cases[] = {{QTime(23, 59, 50), 47, 0}, {QTime(2, 59, 50), 5, 6}, {QTime(10, 29, 50), 20, 21}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.toString().toStdString());
        EngineRig rig(QDateTime(QDate(2026, 12, 7), c.start));
        rig.engine.WaitSecInBeggining = 1;
        rig.engine.Loop().LastProgramSlot = c.lastSlot;
        std::vector<std::pair<int, int>> calls;
        rig.engine.LoadProgramOfHour = [&](int h, int m) { calls.emplace_back(h, m); };
        rig.StartLoop();
        rig.Advance(8'000);
        EXPECT_TRUE(calls.empty());
        rig.Advance(1'400);  // past the half hour
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(SlotOfTime(calls[0].first, calls[0].second), c.expectedSlot);
        EXPECT_EQ(rig.engine.Loop().LastProgramSlot, c.expectedSlot);
        rig.Advance(10 * 60 * 1000);
        EXPECT_EQ(calls.size(), 1u);
        rig.engine.Loop().ProgramsChanged = true;
        rig.Advance(400);
        EXPECT_EQ(calls.size(), 2u);
        EXPECT_FALSE(rig.engine.Loop().ProgramsChanged);
    }
}

TEST(MainLoop, AFailingProgramLoadDoesNotStopTheLoop) {
    EngineRig rig;
    rig.engine.Loop().ProgramsChanged = true;
    rig.engine.LoadProgramOfHour = [](int, int) {
        throw std::runtime_error("unreadable day file");
    };
    rig.StartLoop();
    EXPECT_THROW(rig.Advance(400), std::runtime_error);
    EXPECT_TRUE(rig.engine.MainLoopRunning());
}

TEST(MainLoop, SkipIntroJumpsOnTheFirstTickAfterATrackButNeverAfterASpot) {
    EngineRig rig;
    DeckLog log(rig);
    rig.engine.SkipIntro = true;
    rig.engine.SkipIntroSec = 5;
    rig.LoadProgram("L", Tracks(rig, {120, 120}));
    rig.StartLoop();
    rig.Advance(400);
    ASSERT_EQ(log.loads.size(), 1u);
    rig.Advance(400);
    ASSERT_EQ(log.jumps.size(), 1u);
    EXPECT_EQ(log.jumps[0].deck, log.loads[0].deck);
    EXPECT_EQ(log.jumps[0].detail, "5000");
    EXPECT_EQ(log.jumps[0].atMs, log.loads[0].atMs + 400);

    // A spot settles for five ticks and plays from its start.
    const QString spot = rig.Track("Spot.mp3", 30);
    rig.engine.Bars().StartCrossfade(5, 0);
    rig.engine.Players().LoadFileIntoDeck(rig.Current(), spot);
    rig.engine.Loop().SettleTicks = 5;
    rig.Advance(4'000);
    EXPECT_EQ(log.jumps.size(), 1u);
}

TEST(MainLoop, PauseHoldsEveryStartUntilResumed) {
    EngineRig rig;
    DeckLog log(rig);
    rig.LoadProgram("L", Tracks(rig, {60, 60, 60}));
    rig.StartLoop();
    rig.Advance(30'000);
    rig.engine.Pause();
    EXPECT_EQ(rig.engine.Controls().LabelPausePlay1, "||");
    EXPECT_TRUE(rig.engine.Controls().PauseDown);
    rig.engine.Next();
    rig.Advance(120'000);
    EXPECT_EQ(log.loads.size(), 1u);
    EXPECT_EQ(rig.engine.Controls().LabelPausePlay1, "||");

    rig.engine.Pause();
    EXPECT_EQ(rig.engine.Controls().LabelPausePlay1, "|>");
    EXPECT_FALSE(rig.engine.Controls().PauseDown);
    rig.Advance(400);
    EXPECT_EQ(log.loads.size(), 2u);
}

TEST(MainLoop, ManualModeLeavesSilenceAfterTheTrackEnds) {
    EngineRig rig;
    DeckLog log(rig);
    rig.LoadProgram("L", Tracks(rig, {40, 40, 40}));
    rig.StartLoop();
    rig.Advance(400);
    rig.engine.SetManual(true);
    EXPECT_EQ(rig.engine.Controls().ManualCaption, "Manual");
    rig.Advance(5 * 60 * 1000);
    EXPECT_EQ(log.loads.size(), 1u);
    EXPECT_FALSE(rig.link.Audible(0) || rig.link.Audible(1));

    rig.engine.Next();  // the operator acts
    rig.Advance(400);
    EXPECT_EQ(log.loads.size(), 2u);
}

TEST(MainLoop, NextNeedsARealTrackBehindTheHead) {
    EngineRig rig;
    DeckLog log(rig);
    rig.LoadProgram("L", Tracks(rig, {200, 200}));
    rig.StartLoop();
    rig.Advance(400);  // first track on air; the queue is now: track 2, fillers
    ASSERT_EQ(rig.engine.Queue().At(1), "");
    rig.engine.Next();
    EXPECT_FALSE(rig.engine.Loop().NextTrackNow);
    rig.Advance(60'000);
    EXPECT_EQ(log.loads.size(), 1u);

    rig.engine.Queue().InsertAt(1, rig.Track("Extra.mp3", 100));
    rig.engine.Next();
    rig.Advance(400);
    EXPECT_EQ(log.loads.size(), 2u);
    EXPECT_FALSE(rig.engine.Loop().NextTrackNow);
}

TEST(MainLoop, ShowsTheClockTimesAndKnobOfTheCurrentTrack) {
    EngineRig rig;
    PositionKnob& knob = rig.engine.Knob();
    knob.BarLeft = 10;
    knob.BarWidth = 400;
    knob.KnobWidth = 20;
    rig.LoadProgram("L", Tracks(rig, {200}));
    rig.StartLoop();
    rig.Advance(400 + 50'000);
    const LoopDisplay& d = rig.engine.Display();
    EXPECT_EQ(d.LabelTime1, "10:05:56");
    EXPECT_EQ(d.LabelLenghtOfTrack, "03:20");
    EXPECT_EQ(d.LabelPlayTime, "00:50");
    EXPECT_EQ(d.LabelRemainingTime, "-02:30");
    EXPECT_EQ(knob.KnobLeft, 10 + 400 * 50 / 200 - 10);
    EXPECT_EQ(knob.TrackLength, 200);
}

TEST(MainLoop, PlayingFromThePlayedListAppendsItAgain) {
    EngineRig rig;
    const QStringList paths = Tracks(rig, {200});
    rig.LoadProgram("L", paths);
    rig.StartLoop();
    rig.Advance(400);
    rig.engine.PlayPlayedRow(0);
    const PlayedList& played = rig.engine.Played();
    EXPECT_EQ(played.Paths(), QStringList({paths[0], paths[0]}));
    EXPECT_EQ(played.Titles()[1], "Artist - Title 1.mp3");
    EXPECT_EQ(played.LabelPlayedTracks, 2);
    EXPECT_EQ(played.TopRow, 1);
    EXPECT_EQ(rig.link.File(rig.Current()), paths[0]);
    EXPECT_EQ(rig.engine.Queue().TracksToPlay, 0);  // never below zero
    rig.engine.PlayPlayedRow(5);                    // no such row
    EXPECT_EQ(played.Count(), 2);
}

TEST(MainLoop, DoubleClickOnANextTrackLabelPlaysThatEntry) {
    EngineRig rig;
    const QStringList paths = Tracks(rig, {200, 200, 200});
    rig.LoadProgram("L", paths);
    rig.StartLoop();
    rig.engine.PlayMarked();  // nothing marked: nothing happens
    EXPECT_EQ(rig.engine.Played().Count(), 0);
    rig.engine.DoubleClickNextTrackLabel(3);
    EXPECT_EQ(rig.link.File(rig.Current()), paths[2]);
    EXPECT_EQ(rig.engine.Queue().At(0), paths[0] + "^L");
    EXPECT_EQ(rig.engine.Queue().At(1), paths[1] + "^L");
    EXPECT_EQ(rig.engine.Queue().Count(), 5);
}

TEST(MainLoop, ADeckThatNeverAnswersLeavesTheLoopStopped) {
    EngineRig rig;
    rig.link.SetAnswering(0, false);
    rig.LoadProgram("L", Tracks(rig, {60}));
    rig.StartLoop();
    rig.Advance(10 * 60 * 1000);
    EXPECT_FALSE(rig.engine.MainLoopRunning());
    EXPECT_TRUE(rig.engine.Players().SecondPlayerFound);
    EXPECT_EQ(rig.engine.Played().Count(), 0);
}

TEST(MainLoop, ADeadDeckReadsStoppedAndTheLoopGoesOn) {
    EngineRig rig;
    rig.LoadProgram("L", Tracks(rig, {60, 60, 60}));
    rig.StartLoop();
    rig.Advance(4'000);
    const int onAir = rig.Current();
    rig.link.Kill(onAir);
    Decks& decks = rig.engine.Players();
    EXPECT_EQ(decks.PlayState(onAir), 0);
    EXPECT_EQ(decks.PositionMs(onAir), 0);
    EXPECT_EQ(decks.LengthSec(onAir), 0);
    rig.Advance(800);  // the next track starts on the deck that still answers
    EXPECT_EQ(rig.engine.Played().Count(), 2);
    EXPECT_TRUE(rig.link.Audible(1 - onAir));
    EXPECT_TRUE(rig.engine.MainLoopRunning());
}

TEST(ScrollingText, TitleSwingsOnlyWhenWiderThanItsPanel) {
    TitleScroll t;
    t.PanelWidth = 300;
    t.LabelWidth = 289;  // narrower than the panel minus 10: stands still
    t.Restart();
    EXPECT_FALSE(t.Running);
    EXPECT_EQ(t.LabelLeft, 20);

    t.LabelWidth = 400;
    t.Restart();
    ASSERT_TRUE(t.Running);
    std::vector<int> lefts;
    for (int i = 0; i < 100; ++i) {
        t.Tick();
        lefts.push_back(t.LabelLeft);
    }
    const int leftmost = *std::min_element(lefts.begin(), lefts.end());
    const int rightmost = *std::max_element(lefts.begin(), lefts.end());
    EXPECT_EQ(leftmost, -135);  // right end 30 pixels inside: 300 - 30 - 400, one step further
    EXPECT_EQ(rightmost, 35);   // left edge just past 30
}

TEST(ScrollingText, MarqueeReentersAtTheRightUnlessHeld) {
    Marquee m{5, 20, 200, false};
    m.Step();
    m.Step();
    EXPECT_EQ(m.LabelLeft, -15);  // its right part still shows
    m.Step();
    EXPECT_EQ(m.LabelLeft, 200);
    m.Held = true;
    m.Step();
    EXPECT_EQ(m.LabelLeft, 200);
}

}  // namespace
