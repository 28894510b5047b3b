#include "app/station.h"

#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/files.h"
#include "support/station_folder.h"

namespace {

// Monday 2026-12-07: "good" plays until 10:00, then "junk", a file of binary data.
class StationTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.AddList("good", {60, 60, 60});
        WriteBytes(folder.ListsPath() + "junk", QByteArray("\xff\xfb\x90\0\0\0binary", 12));
        folder.WriteDays({{1, "09:00", "10:00", "good"}, {1, "10:00", "11:00", "junk"}});
        station.OnProblem = [this](const QString& message) { problems << message; };
    }

    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 59))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    QStringList problems;
};

TEST_F(StationTest, ADueProgramThatCannotBeReadIsToldAndTheTrackOnAirPlaysOn) {
    EXPECT_EQ(station.StartUp(Settings{}), QStringList());
    host.Advance(61'000);  // 10:00:01, the first track is still on
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].endsWith(folder.ListsPath() + "junk is not a text file"))
        << problems[0].toStdString();
    EXPECT_EQ(station.Loader().LabelProgramName1(), "junk");
    const Decks& decks = station.Engine().Players();
    EXPECT_TRUE(link.Audible(decks.CurrentDeck)) << "the track on air plays on";
}

TEST_F(StationTest, FavouritesThatCannotBeReadAreKeptAsTheyAre) {
    const QString path = folder.StartFolder() + "/favorites.txt";
    const QByteArray junk("Βίσση\0\x01\x02", 13);
    WriteBytes(path, junk);
    EXPECT_EQ(station.StartUp(Settings{}), QStringList({path + " is not a text file"}));
    EXPECT_EQ(station.Close(nullptr), QStringList());
    EXPECT_EQ(ReadBytes(path), junk);
}

}  // namespace
