#include "app/options.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <utility>

#include "app/operator_actions.h"
#include "app/options_state.h"
#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"

namespace {

Result Option(Station& station, const QString& key, const QString& value) {
    return RunVerb(station, *FindOperatorVerb("option"), key + ' ' + value);
}

QString Shown(const Station& station, const QString& key) {
    return OptionsStateOf(station).values.value(key);
}

struct OptionsTest : ::testing::Test {
    QTemporaryDir folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(10, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.path(), host, host, link};
    const Station& view = station;
};

// What the operator types is written at close, through whichever room holds it; text
// that is no number falls back ("abc" in the waiting seconds is the window test's).
TEST_F(OptionsTest, TypedNumbersFallBackAndWhatIsSetReachesTheRoomsAndTheStoredSettings) {
    const auto fadeOnSpots = [&] { return view.Spots().HowFastFadeOnSpots; };
    const auto shutDownMin = [&] { return view.Shutdown().ShutDownMin(); };
    const auto skipIntroSec = [&] { return view.Engine().SkipIntroSec; };
    const auto spotEvery = [&] { return int(view.Spots().PlaySpotEvery); };
    const struct {
        const char* key;
        std::function<int()> stored;
        QString text;
        int expected;
    } cases[] = {
        {"HowFastFadeOnSpots", fadeOnSpots, "abc", 20},
        {"HowFastFadeOnSpots", fadeOnSpots, "30", 30},
        {"ShutDownMin", shutDownMin, "abc", 0},
        {"ShutDownMin", shutDownMin, "45", 45},
        {"SkipIntroSec", skipIntroSec, "", 5},
        {"SkipIntroSec", skipIntroSec, "8", 8},
        {"PlaySpotEvery", spotEvery, "300", 44},
        {"PlaySpotEvery", spotEvery, "abc", 5},
    };
    QSettings store(folder.filePath("stored.ini"), QSettings::IniFormat);
    store.setValue("HowToPlaySpots", "7");
    store.setValue("ShutDownHour", "5");
    station.StartUp(&store);
    for (const auto& c : cases) {
        // Start from a value that is neither the fallback nor the typed number.
        EXPECT_TRUE(Option(station, c.key, "77").ok());
        EXPECT_TRUE(Option(station, c.key, c.text).ok());
        EXPECT_EQ(c.stored(), c.expected) << c.text.toStdString();
    }
    EXPECT_EQ(Shown(station, "PlaySpotEvery"), "5");
    EXPECT_EQ(Shown(station, "ShutDownHour"), "5");  // plain decimal, not "05"
    // A mode outside 1..4 is shown as it was read, and written back so.
    EXPECT_EQ(Shown(station, "HowToPlaySpots"), "7");
    EXPECT_FALSE(Option(station, "HowToPlaySpots", "5").ok());
    EXPECT_TRUE(Option(station, "HowToPlaySpots", "4").ok());
    EXPECT_EQ(view.Spots().HowToPlaySpots, 4);

    EXPECT_TRUE(Option(station, "WinAmpPath", "/opt/the player").ok());
    for (const char* key :
         {"GreeklishSearch", "SkipIntro", "PlayOnlyOneSpot", "ShutDown", "SimplifyPlayer"})
        EXPECT_TRUE(Option(station, key, "1").ok()) << key;
    EXPECT_TRUE(Option(station, "AviOrMessage", "0").ok());
    EXPECT_TRUE(RunVerb(station, *FindOperatorVerb("lock-programs"), "on").ok());
    const StationOptions& kept = view.StoredOptions();
    EXPECT_EQ(view.Engine().Players().WinAmpPath, "/opt/the player");
    EXPECT_TRUE(kept.GreeklishSearch && view.Spots().PlayOnlyOneSpot && view.Lock().LockPrograms &&
                view.Shutdown().Watching() && kept.SimplifyPlayer && !kept.AviOrMessage);
    // The lock is its own command, never refused by itself; the options are not locked.
    EXPECT_FALSE(Option(station, "LockPrograms", "0").ok());
    EXPECT_TRUE(Option(station, "SkipIntroSec", "9").ok());
    // The rooms act on them at once: skip intro in the tick, the lock on the Delete key.
    EXPECT_TRUE(view.Engine().SkipIntro);
    EXPECT_FALSE(station.Lists().ListBoxFileListBoxKeyDown(Qt::Key_Delete));
    // A shutdown hour that is no number is refused; the setting keeps the last.
    EXPECT_TRUE(Option(station, "ShutDownHour", "7").ok());
    EXPECT_EQ(Option(station, "ShutDownHour", "abc").message(),
              "'abc' is not a valid integer value");
    EXPECT_EQ(view.Shutdown().ShutDownHour(), 7);
    EXPECT_TRUE(Option(station, "ShutDownHour", "0x10").ok());
    EXPECT_EQ(view.Shutdown().ShutDownHour(), 16);
}

// Each option the dialog shows starts at its room's one default, and a typed value that is
// no number gives that same default back (the dialog once kept defaults of its own).
TEST_F(OptionsTest, EveryOptionStartsAtItsRoomsDefaultAndNoNumberGivesItBack) {
    const QStringList refused = {"LockPrograms", "ShutDownHour", "HowToPlaySpots"};
    const SettingsHomes homes = view.StoredSettings();
    for (const QString& key : Options::Keys()) {
        const std::optional<QString> fallback = StoredDefault(homes, key);
        ASSERT_TRUE(fallback) << key.toStdString();
        EXPECT_EQ(Shown(station, key), *fallback) << key.toStdString();
        // Texts (a default that is no number) keep whatever is typed.
        bool number = false;
        fallback->toInt(&number);
        if (refused.contains(key) || !number) continue;
        EXPECT_TRUE(Option(station, key, fallback == u"0" ? "1" : "0").ok());
        EXPECT_NE(Shown(station, key), *fallback) << key.toStdString();
        EXPECT_TRUE(Option(station, key, "abc").ok());
        EXPECT_EQ(Shown(station, key), *fallback) << key.toStdString();
    }
    EXPECT_FALSE(Option(station, "Stream2/Format", "wav").ok());
    EXPECT_TRUE(Option(station, "Stream2/Format", "ogg").ok());
    EXPECT_EQ(Shown(station, "Stream2/Format"), "ogg");
    for (const QString& key : refused) {
        EXPECT_FALSE(Option(station, key, "abc").ok()) << key.toStdString();
        EXPECT_EQ(Shown(station, key), *StoredDefault(homes, key)) << key.toStdString();
    }
}

}  // namespace
