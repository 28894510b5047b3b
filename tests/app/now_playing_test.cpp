// The now-playing files: replaced whole at each start of music, so a reader looking at any
// moment finds valid JSON, and they tell the track on air and the one after it.
#include "app/now_playing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <thread>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"

namespace {

TEST(NowPlaying, AReaderAlwaysFindsWholeJsonAcrossTrackChangesAndItTellsWhatIsOnAir) {
    StationFolder folder;
    const QStringList tracks = folder.AddList("pop", {60, 60, 60, 60, 60, 60, 60, 60});
    folder.WriteDays({{1, "09:00", "10:00", "pop"}});
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    station.WriteNowPlayingFiles();
    ASSERT_EQ(station.StartUp(), QStringList());

    const QString json = folder.StartFolder() + "/nowplaying.json";
    std::atomic<bool> done{false};
    std::atomic<int> reads{0}, broken{0};
    std::thread reader([&] {
        while (!done) {
            QFile file(json);
            if (!file.open(QIODevice::ReadOnly)) continue;  // not written yet
            QJsonParseError error;
            QJsonDocument::fromJson(file.readAll(), &error);
            ++reads;
            if (error.error != QJsonParseError::NoError) ++broken;
        }
    });
    host.Advance(6'400 + 4 * 40'000);  // the first track and four after it, 40 s apart
    done = true;
    reader.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(broken, 0);
    EXPECT_GE(station.Engine().Played().Count(), 4);

    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject now = QJsonDocument::fromJson(file.readAll()).object();
    const QString onAir = station.Engine().Played().Titles().last();
    EXPECT_EQ(now["file"].toString(), folder.MusicPath() + onAir);
    EXPECT_EQ(now["artist"].toString(), "pop");
    EXPECT_EQ(now["title"].toString() + ".mp3", onAir.section(" - ", 1));
    EXPECT_EQ(now["length"].toInt(), 60);
    EXPECT_TRUE(now["next"].toObject()["file"].toString().startsWith(folder.MusicPath() + "pop - "))
        << QJsonDocument(now).toJson().toStdString();
    QFile text(folder.StartFolder() + "/nowplaying.txt");
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), (NowPlayingText(onAir) + '\n').toUtf8());
}

}  // namespace
