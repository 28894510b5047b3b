// The air never waits for the window: a page's handler that holds the window's thread (a
// slow share, a long dialog) must not move a hand-over. The station runs on a core thread
// of its own with real timers and simulated decks; the window and its client on the test's.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDateTime>
#include <QSettings>
#include <memory>
#include <mutex>
#include <thread>

#include "air_timing.h"
#include "app/core_thread.h"
#include "app/data_folders.h"
#include "app/station.h"
#include "app/station_client.h"
#include "app/station_core.h"
#include "platform/qt_timer_host.h"
#include "platform/system_clock.h"
#include "player/logging_player_link.h"
#include "player/simulated_player_link.h"
#include "support/run_events.h"
#include "ui/main_window.h"

namespace {

constexpr int kHandlerHoldsMs = 10'000;

// Everything of the station, made, run and ended on the core's thread.
struct CoreSide {
    SystemClock clock;
    QtTimerHost timers;
    SimulatedPlayerLink decks{clock, timers};
    LoggingPlayerLink link{decks};
    std::unique_ptr<Station> station;
    std::unique_ptr<StationCore> core;
};

TEST(BusyWindow, AHandlerThatHoldsTheWindowsThreadMovesNoHandOver) {
    ShortTrackStation folders;
    QSettings store(folders.SettingsFile(), QSettings::IniFormat);
    CoreThread thread;
    std::unique_ptr<CoreSide> side;
    std::mutex startsMutex;  // the decks' loads are heard on the core's thread
    QList<QDateTime> starts;
    const auto start = [&](int n) {
        std::lock_guard lock(startsMutex);
        return starts.size() > n ? starts[n] : QDateTime();
    };
    thread.RunAndWait([&] {
        side = std::make_unique<CoreSide>();
        side->station = std::make_unique<Station>(folders.folder.StartFolder(), side->clock,
                                                  side->timers, side->link, nullptr);
        side->core = std::make_unique<StationCore>(*side->station);
        QObject::connect(&side->link, &LoggingPlayerLink::DeckEvent,
                         [&](int, const QString& event, const QString&) {
                             std::lock_guard lock(startsMutex);
                             if (event == "load") starts << side->clock.Now();
                         });
        side->station->StartUp(&store);
    });
    {
        StationClient client(*side->core);
        MainWindow window(client, ProgramName{kApplicationTitle, kVersionText}, [] {});
        window.show();
        // The played list's Play with nothing chosen does nothing; this handler holds on.
        auto* play = window.findChild<QAbstractButton*>("SpeedButton7");
        ASSERT_TRUE(play);
        QObject::connect(play, &QAbstractButton::clicked, [] {
            std::this_thread::sleep_for(std::chrono::milliseconds(kHandlerHoldsMs));
        });

        // Two undisturbed hand-overs give the period; the handler holds the window from
        // half its hold before the third is due.
        ASSERT_TRUE(
            RunEventsUntil([&] { return start(1).isValid(); }, 30'000 + kTrackSeconds * 2'000));
        const QDateTime due = start(1).addMSecs(start(0).msecsTo(start(1)));
        RunEventsUntil(
            [&] { return QDateTime::currentDateTime() >= due.addMSecs(-kHandlerHoldsMs / 2); },
            kTrackSeconds * 1'000);
        play->click();
        ASSERT_TRUE(RunEventsUntil([&] { return start(2).isValid(); }, kTrackSeconds * 1'000));
        EXPECT_LE(std::abs(due.msecsTo(start(2))), kOnTimeMs)
            << "the hand-over came " << due.msecsTo(start(2)) << " ms after it was due";
        thread.RunAndWait([&] { side->station->Close(nullptr); });
    }
    thread.RunAndWait([&] { side.reset(); });
}

}  // namespace
