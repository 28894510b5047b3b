// What the station hands its background analysis, in what order, and what the operator
// is told of a track's loudness.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <mutex>

#include "app/analysis_state.h"
#include "app/operator_actions.h"
#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "playback/levelling.h"
#include "player/simulated_player_link.h"
#include "support/analysis_map.h"
#include "support/run_events.h"
#include "support/station_folder.h"

namespace {

struct OrderingAnalyzer : SoundAnalyzer {
    ReadResult<SoundAnalysis> Analyze(const QString& path,
                                      const std::atomic<bool>*) const override {
        const std::lock_guard<std::mutex> hold(lock);
        analysed << QFileInfo(path).fileName();
        return {{}, {-9.04, -0.26, 0.5, 58.25, 60.0, true}};
    }
    mutable std::mutex lock;
    mutable QStringList analysed;
};

// The last position in the order of a file of that list, and the first.
std::pair<qsizetype, qsizetype> Span(const QStringList& order, const QString& list) {
    qsizetype first = order.size(), last = -1;
    for (qsizetype i = 0; i < order.size(); ++i)
        if (order[i].startsWith(list + " - ")) first = std::min(first, i), last = i;
    return {first, last};
}

TEST(AnalysisFeed, TheProgramOnAirThenTheComingOnesThenTheListsThenTheLibrary) {
    StationFolder folder;
    for (const char* list : {"now", "past", "later", "tomorrow", "other", "CD_old"})
        folder.AddList(list, {60, 60});
    folder.WriteDays({{1, "07:00", "08:00", "past"},
                      {1, "09:00", "10:00", "now"},
                      {1, "12:00", "13:00", "later"},
                      {2, "06:00", "07:00", "tomorrow"}});
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    ASSERT_EQ(station.StartUp(), QStringList());
    OrderingAnalyzer analyzer;
    AnalysisMap store;
    station.AnalyseInBackground(analyzer, store, 1);
    const auto settled = [&] {
        const AnalysisJob::Progress p = station.AnalysisProgress();
        return p.seen > 0 && p.done == p.seen;
    };
    // The files about to play, and once they are known, the walks.
    host.Advance(6'400);
    ASSERT_TRUE(RunEventsUntil(settled, 10'000));
    host.Advance(5'000);
    ASSERT_TRUE(RunEventsUntil(
        [&] {
            const AnalysisJob::Progress p = station.AnalysisProgress();
            return p.seen == 12 && p.done == 12;
        },
        10'000))
        << station.AnalysisProgress().done << " of " << station.AnalysisProgress().seen << ": "
        << analyzer.analysed.join(", ").toStdString();
    const QStringList order = analyzer.analysed;
    ASSERT_EQ(order.size(), 12) << order.join(", ").toStdString();
    QStringList turns{"now", "later", "tomorrow"};
    for (qsizetype i = 0; i + 1 < turns.size(); ++i)
        EXPECT_LT(Span(order, turns[i]).second, Span(order, turns[i + 1]).first)
            << turns[i].toStdString();
    for (const char* list : {"past", "other"}) {
        EXPECT_LT(Span(order, "tomorrow").second, Span(order, list).first) << list;
        EXPECT_LT(Span(order, list).second, Span(order, "CD_old").first) << list;
    }

    // The operator asks for a list's entry: its loudness and how it is played.
    const OperatorVerb* open = FindOperatorVerb("lists-open");
    ASSERT_TRUE(RunVerb(station, *open, "1").ok());  // the first list by name: "later"
    ASSERT_TRUE(RunEventsUntil([&] { return station.Lists().TotalTracks() == 2; }, 5000));
    ASSERT_TRUE(RunVerb(station, *FindOperatorVerb("lists-loudness"), "2").ok());
    const AnalysisState shown = AnalysisStateOf(station);
    EXPECT_TRUE(shown.shownPath.endsWith("later - Track 2.mp3")) << shown.shownPath.toStdString();
    EXPECT_EQ(shown.shownText.toStdString(),
              "-9.0 LUFS, true peak -0.3 dBTP; sound from 0.50 s to 58.25 s of 60.00 s; "
              "played at -7.0 dB");
    EXPECT_EQ(shown.progressText, "");
    EXPECT_FALSE(RunVerb(station, *FindOperatorVerb("lists-loudness"), "3").ok());
    EXPECT_FALSE(RunVerb(station, *FindOperatorVerb("library-loudness"), "2 1").ok());
}

TEST(AnalysisFeed, TheOperatorIsToldWhatIsNotKnownAndHowFarTheAnalysisIs) {
    Levelling levelling;
    EXPECT_EQ(LoudnessText(std::nullopt, levelling), "Not analysed yet");
    EXPECT_EQ(LoudnessText(SoundAnalysis{.lengthSec = 12}, levelling),
              "No sound found in its 12.00 s");
    EXPECT_EQ(LoudnessText(SoundAnalysis{-30, -20, 0, 1, 1, true}, levelling),
              "-30.0 LUFS, true peak -20.0 dBTP; sound from 0.00 s to 1.00 s of 1.00 s; "
              "played at +14.0 dB");
    const std::tuple<int, int, const char*> counts[] = {
        {0, 0, ""},
        {5, 5, ""},
        {0, 7, "Analysing 0 of 7"},
        {1234, 48000, "Analysing 1 234 of 48 000"},
        {999, 1000000, "Analysing 999 of 1 000 000"}};
    for (const auto& [done, seen, text] : counts)
        EXPECT_EQ(AnalysisProgressText(done, seen), text) << done << " " << seen;
}

}  // namespace
