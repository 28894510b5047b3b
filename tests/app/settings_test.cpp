#include "app/settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A store in a temporary ini file, optionally seeded with hand-written content.
class SettingsTest : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath("Stavox.conf"); }
    void Seed(const QByteArray& ini) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }
    std::unique_ptr<QSettings> Store() const {
        return std::make_unique<QSettings>(Path(), QSettings::IniFormat);
    }
    Settings Read() const { return ReadSettings(*Store()); }
    void Write(const Settings& settings) {
        auto store = Store();
        WriteSettings(*store, settings);
        store->sync();
        ASSERT_EQ(store->status(), QSettings::NoError);
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsTest, FirstStartShowsEveryDefaultAndTheFirstCloseStoresThemAll) {
    const Settings read = Read();
    EXPECT_EQ(read, Settings());
    EXPECT_EQ(read.MixingTime, "20");
    EXPECT_EQ(read.WaitSecInBeggining, 6);
    EXPECT_TRUE(read.AviOrMessage);
    EXPECT_EQ(read.PlaySpotEvery, 5);
    EXPECT_EQ(read.OwnerMessage, "Right Click to Enter Your message");
    EXPECT_EQ(read.Colours.value("LabelProgramName1"), (ComponentColours{0x808000u, 0x8000000Eu}));
    EXPECT_EQ(read.Colours.value("LabelWra2"), read.Colours.value("LabelProgramName1"));
    EXPECT_EQ(read.Colours.value("LabelMessages"), (ComponentColours{std::nullopt, 0x8000000Fu}));
    EXPECT_EQ(DeriveFadeLevels(read), (FadeLevels{30, 95, 95, 30, 20}));

    Write(read);
    auto store = Store();
    EXPECT_EQ(store->childGroups(), QStringList({"ColorFonts", "colors"}));
    EXPECT_EQ(store->childKeys().size(), 26);
    store->beginGroup("colors");
    // Dash entries and the two followers of LabelProgramName1 are not stored.
    EXPECT_EQ(store->childKeys().size(), 22);
    EXPECT_FALSE(store->contains("LabelMessages"));
    EXPECT_FALSE(store->contains("LabelWra2"));
    EXPECT_EQ(store->value("PanelAdv1").toString(), "-2147483633");
    store->endGroup();
    store->beginGroup("ColorFonts");
    EXPECT_EQ(store->childKeys().size(), 18);
    store->endGroup();
    EXPECT_EQ(store->value("AviOrMessage").toString(), "1");
    EXPECT_EQ(store->value("RandomPlay").toString(), "0");
    EXPECT_EQ(ReadSettings(*store), read);
}

TEST_F(SettingsTest, ReadsStoredTextByTheRulesOfItsKind) {
    Seed(
        "[General]\n"
        "WaitSecInBeggining=0x0A\n"
        "HowToPlaySpots=two\n"
        "RandomPlay=7\n"
        "FadeJingles=yes\n"
        "AviOrMessage=0\n"
        "SkipIntro=\n"
        "FadeOut0=abc\n"
        "FadeIn0=80\n"
        "MixingTime=0x\n"
        "PlaySpotEvery=300\n"
        "ShutDownHour=-3\n"
        "OwnerMessage=Καλημέρα, Αθήνα\n"
        "[colors]\n"
        "ListBoxTitles1=0x0000FF\n"
        "PanelTime=$FF0000\n"
        "[ColorFonts]\n"
        "LabelProgramName1=255\n"
        "ListBoxArtist=red\n");
    const Settings read = Read();
    EXPECT_EQ(read.WaitSecInBeggining, 10);
    EXPECT_EQ(read.HowToPlaySpots, 1);
    EXPECT_TRUE(read.RandomPlay);
    EXPECT_FALSE(read.FadeJingles);
    EXPECT_FALSE(read.AviOrMessage);
    EXPECT_FALSE(read.SkipIntro);
    EXPECT_EQ(read.FadeOut0, "abc");
    EXPECT_EQ(read.PlaySpotEvery, 44);
    EXPECT_EQ(read.ShutDownHour, -3);
    EXPECT_EQ(read.OwnerMessage, "Καλημέρα, Αθήνα");
    EXPECT_EQ(DeriveFadeLevels(read), (FadeLevels{10, 80, 95, 30, 20}));

    const ComponentColours titles = read.Colours.value("ListBoxTitles1");
    ASSERT_TRUE(titles.background);
    EXPECT_EQ(RgbOf(*titles.background), (Rgb{255, 0, 0}));
    EXPECT_EQ(read.Colours.value("PanelTime").background, 0xFF0000u);
    EXPECT_EQ(read.Colours.value("ListBoxArtist").font, 0x00FFFFu);
    EXPECT_EQ(read.Colours.value("LabelRunProgram"), (ComponentColours{0x808000u, 0xFFu}));

    Write(read);
    auto store = Store();
    EXPECT_EQ(store->value("FadeOut0").toString(), "abc");
    EXPECT_EQ(store->value("PlaySpotEvery").toString(), "44");
    EXPECT_EQ(store->value("HowToPlaySpots").toString(), "1");
    EXPECT_EQ(store->value("colors/ListBoxTitles1").toString(), "255");
}

