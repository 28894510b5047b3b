#include <gtest/gtest.h>

#include <functional>

#include "app/operator_actions.h"
#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"

namespace {

class PlayerVerbsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.AddList("pop", {60, 60, 60, 60, 60, 60});
        folder.WriteDays({{1, "09:00", "10:00", "pop"}});
        ASSERT_EQ(station.StartUp(), QStringList());
        host.Advance(6'400);  // the start wait, then the first track
    }
    Result Run(const char* verb, const QString& argument) {
        const OperatorVerb* row = FindOperatorVerb(QLatin1String(verb));
        if (!row) return Result::Error(QStringLiteral("no verb"));
        return RunVerb(station, *row, argument);
    }
    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
};

// Each control's verb changes what its control shows; a number or a place the window does
// not have is refused before anything changes.
TEST_F(PlayerVerbsTest, TheWindowsControlsAreCommandsThatRefuseWhatTheWindowHasNot) {
    const PlaybackEngine& engine = station.Engine();
    const int left = station.MessageMarquee().LabelLeft;
    const std::tuple<const char*, QString, std::function<bool()>> done[] = {
        {"volume-bar", "2 40", [&] { return engine.Bars().Position(1) == 40; }},
        {"level-box", "5 7", [&] { return engine.Bars().MixingSeconds() == 7; }},
        {"random-play", "on", [&] { return engine.Queue().RandomPlay(); }},
        {"mark-next", "3", [&] { return engine.Queue().MarkedSlot() == 3; }},
        {"jump-seconds", "12", [&] { return engine.Controls().JumpSeconds() == 12; }},
        {"key", "222", [&] { return engine.Controls().PauseDown; }},
        {"key", "220", [&] { return station.LineInput().ButtonDown(); }},
        // The title swings once the window measured it wider than its panel.
        {"title-panel-width", "400", [&] { return engine.Panel().Title().PanelWidth == 400; }},
        {"title-width", "300 " + engine.Panel().TrackName(),
         [&] { return !engine.Panel().Title().Running; }},
        {"title-width", "500 " + engine.Panel().TrackName(),
         [&] { return engine.Panel().Title().Running; }},
        {"title-width", "10 an older title", [&] { return engine.Panel().Title().Running; }},
        // The dragged message follows the mouse, also left of the screen's edge.
        {"message-drag-start", "-20", [&] { return station.MessageMarquee().Held; }},
        {"message-drag-move", "15",
         [&] { return station.MessageMarquee().LabelLeft == left + 35; }},
        {"message-drag-end", "", [&] { return !station.MessageMarquee().Held; }},
    };
    for (const auto& [verb, argument, shows] : done) {
        EXPECT_TRUE(Run(verb, argument).ok()) << verb;
        EXPECT_TRUE(shows()) << verb << " " << argument.toStdString();
    }
    const int bar1 = engine.Bars().Position(0);  // "3 10" would move it, were it taken
    const std::pair<const char*, QString> refused[] = {
        {"volume-bar", "3 10"},       {"volume-bar", "1 loud"},  {"store-cue", "4"},
        {"level-box", "6 1"},         {"mark-next", "6"},        {"key", "65"},
        {"knob-press", "middle 3"},   {"title-width", "wide T"}, {"knob-geometry", "1 2"},
        {"message-drag-move", "far"},
    };
    for (const auto& [verb, argument] : refused)
        EXPECT_FALSE(Run(verb, argument).ok()) << verb << " " << argument.toStdString();
    EXPECT_EQ(engine.Bars().Position(0), bar1);
}

}  // namespace
