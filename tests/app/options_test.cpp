#include "app/options.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"

namespace {

// A station in an empty folder and the options dialog's model, as the window makes them:
// what the operator types is written at close, through whichever room holds it; text
// that is no number falls back ("abc" in the waiting seconds is the window test's).
TEST(OptionsTest, TypedNumbersFallBackAndWhatIsSetReachesTheRoomsAndTheStoredSettings) {
    QTemporaryDir folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(10, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.path(), host, host, link};
    Options options{station};
    using Edit = std::function<void(Options&, const QString&)>;
    const auto fadeOnSpots = [&] { return station.Spots().HowFastFadeOnSpots; };
    const auto shutDownMin = [&] { return station.Shutdown().ShutDownMin(); };
    const auto skipIntroSec = [&] { return station.Engine().SkipIntroSec; };
    const auto spotEvery = [&] { return int(station.Spots().PlaySpotEvery); };
    const struct {
        Edit type;
        std::function<int()> stored;
        QString text;
        int expected;
    } cases[] = {
        {&Options::EditHowFastFadeOnSpotsChange, fadeOnSpots, "abc", 20},
        {&Options::EditHowFastFadeOnSpotsChange, fadeOnSpots, "30", 30},
        {&Options::ComboBoxMinShutDown1Change, shutDownMin, "abc", 0},
        {&Options::ComboBoxMinShutDown1Change, shutDownMin, "45", 45},
        {&Options::EditSkipIntroSecChange, skipIntroSec, "", 5},
        {&Options::EditSkipIntroSecChange, skipIntroSec, "8", 8},
        {&Options::EditPlaySpotEveryChange, spotEvery, "300", 44},
        {&Options::EditPlaySpotEveryChange, spotEvery, "abc", 5},
    };
    station.Spots().HowToPlaySpots = 7;
    station.Shutdown().SetShutDownHour(5);
    station.StartUp();
    options.Load();
    for (const auto& c : cases) {
        // Start from a value that is neither the fallback nor the typed number.
        c.type(options, QStringLiteral("77"));
        c.type(options, c.text);
        EXPECT_EQ(c.stored(), c.expected) << c.text.toStdString();
    }
    // The box keeps what was typed, the setting the number.
    EXPECT_EQ(options.State().EditPlaySpotEvery, "abc");
    // Checks, radios and the shutdown hour reach the rooms and the stored settings too.
    EXPECT_EQ(options.State().ComboBoxHourShutDown1, "5");  // plain decimal, not "05"
    // A mode outside 1..4 shows as "Ακριβώς" and is written back as it was read.
    EXPECT_EQ(options.State().SpotRadio, Options::Just);
    EXPECT_EQ(station.Spots().HowToPlaySpots, 7);
    options.SpotRadioClick(Options::Off);
    EXPECT_EQ(station.Spots().HowToPlaySpots, 4);

    options.EditWinAmpPath1Change("/opt/player");
    options.CheckBoxGreekLishSearchClick(true);
    options.CheckBoxSkipIntroClick(true);
    options.CheckBoxPlayOnlyOneSpotClick(true);
    options.CheckBoxLockPrograms1Click(true);
    options.CheckBoxShutDown1Click(true);
    options.CheckBoxSymplifyPlayerClick(true);
    options.AviOrMessageClick(false);
    const StationOptions& kept = station.StoredOptions();
    EXPECT_EQ(station.Engine().Players().WinAmpPath, "/opt/player");
    EXPECT_TRUE(kept.GreeklishSearch && station.Spots().PlayOnlyOneSpot &&
                station.Lock().LockPrograms && station.Shutdown().Watching() &&
                kept.SimplifyPlayer && !kept.AviOrMessage);
    // The rooms act on them at once: skip intro in the tick, the lock on the Delete key.
    EXPECT_TRUE(options.State().EditSkipIntroSecEnabled);
    EXPECT_TRUE(station.Engine().SkipIntro);
    EXPECT_FALSE(station.Lists().ListBoxFileListBoxKeyDown(Qt::Key_Delete));
    // A shutdown hour that is no number is refused; the box keeps it, the setting the last.
    EXPECT_EQ(options.ComboBoxHourShutDown1Change("7"), "");
    EXPECT_EQ(options.ComboBoxHourShutDown1Change("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(options.State().ComboBoxHourShutDown1, "abc");
    EXPECT_EQ(station.Shutdown().ShutDownHour(), 7);
    EXPECT_EQ(options.ComboBoxHourShutDown1Change("0x10"), "");
    EXPECT_EQ(station.Shutdown().ShutDownHour(), 16);
}

}  // namespace