TEST_F(SettingsTest, EveryValueRoundTripsUnderItsOwnName) {
    // Distinct values everywhere, so two names sharing one field would show.
    Settings s;
    s.WinAmpPath = "C:\\Program Files\\Winamp\\winamp.exe";
    s.WaitSecInBeggining = 11;
    s.HowToPlaySpots = 3;
    s.RandomPlay = true;
    s.FadeJingles = true;
    s.FadeOut0 = "21";
    s.FadeIn0 = "81";
    s.FadeOut1 = "22";
    s.FadeIn1 = "82";
    s.MixingTime = "12";
    s.MixingInterval = "50";
    s.JumpSec = "15";
    s.ShutDown = true;
    s.ShutDownHour = 23;
    s.ShutDownMin = 45;
    s.LockPrograms = true;
    s.GreeklishSearch = true;
    s.OwnerMessage = "@Στούντιο=1; #2";
    s.HowFastFadeOnSpots = 7;
    s.CheckBoxDontClearAutomaticallyPrevTracks = true;
    s.SimplifyPlayer = true;
    s.AviOrMessage = false;
    s.SkipIntro = true;
    s.SkipIntroSec = 9;
    s.PlayOnlyOneSpot = true;
    s.PlaySpotEvery = 200;
    s.Colours["ListBoxSpots2"] = {0x123456u, 0x8000000Fu};
    s.Colours["LabelProgramName1"] = {0x00FF00u, 0x0000FFu};
    s.Colours["LabelWra2"] = s.Colours["LabelRunProgram"] = s.Colours["LabelProgramName1"];
    Write(s);
    EXPECT_EQ(Read(), s);
    EXPECT_EQ(DeriveFadeLevels(s), (FadeLevels{21, 81, 82, 22, 12}));
}

#ifndef Q_OS_WIN
TEST(StationSettings, LiveInKelmarStavoxConfUnderTheConfigFolder) {
    QStandardPaths::setTestModeEnabled(true);
    const auto store = OpenStationSettings();
    EXPECT_TRUE(store->fileName().endsWith("/Kelmar/Stavox.conf"))
        << store->fileName().toStdString();
    EXPECT_TRUE(store->fileName().startsWith(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)));
    QStandardPaths::setTestModeEnabled(false);
}
#endif

TEST(Colours, SystemColoursAndRgbBytes) {
    EXPECT_TRUE(IsSystemColour(0x8000000F));
    EXPECT_EQ(SystemColourIndex(0x8000000F), 15);
    EXPECT_EQ(SystemColourIndex(0x80000008), 8);
    EXPECT_FALSE(IsSystemColour(0x00FFFFFF));
    EXPECT_FALSE(IsSystemColour(0x0000FF));
    EXPECT_EQ(RgbOf(0x808000), (Rgb{0, 128, 128}));
    EXPECT_EQ(ColourFromRgb(255, 255, 0), 0x00FFFFu);
}

}  // namespace
