#include "app/options.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"

namespace {

// A station in an empty folder with the given settings, and the options dialog's model
// made after start-up, as the window makes it.
class OptionsTest : public ::testing::Test {
protected:
    void Start(const Settings& settings = Settings{}) {
        station.StartUp(settings);
        options.LayoutChanged = [this] { ++layoutChanges; };
        options.Load();
    }

    QTemporaryDir folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(10, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.path(), host, host, link};
    Options options{station};
    int layoutChanges = 0;
};

// What the operator types is what is written at close, through whichever room holds it.
TEST_F(OptionsTest, TypedNumbersFallBackAndReachTheStoredSettings) {
    using Edit = std::function<void(Options&, const QString&)>;
    struct Case {
        const char* box;
        Edit type;
        QString text;
        std::function<int(const Settings&)> stored;
        int expected;
    };
    const Case cases[] = {
        {"EditWaitSecBeg", &Options::EditWaitSecBegChange, "abc",
         [](const Settings& s) { return s.WaitSecInBeggining; }, 5},
        {"EditWaitSecBeg", &Options::EditWaitSecBegChange, "12",
         [](const Settings& s) { return s.WaitSecInBeggining; }, 12},
        {"EditHowFastFadeOnSpots", &Options::EditHowFastFadeOnSpotsChange, "abc",
         [](const Settings& s) { return s.HowFastFadeOnSpots; }, 20},
        {"EditHowFastFadeOnSpots", &Options::EditHowFastFadeOnSpotsChange, "30",
         [](const Settings& s) { return s.HowFastFadeOnSpots; }, 30},
        {"ComboBoxMinShutDown1", &Options::ComboBoxMinShutDown1Change, "abc",
         [](const Settings& s) { return s.ShutDownMin; }, 0},
        {"ComboBoxMinShutDown1", &Options::ComboBoxMinShutDown1Change, "45",
         [](const Settings& s) { return s.ShutDownMin; }, 45},
        {"EditSkipIntroSec", &Options::EditSkipIntroSecChange, "",
         [](const Settings& s) { return s.SkipIntroSec; }, 5},
        {"EditSkipIntroSec", &Options::EditSkipIntroSecChange, "8",
         [](const Settings& s) { return s.SkipIntroSec; }, 8},
        {"EditPlaySpotEvery", &Options::EditPlaySpotEveryChange, "300",
         [](const Settings& s) { return int(s.PlaySpotEvery); }, 44},
        {"EditPlaySpotEvery", &Options::EditPlaySpotEveryChange, "abc",
         [](const Settings& s) { return int(s.PlaySpotEvery); }, 5},
    };
    Start();
    for (const Case& c : cases) {
        // Start from a value that is neither the fallback nor the typed number.
        c.type(options, QStringLiteral("77"));
        c.type(options, c.text);
        EXPECT_EQ(c.stored(station.CurrentSettings()), c.expected)
            << c.box << " \"" << c.text.toStdString() << "\"";
    }
    // The box keeps what was typed, the setting the number.
    EXPECT_EQ(options.State().EditPlaySpotEvery, "abc");
}

TEST_F(OptionsTest, ShutdownHourThatIsNoNumberIsRefusedAndKept) {
    Start();
    EXPECT_EQ(options.ComboBoxHourShutDown1Change("7"), "");
    EXPECT_EQ(options.ComboBoxHourShutDown1Change("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(options.State().ComboBoxHourShutDown1, "abc");
    EXPECT_EQ(station.CurrentSettings().ShutDownHour, 7);
    EXPECT_EQ(options.ComboBoxHourShutDown1Change("0x10"), "");
    EXPECT_EQ(station.CurrentSettings().ShutDownHour, 16);
}

TEST_F(OptionsTest, LoadShowsTheSettingsAsTheDialogOpens) {
    Settings s;
    s.HowToPlaySpots = 7;
    s.ShutDown = true;
    s.ShutDownHour = 5;
    s.ShutDownMin = 0x5;
    s.SkipIntro = false;
    s.SkipIntroSec = 9;
    s.AviOrMessage = false;
    s.PlaySpotEvery = 44;
    s.WaitSecInBeggining = 3;
    Start(s);
    const Options::Controls& c = options.State();
    EXPECT_EQ(c.SpotRadio, Options::Just);
    EXPECT_EQ(c.ComboBoxHourShutDown1, "5");  // plain decimal, not "05"
    EXPECT_EQ(c.ComboBoxMinShutDown1, "5");
    EXPECT_TRUE(c.CheckBoxShutDown1);
    EXPECT_EQ(c.EditSkipIntroSec, "9");
    EXPECT_FALSE(c.EditSkipIntroSecEnabled);
    EXPECT_FALSE(c.RadioButtonShowAvi);
    EXPECT_EQ(c.EditPlaySpotEvery, "44");
    EXPECT_EQ(c.EditWaitSecBeg, "3");
    EXPECT_TRUE(c.CheckBox1);
    // A mode outside 1..4 shows as "Ακριβώς" and is written back as it was read.
    EXPECT_EQ(station.CurrentSettings().HowToPlaySpots, 7);

    options.CheckBoxSkipIntroClick(true);
    EXPECT_TRUE(options.State().EditSkipIntroSecEnabled);
    options.SpotRadioClick(Options::Off);
    EXPECT_EQ(station.CurrentSettings().HowToPlaySpots, 4);
}

TEST_F(OptionsTest, ChecksAndRadiosReachTheRoomsAndTheStoredSettings) {
    Start();
    options.EditWinAmpPath1Change("/opt/player");
    options.CheckBoxShutDown1Click(true);
    options.CheckBoxGreekLishSearchClick(true);
    options.CheckBoxSkipIntroClick(true);
    options.CheckBoxPlayOnlyOneSpotClick(true);
    options.CheckBoxLockPrograms1Click(true);
    options.CheckBoxSymplifyPlayerClick(true);
    options.AviOrMessageClick(false);

    const Settings s = station.CurrentSettings();
    EXPECT_EQ(s.WinAmpPath, "/opt/player");
    EXPECT_TRUE(s.ShutDown);
    EXPECT_TRUE(s.GreeklishSearch);
    EXPECT_TRUE(s.SkipIntro);
    EXPECT_TRUE(s.PlayOnlyOneSpot);
    EXPECT_TRUE(s.LockPrograms);
    EXPECT_TRUE(s.SimplifyPlayer);
    EXPECT_FALSE(s.AviOrMessage);
    // The rooms act on them at once: skip intro in the tick, the lock on the Delete key.
    EXPECT_TRUE(station.Engine().SkipIntro);
    EXPECT_FALSE(station.Lists().ListBoxFileListBoxKeyDown(Qt::Key_Delete));
}

TEST_F(OptionsTest, LayoutsFollowTheirChecksAndAreAppliedAtLoad) {
    Settings s;
    s.LockPrograms = true;
    Start(s);
    EXPECT_EQ(layoutChanges, 1);
    EXPECT_TRUE(options.LockLayout());
    EXPECT_FALSE(options.SimpleLayout());
    EXPECT_TRUE(options.ShowAvi());

    options.CheckBoxLockPrograms1Click(false);
    options.CheckBoxSymplifyPlayerClick(true);
    options.AviOrMessageClick(false);
    EXPECT_EQ(layoutChanges, 4);
    EXPECT_FALSE(options.LockLayout());
    EXPECT_TRUE(options.SimpleLayout());
    EXPECT_FALSE(options.ShowAvi());
    // Settings that change no layout leave the window alone.
    options.CheckBoxGreekLishSearchClick(true);
    EXPECT_EQ(layoutChanges, 4);
}

}  // namespace
