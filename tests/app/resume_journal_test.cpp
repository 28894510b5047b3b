// The journal: a station killed while its decks play on, started again, goes on where it
// was; a journal that does not fit is set aside with a message and the program begins afresh.
#include "app/resume_journal.h"

#include <gtest/gtest.h>

#include <QFile>
#include <memory>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"
#include "support/station_rooms.h"

namespace {

constexpr int kStartWaitMs = 6'400;  // the decks are looked up, then the loop ticks

// One station at a time on decks that outlive it, as mpv's do when the station is killed.
struct KilledAndStarted : ::testing::Test {
    KilledAndStarted() {
        folder.AddList("pop", {60, 60, 60, 60, 60, 60});
        folder.WriteDays({{1, "09:00", "10:00", "pop"}});
    }
    void Start() {
        station = std::make_unique<Station>(folder.StartFolder(), host, host, link);
        station->KeepJournal();
        QObject::connect(station.get(), &Station::WentOn,
                         [this](const QString& detail) { wentOn << detail; });
        QObject::connect(station.get(), &Station::Problem,
                         [this](const QString& message) { problems << message; });
        QObject::connect(&station->Engine(), &PlaybackEngine::EntryStarted,
                         [this](const QString& entry) { started << entry; });
        ASSERT_EQ(station->StartUp(), QStringList());
    }
    // No close, no stop: the decks play on.
    void Kill() { station.reset(); }
    QString OnAir() const { return link.File(station->Engine().Players().CurrentDeck); }
    QString Journal() const { return folder.StartFolder() + "/journal.json"; }

    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    std::unique_ptr<Station> station;
    QStringList wentOn, problems, started;
};

// The on-air test hears the same with real decks; this one looks at the station itself.
TEST_F(KilledAndStarted, ItGoesOnWithWhatWasOnAirAndWhatWasPlayedAndAClosePutsAnEndToIt) {
    Start();
    host.Advance(kStartWaitMs + 12'000);
    const QString first = OnAir(), next = station->Engine().Queue().At(0);
    const QString deck = QString::number(station->Engine().Players().CurrentDeck);
    StationRooms::Engine(*station).MoveBarByHand(0,
                                                 37);  // the operator's level, not the stored one
    host.Advance(400);
    Kill();
    host.Advance(7'000);
    started.clear();
    Start();
    host.Advance(kStartWaitMs + 10'000);
    ASSERT_EQ(wentOn, QStringList{"deck" + deck + "\t" + first});
    EXPECT_EQ(OnAir(), first);
    EXPECT_EQ(station->Engine().Bars().Position(0), 37);
    EXPECT_EQ(station->Engine().Played().Paths(), QStringList{first});
    host.Advance(30'000);
    EXPECT_EQ(started, QStringList{next});
    station->Close(nullptr);
    EXPECT_FALSE(QFile::exists(Journal()));
}

TEST_F(KilledAndStarted, AJournalThatDoesNotFitIsSetAsideAndTheProgramBeginsAfresh) {
    const auto replace = [](QByteArray from, const char* what, const char* with) {
        return from.replace(what, with);
    };
    const struct {
        const char* name;
        std::function<QByteArray(const QByteArray&)> damage;
        const char* why;
    } cases[] = {
        {"cut short", [](const QByteArray& j) { return j.left(j.size() / 2); }, "not whole"},
        {"binary junk", [](const QByteArray&) { return QByteArray("\x00\xff\x13junk", 7); },
         "not whole"},
        {"of yesterday",
         [&](const QByteArray& j) {
             return replace(j, "\"day\":\"2026-12-07\"", "\"day\":\"2026-12-06\"");
         },
         "no longer on air"},
        {"of another file",
         [&](const QByteArray& j) {
             return replace(j, "Track 1.mp3\",\"onAirTitle", "Track 9.mp3\",\"onAirTitle");
         },
         "not "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        host.Advance(kStartWaitMs + 12'000);
        Kill();
        QFile file(Journal());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const QByteArray damaged = c.damage(file.readAll());
        file.resize(0);
        file.write(damaged);
        file.close();
        started.clear();
        problems.clear();
        wentOn.clear();
        Start();
        host.Advance(kStartWaitMs);
        EXPECT_EQ(wentOn, QStringList());
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains("set aside") && problems[0].contains(c.why))
            << problems[0].toStdString();
        EXPECT_TRUE(QFile::exists(Journal() + ".set-aside"));
        // As a station without a journal: the program's first track starts again.
        EXPECT_EQ(started.size(), 1);
        host.Advance(1'000);
        EXPECT_TRUE(QFile::exists(Journal()));  // a new one
        Kill();
        link.Stop(0);
        link.Stop(1);
    }
}

}  // namespace
