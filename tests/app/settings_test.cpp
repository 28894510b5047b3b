#include "app/settings.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/files.h"

namespace {

// A station's rooms, and stores in ini files, optionally seeded with hand-written content.
class SettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<QSettings> Store(const QString& name, const QByteArray& seed = {}) {
        if (!seed.isEmpty()) WriteBytes(m_dir.filePath(name), seed);
        return std::make_unique<QSettings>(m_dir.filePath(name), QSettings::IniFormat);
    }
    // What a station writes after reading the given file (or none) into its rooms.
    std::string ReadAndSaveAgain(const QString& from) {
        ReadSettings(*Store(from), station.StoredSettings());
        const auto store = Store("saved.conf");
        EXPECT_EQ(SaveSettings(*store, station.StoredSettings()), "");
        return ReadBytes(store->fileName()).toStdString();
    }

    QTemporaryDir m_dir;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(10, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{m_dir.path(), host, host, link};
};

// The two files hold every stored value, as the store writes them (the first ones written
// when one struct held every value, the levelling's added since): one with each value
// changed (the colours at their defaults), one with the defaults.
TEST_F(SettingsTest, FilesOfEarlierVersionsAreWrittenBackByteForByteAndHandTextReadByItsKind) {
    const QByteArray changed = ReadBytes(STAVOX_APP_TEST_DATA "/changed.conf");
    const std::string defaults = ReadBytes(STAVOX_APP_TEST_DATA "/defaults.conf").toStdString();
    ASSERT_FALSE(defaults.empty() || changed.isEmpty());
    EXPECT_EQ(ReadAndSaveAgain("first-start.conf"), defaults) << "a first start";
    WriteBytes(m_dir.filePath("changed.conf"), changed);
    EXPECT_EQ(ReadAndSaveAgain("changed.conf"), changed.toStdString());
    EXPECT_EQ(ReadAndSaveAgain("first-start.conf"), defaults) << "a missing value is its default";
    auto store = Store("hand.conf",
                       "[General]\nWaitSecInBeggining=0x0A\nHowToPlaySpots=two\nRandomPlay=7\n"
                       "AviOrMessage=0\nFadeOut0=abc\nMixingInterval=50\nPlaySpotEvery=300\n"
                       "OwnerMessage=Καλημέρα, Αθήνα\n[colors]\nListBoxTitles1=0x0000FF\n"
                       "[ColorFonts]\nLabelProgramName1=255\nListBoxArtist=red\n");
    ReadSettings(*store, station.StoredSettings());
    const PlaybackEngine& engine = station.Engine();
    const StationOptions& kept = station.StoredOptions();
    EXPECT_EQ(engine.WaitSecInBeggining, 10);
    EXPECT_EQ(station.Spots().HowToPlaySpots, 1);
    EXPECT_TRUE(engine.Queue().RandomPlay());
    EXPECT_FALSE(kept.AviOrMessage);
    EXPECT_EQ(engine.Bars().LevelText(VolumeBars::LevelBox::EditFadeOut0), "abc");
    EXPECT_EQ(engine.Bars().Level(VolumeBars::LevelBox::EditFadeOut0), 10);
    EXPECT_EQ(engine.Bars().FadeInterval(), 50) << "the fades step at the stored interval";
    EXPECT_EQ(station.Spots().PlaySpotEvery, 44);
    EXPECT_EQ(kept.OwnerMessage, "Καλημέρα, Αθήνα");
    EXPECT_EQ(RgbOf(*kept.Colours.value("ListBoxTitles1").background), (Rgb{255, 0, 0}));
    EXPECT_EQ(kept.Colours.value("ListBoxArtist").font, 0x00FFFFu);
    EXPECT_EQ(kept.Colours.value("LabelRunProgram"), (ComponentColours{0x808000u, 0xFFu}));
    WriteSettings(*store, station.StoredSettings());
    EXPECT_EQ(store->value("FadeOut0").toString(), "abc");
    EXPECT_EQ(store->value("PlaySpotEvery").toString(), "44");
}

}  // namespace
