// The main loop on the virtual clock, and the queue it draws from.
#include "playback/main_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "playback/levelling.h"
#include "playback/play_queue.h"
#include "playback/scrolling_text.h"
#include "support/analysis_map.h"
#include "support/engine_rig.h"
#include "support/fake_track_lengths.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/run_events.h"
#include "support/watchdog.h"

namespace {

// Logs each time it is asked; takes the tick while `takes` is set.
struct LoggingPart : TickPart {
    LoggingPart(QStringList& into, const QString& as) : log(into), name(as) {}
    bool TakesTick(const TickMoment&) override {
        log << name;
        return takes;
    }
    QStringList& log;
    QString name;
    bool takes = false;
};

TEST(MainLoop, AsksTheAddedPartsInOrderThenTheNextTrackUntilOneTakesTheTick) {
    EngineRig rig;
    rig.LoadProgram("One", rig.Tracks({60}));
    QStringList asked;
    LoggingPart program(asked, "program"), spots(asked, "spots"), taker(asked, "taker");
    rig.engine.AddTickPart(program);
    rig.engine.AddTickPart(spots);
    rig.engine.AddTickPart(taker);
    QObject::connect(&rig.engine, &PlaybackEngine::EntryStarted, [&] { asked << "next"; });
    taker.takes = true;
    rig.StartLoop();
    rig.Advance(400);
    EXPECT_EQ(asked, QStringList({"program", "spots", "taker"}));
    asked.clear();
    taker.takes = false;
    rig.Advance(400);
    EXPECT_EQ(asked, QStringList({"program", "spots", "taker", "next"}));
}

TEST(MainLoop, ThreeTracksInOrderThenFillersAndAReplayFromThePlayedList) {
    EngineRig rig;
    const QStringList paths = rig.Tracks({60, 45, 50});
    rig.LoadProgram("Three", paths);
    rig.StartLoop();
    rig.Advance(10 * 60 * 1000);
    EXPECT_EQ(rig.engine.Played().Paths(), paths);
    EXPECT_EQ(rig.engine.Queue().TracksToPlay(), 0);
    EXPECT_EQ(rig.engine.Queue().Entries(), QStringList(5, QString()));
    rig.engine.PlayPlayedRow(0);
    EXPECT_EQ(rig.engine.Played().Paths().last(), paths[0]);
    EXPECT_EQ(rig.engine.Queue().TracksToPlay(), 0);  // never below zero
}

TEST(MainLoop, SkipIntroJumpsOnTheFirstTickAfterATrackButNeverAfterASpot) {
    EngineRig rig;
    rig.engine.SkipIntro = true;
    rig.LoadProgram("L", rig.Tracks({120, 120}));
    rig.StartLoop();
    rig.Advance(800);
    rig.engine.Players().LoadFileIntoDeck(rig.engine.Players().NextDeck, rig.Tracks({30})[0]);
    rig.engine.BarsForTickParts().StartCrossfade(5, 0);  // a spot: five settling ticks
    rig.engine.LoopForTickParts().SettleTicks = 5;
    rig.Advance(4'000);
    const auto jumps = rig.Events("jump");
    ASSERT_EQ(jumps.size(), 1u);
    EXPECT_EQ(jumps[0].detail, "5000");
    EXPECT_EQ(jumps[0].atMs, rig.Events("load")[0].atMs + 400);
}

TEST(MainLoop, PauseAndManualModeHoldEveryStartUntilTheOperatorActs) {
    EngineRig rig;
    rig.LoadProgram("L", rig.Tracks({100, 100, 100}));
    rig.StartLoop();
    rig.Advance(30'000);
    rig.engine.Pause();
    rig.engine.Next();
    rig.Advance(120'000);
    EXPECT_EQ(rig.engine.Controls().LabelPausePlay1, "||");
    EXPECT_TRUE(rig.engine.Controls().PauseDown);
    EXPECT_EQ(rig.Events("load").size(), 1u);
    rig.engine.SetManual(true);
    rig.engine.Pause();
    EXPECT_EQ(rig.engine.Controls().LabelPausePlay1, "|>");
    rig.Advance(400);  // Next still stands
    rig.Advance(5 * 60 * 1000);
    EXPECT_EQ(rig.Events("load").size(), 2u);
    EXPECT_FALSE(rig.link.Audible(0) || rig.link.Audible(1));
}

// The clock runs from the launch on, before the first tick; a deck that plays nothing shows
// no time, never a negative one (here before a start, and after a track in manual mode).
TEST(MainLoop, TheClockRunsFromTheLaunchAndADeckThatPlaysNothingShowsNoTime) {
    EngineRig rig;
    rig.LoadProgram("L", rig.Tracks({60, 60}));
    rig.engine.SetManual(true);
    rig.engine.Next();  // the first tick starts the head, then nothing follows
    rig.engine.LaunchPlayers();
    const LoopDisplay& d = rig.engine.Panel().Display();
    for (const auto& [ms, shown] :
         {std::pair{3'000, "10:05:03 "}, {3'400, "10:05:06 -00:00"}, {70'000, "10:06:16 -00:00"}}) {
        rig.Advance(ms);
        EXPECT_EQ(d.LabelTime1 + " " + d.LabelRemainingTime, shown);
    }
}

TEST(MainLoop, NextNeedsARealTrackBehindTheHead) {
    EngineRig rig;
    rig.LoadProgram("L", rig.Tracks({200, 200}));
    rig.StartLoop();
    rig.Advance(400);  // the queue is now: track 2, fillers
    rig.engine.Next();
    rig.Advance(60'000);
    EXPECT_EQ(rig.Events("load").size(), 1u);
    rig.engine.QueueForLoader().InsertAt(1, rig.Tracks({100})[0]);
    rig.engine.Next();
    rig.Advance(400);
    EXPECT_EQ(rig.Events("load").size(), 2u);
}

// Fillers of a list run dry ahead of a track cost no silence: the track starts when it
// would have with nothing ahead of it.
TEST(MainLoop, FillersAheadOfATrackArePassedOverAtOnce) {
    std::vector<std::int64_t> startsMs;
    for (const int fillersAhead : {0, 3}) {
        EngineRig rig;
        rig.LoadProgram("L", rig.Tracks({30}));
        rig.StartLoop();
        rig.Advance(400);  // the queue is now: fillers only
        rig.engine.QueueForLoader().InsertAt(fillersAhead, rig.Tracks({100})[0]);
        rig.Advance(60'000);
        const auto loads = rig.Events("load");
        ASSERT_EQ(loads.size(), 2u) << fillersAhead << " fillers ahead";
        startsMs.push_back(loads[1].atMs - loads[0].atMs);
    }
    EXPECT_EQ(startsMs[1], startsMs[0]);
}

// A file the deck cannot play is passed over as the deck tells it, not after the ticks a
// start is given to settle; one readied on the idle deck is passed over before its turn.
TEST(MainLoop, AFileTheDeckCannotPlayIsPassedOverAsTheDeckTellsIt) {
    EngineRig rig;
    const QString junk = rig.dir.filePath("Junk - Noise.mp3");
    WriteBytes(junk, "not audio");
    const QStringList tracks = rig.Tracks({20, 60});
    rig.LoadProgram("L", {junk, tracks[0], junk, tracks[1]});
    QStringList problems;
    QObject::connect(&rig.engine, &PlaybackEngine::Problem,
                     [&](const QString& message) { problems << message; });
    rig.StartLoop();
    rig.Advance(30'000);
    const auto loads = rig.Events("load");
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[0].detail + loads[1].detail + loads[2].detail, junk + tracks[0] + tracks[1]);
    EXPECT_LE(loads[1].atMs - loads[0].atMs, 1);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(junk));
}

TEST(MainLoop, LateOrDeadDecksStopNothingAndSettlingWaitsOnlyForADeckThatIsThere) {
    EngineRig late;
    late.link.SetAnswering(0, false);
    late.LoadProgram("L", late.Tracks({60}));
    late.StartLoop();
    late.Advance(60'000);
    EXPECT_FALSE(late.engine.MainLoopRunning());
    EXPECT_TRUE(late.events.empty());
    late.link.SetAnswering(0, true);  // the player came up after the start-up wait
    late.Advance(1'000 + 800);
    EXPECT_TRUE(late.engine.MainLoopRunning());
    EXPECT_TRUE(late.link.Audible(late.engine.Players().CurrentDeck));
    EngineRig eager;
    eager.engine.WaitSecInBeggining = 0;  // waits a second rather than never starting
    eager.LoadProgram("L", eager.Tracks({60}));
    eager.StartLoop();
    eager.Advance(1'000 + 400);
    EXPECT_TRUE(eager.link.Audible(eager.engine.Players().CurrentDeck));
    EngineRig dead;
    dead.LoadProgram("L", dead.Tracks({60, 60}));
    dead.StartLoop();
    dead.Advance(4'000);
    dead.link.Kill(dead.Current());
    Decks& decks = dead.engine.Players();
    const int deck = decks.CurrentDeck;
    EXPECT_EQ(decks.PlayState(deck) + decks.PositionMs(deck) + decks.LengthSec(deck), 0);
    dead.Advance(800);  // the next track starts on the deck that answers
    EXPECT_TRUE(dead.link.Audible(decks.CurrentDeck));
    // After a start the tick waits for a deck not playing its file yet, but not for one gone.
    for (const bool gone : {false, true}) {
        EngineRig rig;
        const QStringList tracks = rig.Tracks({60, 60});
        rig.LoadProgram("L", {gone ? tracks[0] : rig.dir.filePath("not there.mp3"), tracks[1]});
        rig.StartLoop();
        rig.Advance(800);  // 400 ms after the first start
        if (gone) rig.link.Kill(rig.Current());
        rig.Advance(gone ? 400 : 3'600);
        EXPECT_EQ(rig.Events("load").size(), gone ? 2u : 1u) << gone;
    }
}

// Two hours of station time in automatic mode, watched through what the decks received.
TEST(AutomaticProgram, TwoHoursOfOneListHandOverEarlyAlternateAndNeverFallSilent) {
    EngineRig rig;
    const QList<int> seconds{210, 95, 300, 150, 245, 180, 330, 125, 270, 200, 160, 240};
    const QStringList lines = rig.Tracks(seconds);
    rig.LoadProgram("Hits", lines);
    // Ticks, fade steps and track ends all fall on whole 100 ms here, so a look halfway
    // between them sees every state the decks pass through.
    rig.StartLoop();
    rig.Advance(50);
    std::vector<std::int64_t> silentAt;
    while (rig.host.ElapsedMs() < 2 * 60 * 60 * 1000) {
        if (!rig.link.Audible(0) && !rig.link.Audible(1)) silentAt.push_back(rig.host.ElapsedMs());
        rig.Advance(100);
    }
    const auto loads = rig.Events("load");
    ASSERT_EQ(qsizetype(loads.size()), lines.size());
    const std::int64_t lastEnd = loads.back().atMs + 1000LL * seconds.back();
    for (std::int64_t t : silentAt) EXPECT_TRUE(t < loads[0].atMs || t > lastEnd) << t;
    const auto volumes = rig.Events("volume");
    const auto stops = rig.Events("stop");
    for (std::size_t i = 0; i < loads.size(); ++i) {
        SCOPED_TRACE(i);
        const std::int64_t at = loads[i].atMs;
        const int deck = loads[i].deck;
        EXPECT_EQ(loads[i].detail, lines[qsizetype(i)]);
        EXPECT_EQ(deck, i % 2 == 0 ? 1 : 0);
        // The new deck rises 35 .. 95 % a step per 100 ms (resends of a value aside); the
        // old one falls to 30 % and is stopped at that moment.
        std::vector<int> rise, expectedRise;
        for (int p = 35; p <= 95; p += 5) expectedRise.push_back(p * 255 / 100);
        std::pair<std::int64_t, int> lastFall{0, -1};
        for (const auto& v : volumes) {
            if (v.atMs <= at || v.atMs > at + 1300) continue;
            if (v.deck != deck)
                lastFall = {v.atMs, v.detail.toInt()};
            else if (rise.empty() || rise.back() != v.detail.toInt()) {
                rise.push_back(v.detail.toInt());
                EXPECT_EQ(v.atMs, at + 100 * std::int64_t(rise.size()));
            }
        }
        EXPECT_EQ(rise, expectedRise);
        if (i == 0) continue;
        // Handed over at the first tick with fewer than 20 s left: a 3:30 track at 3:11.
        const std::int64_t leftAtMs = seconds[qsizetype(i) - 1] * 1000 - (at - loads[i - 1].atMs);
        EXPECT_LE(leftAtMs, 19'000);
        EXPECT_GT(leftAtMs, 18'600);
        EXPECT_EQ(lastFall.second, 30 * 255 / 100);
        EXPECT_TRUE(std::any_of(stops.begin(), stops.end(), [&](const auto& s) {
            return s.atMs == lastFall.first && s.deck == 1 - deck;
        }));
    }
}

TEST(ScrollingText, TitleSwingsBetweenItsMarginsAndMarqueeComesBackAtTheRight) {
    TitleScroll t;
    t.LabelWidth = 400;
    t.PanelWidth = 300;
    t.Restart();
    std::vector<int> lefts;
    for (int i = 0; i < 100; ++i) lefts.push_back((t.Tick(), t.LabelLeft));
    EXPECT_EQ(*std::min_element(lefts.begin(), lefts.end()), -135);  // right end 30 inside
    EXPECT_EQ(*std::max_element(lefts.begin(), lefts.end()), 35);    // left edge past 30
    t.LabelWidth = 289;
    t.Restart();
    EXPECT_FALSE(t.Running);
    Marquee m;
    m.LabelLeft = -15;  // the last 5 of its 20 pixels show
    m.LabelWidth = 20;
    m.PanelWidth = 200;
    m.Step();
    EXPECT_EQ(m.LabelLeft, 200);
}

TEST(PlayQueue, NextTrackTextsSplitTheEntryAndAskTheLengths) {
    FakeTrackLengths lengths;
    lengths.Seconds["/music/Band - Tune.mp3"] = 185;
    PlayQueue q(&lengths);
    // (entry; artist, song, length and category as shown)
    const std::pair<QString, QStringList> cases[] = {
        {"/music/Band - Tune.mp3^Oldies", {"Band ", " Tune", "03:05", "Oldies"}},
        {"C:\\Music\\Band - Tune.mp3^Oldies", {"Band ", " Tune", "00:00", "Oldies"}},
        {"/music/Solo.mp3^Pop", {"", "Solo", "00:00", "Pop"}},
        {"/music/A-B-C.mp3", {"A", "B-C", "00:00", ""}},
        {"/music/X -.mp3^Rock", {"X ", "", "00:00", "Rock"}},  // a song of four characters or fewer
    };
    for (const auto& [entry, shown] : cases) q.Append(entry);
    q.ShowNextTracks();
    for (int i = 0; i < PlayQueue::kShownEntries; ++i)
        EXPECT_EQ(q.NextTrackTexts()[i], QString("Artist: %1\rsong :      %2\rlength :       %3"
                                                 "         Category:    %4")
                                             .arg(cases[i].second[0], cases[i].second[1],
                                                  cases[i].second[2], cases[i].second[3]));
}

QStringList Numbered(const QString& stem, int n) {
    QStringList lines;
    for (int i = 1; i <= n; ++i) lines << QString("/m/%1%2.mp3").arg(stem).arg(i);
    return lines;
}

TEST(PlayQueue, DrawsSeededAtRandomOrEachListInOrderAndInsertsAtTheMarkedLabelOrTheFirst) {
    auto draw = [](std::uint32_t seed, bool random) {
        PlayQueue r;
        r.Seed(seed);
        r.SetRandomPlay(random);
        r.SetProgram({"a", "b"}, {Numbered("a", 20), Numbered("b", 20)});
        for (int i = 0; i < 12; ++i) r.RefillQueue();
        return r.Entries();
    };
    const QStringList random = draw(42, true);
    EXPECT_EQ(random, draw(42, true));
    EXPECT_NE(random, draw(43, true));
    EXPECT_EQ(QSet<QString>(random.begin(), random.end()).size(), 12);
    // Random play off still mixes the lists, each in its own order.
    const QStringList fromA = draw(42, false).filter("^a");
    EXPECT_FALSE(fromA.isEmpty() || fromA.size() == 12);
    for (int i = 0; i < fromA.size(); ++i) EXPECT_EQ(fromA[i], Numbered("a", 20)[i] + "^a");
    PlayQueue q;
    for (const char* e : {"a", "b", "c", "d", "e"}) q.Append(e);
    q.InsertIntoQueue("new");
    EXPECT_EQ(q.MarkedSlot(), 1);
    q.MarkSlot(4);
    q.InsertIntoQueue("x");
    EXPECT_EQ(q.Entries(), QStringList({"new", "a", "b", "x", "c", "d", "e"}));
    EXPECT_EQ(q.TracksToPlay(), 2);
    // A start asked in list order draws each list's first track, Next after it or not.
    PlayQueue o;
    o.SetRandomPlay(true);
    o.SetProgram({"a"}, {Numbered("a", 20)});
    o.AskStartNow(true);
    o.AskStartNow(false);
    o.RefillQueue();
    EXPECT_EQ(o.At(0), Numbered("a", 20)[0] + "^a");
    o.DropStartNow();
    EXPECT_FALSE(o.StartNowAsked());
}

TEST(PlayQueue, NextTracksNeverWaitForAFileAndShowLengthsOnceRead) {
    // Lengths read in the background arrive through the event loop.
    static int argc = 1;
    static char name[] = "test_playback";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    QTemporaryDir dir;
    const QString fifo = dir.filePath("Band - Pipe.mp3"), good = dir.filePath("Band - Tune.mp3");
    ASSERT_TRUE(MakeFifo(fifo) && WriteCbrMpeg(good, 185));
    PlayQueue q;
    q.ReadLengthsInBackground();
    for (const QString& e : {fifo + "^Pop", good + "^Pop", QString()}) q.Append(e);
    ASSERT_TRUE(ReturnsWithin(
        20000, [&] { q.ShowNextTracks(); }, [&] { ReleaseFifoReader(fifo); }));
    const auto& texts = q.NextTrackTexts();
    const auto length = [&](int n) { return texts[n].section(u'\r', 2).mid(15, 5); };
    EXPECT_EQ(QStringList({length(0), length(1), length(2), texts[3]}).join('|').toStdString(),
              "--:--|--:--|00:00|");  // the filler has no file
    ASSERT_TRUE(
        RunEventsUntil([&] { return length(0) != "--:--" && length(1) != "--:--"; }, 20000));
    EXPECT_EQ(QStringList({length(0), length(1)}), QStringList({"00:00", "03:05"}));
    // A file rewritten with another length is read again; until then the old one shows.
    ASSERT_TRUE(WriteCbrMpeg(good, 61));
    q.ShowNextTracks();
    EXPECT_EQ(length(1), "03:05");
    EXPECT_TRUE(RunEventsUntil([&] { return length(1) == "01:01"; }, 20000));
}

}  // namespace

// Every sound to the target, its true peak kept under the ceiling; a file without sound,
// or not analysed, plays as it is.
TEST(Levelling, BringsASoundToTheTargetWithoutItsPeakPassingTheCeiling) {
    const struct {
        double lufs, peak;
        bool sound;
        double gain;
    } cases[] = {
        {-9, -0.5, true, -7},  // loud: lowered to -16
        {-27, -12, true, 11},  // quiet: raised to -16
        {-27, -4, true, 3},    // quiet but peaky: raised only to -1 dBTP
        {-10, 0.5, true, -6},  // clipped: lowered as any loud one
        {-HUGE_VAL, -HUGE_VAL, false, 0},
    };
    for (const auto& c : cases) {
        const SoundAnalysis a{.loudnessLufs = c.lufs, .truePeakDb = c.peak, .soundFound = c.sound};
        EXPECT_NEAR(Levelling::GainDb(a, -16), c.gain, 1e-9) << c.lufs << " LUFS";
    }
    Levelling levelling;
    EXPECT_EQ(levelling.GainDb(levelling.AnalysisOf("/music/Not analysed.mp3")), 0);
}

// Mixed by sound, a track hands over as much earlier as it has silence at its end, and the
// next one starts at its first sound; the week's check reckons the same.
TEST(SmartMixing, ATrackHandsOverByItsEndOfSoundAndTheNextStartsAtItsFirstSound) {
    std::vector<std::int64_t> handOverMs;
    for (const bool analysed : {false, true}) {
        EngineRig rig;
        const QStringList tracks = rig.Tracks({60, 60});
        AnalysisMap analyses;
        analyses.Keep(tracks[0],
                      {.startSec = 0, .endSec = 48.2, .lengthSec = 60, .soundFound = true});
        analyses.Keep(tracks[1],
                      {.startSec = 3.5, .endSec = 60, .lengthSec = 60, .soundFound = true});
        if (analysed) rig.engine.SetAnalyses(&analyses);
        rig.LoadProgram("L", tracks);
        rig.StartLoop();
        rig.Advance(60'000);
        const auto loads = rig.Events("load");
        ASSERT_GE(loads.size(), 2u);
        handOverMs.push_back(loads[1].atMs - loads[0].atMs);
        // The next track plays from its first sound.
        EXPECT_EQ(rig.link.PositionMs(loads[1].deck),
                  rig.host.ElapsedMs() - loads[1].atMs + (analysed ? 3'500 : 0));
        const std::optional<SoundAnalysis> sound = analyses.Find(tracks[0]);
        EXPECT_EQ(
            TrackOnAir(60, rig.engine.Bars().MixingSeconds(), 0, sound, analysed).nextStartsMs,
            handOverMs.back());
    }
    // Mix points at 41 s and, by the end of sound at 48.2 s, at 30 s: each at the first tick
    // from there (41.2 s and 30 s).
    EXPECT_EQ(handOverMs[0] - handOverMs[1], 11'200);
}
