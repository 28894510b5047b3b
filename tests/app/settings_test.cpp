#include "app/settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// A store in a temporary ini file, optionally seeded with hand-written content.
class SettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<QSettings> Store(const QByteArray& seed = {}) {
        const QString path = m_dir.filePath("Stavox.conf");
        if (!seed.isEmpty()) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(seed);
        }
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
    QTemporaryDir m_dir;
};

TEST_F(SettingsTest, FirstStartShowsEveryDefaultAndTheFirstCloseStoresThemAll) {
    const Settings read = ReadSettings(*Store());
    EXPECT_EQ(read, Settings());
    EXPECT_EQ(read.MixingTime, "20");
    EXPECT_EQ(read.Colours.value("LabelWra2"), (ComponentColours{0x808000u, 0x8000000Eu}));
    EXPECT_EQ(DeriveFadeLevels(read), (FadeLevels{30, 95, 95, 30, 20}));

    auto store = Store();
    WriteSettings(*store, read);
    EXPECT_EQ(store->childKeys().size(), 26);
    EXPECT_EQ(store->value("AviOrMessage").toString(), "1");
    // Dash entries and LabelProgramName1's two followers are not stored.
    EXPECT_EQ(store->value("colors/PanelAdv1").toString(), "-2147483633");
    EXPECT_FALSE(store->contains("colors/LabelMessages"));
    EXPECT_FALSE(store->contains("colors/LabelWra2"));
    store->beginGroup("ColorFonts");
    EXPECT_EQ(store->childKeys().size(), 18);
}

TEST_F(SettingsTest, ReadsStoredTextByTheRulesOfItsKindAndWritesItBack) {
    auto store = Store(
        "[General]\nWaitSecInBeggining=0x0A\nHowToPlaySpots=two\nRandomPlay=7\n"
        "AviOrMessage=0\nFadeOut0=abc\nPlaySpotEvery=300\nOwnerMessage=Καλημέρα, Αθήνα\n"
        "[colors]\nListBoxTitles1=0x0000FF\n[ColorFonts]\nLabelProgramName1=255\n"
        "ListBoxArtist=red\n");
    const Settings read = ReadSettings(*store);
    EXPECT_EQ(read.WaitSecInBeggining, 10);
    EXPECT_EQ(read.HowToPlaySpots, 1);
    EXPECT_TRUE(read.RandomPlay);
    EXPECT_FALSE(read.AviOrMessage);
    EXPECT_EQ(read.FadeOut0, "abc");
    EXPECT_EQ(DeriveFadeLevels(read).FadeOut0Level, 10);
    EXPECT_EQ(read.PlaySpotEvery, 44);
    EXPECT_EQ(read.OwnerMessage, "Καλημέρα, Αθήνα");
    EXPECT_EQ(RgbOf(*read.Colours.value("ListBoxTitles1").background), (Rgb{255, 0, 0}));
    EXPECT_EQ(read.Colours.value("ListBoxArtist").font, 0x00FFFFu);
    EXPECT_EQ(read.Colours.value("LabelRunProgram"), (ComponentColours{0x808000u, 0xFFu}));

    WriteSettings(*store, read);
    EXPECT_EQ(store->value("FadeOut0").toString(), "abc");
    EXPECT_EQ(store->value("PlaySpotEvery").toString(), "44");
}

TEST_F(SettingsTest, EveryValueRoundTripsUnderItsOwnName) {
    // Distinct values everywhere, so two names sharing one field would show.
    Settings s;
    s.WinAmpPath = "C:\\Winamp\\winamp.exe";
    s.OwnerMessage = "@Στούντιο=1; #2";
    s.FadeOut0 = "21", s.FadeIn0 = "81", s.FadeOut1 = "22", s.FadeIn1 = "82";
    s.MixingTime = "12", s.MixingInterval = "50", s.JumpSec = "15";
    s.WaitSecInBeggining = 11, s.HowToPlaySpots = 3, s.ShutDownHour = 23, s.ShutDownMin = 45;
    s.HowFastFadeOnSpots = 7, s.SkipIntroSec = 9, s.PlaySpotEvery = 200;
    for (bool* flag : {&s.RandomPlay, &s.FadeJingles, &s.ShutDown, &s.LockPrograms,
                       &s.GreeklishSearch, &s.CheckBoxDontClearAutomaticallyPrevTracks,
                       &s.SimplifyPlayer, &s.SkipIntro, &s.PlayOnlyOneSpot}) {
        *flag = true;
    }
    s.AviOrMessage = false;
    s.Colours["ListBoxSpots2"] = {0x123456u, 0x8000000Fu};
    s.Colours["LabelProgramName1"] = s.Colours["LabelWra2"] =
        s.Colours["LabelRunProgram"] = {0x00FF00u, 0x0000FFu};
    WriteSettings(*Store(), s);
    EXPECT_EQ(ReadSettings(*Store()), s);
    EXPECT_EQ(DeriveFadeLevels(s), (FadeLevels{21, 81, 82, 22, 12}));
}

}  // namespace
