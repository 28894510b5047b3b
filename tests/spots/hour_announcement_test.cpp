#include "spots/hour_announcement.h"

#include <gtest/gtest.h>

#include <QDir>

#include "support/engine_rig.h"
#include "support/file_failure.h"
#include "support/files.h"

namespace {

TEST(HourFragmentsTest, RoundsToTheMinuteAndSaysTheWordsTheRecordingsHold) {
    const std::pair<QTime, const char*> cases[] = {
        {{14, 29, 40}, "h2 kai m30"}, {{23, 59, 45}, "h12 kai"},     {{12, 11}, "h12 kai m11"},
        {{9, 5}, "h9 kai m5"},        {{18, 16}, "h6 kai m10 m6"},   {{0, 0}, "h12 kai"},
        {{12, 59, 30}, "h1 kai"},     {{11, 19, 30}, "h11 kai m20"}, {{13, 12, 29}, "h1 kai m12"}};
    for (const auto& [t, said] : cases)
        EXPECT_EQ(HourFragments(t.hour(), t.minute(), t.second()).join(' '),
                  QString("TheHourIs ") + said);
}

// "Hour" at 14:29:40, 6 s into the rig, with every recording but those missing.
struct AnnouncementRig {
    explicit AnnouncementRig(const QStringList& missing = {})
        : rig({QDate(2026, 12, 7), QTime(14, 29, 34)}),
          hour(hours, rig.host, rig.host, rig.engine) {
        QDir().mkpath(hours);
        for (int m = 0; m < 60; ++m)
            for (const QString& name : HourFragments(m % 24, m, 0))
                if (!missing.contains(name)) WriteBytes(hours + name + ".mp3", "ID3");
        QObject::connect(&hour, &HourAnnouncement::Announced,
                         [this](const QStringList& files) { said << files.join(' '); });
        QObject::connect(&hour, &HourAnnouncement::Problem, [this](QString m) { problems << m; });
        QObject::connect(&hour, &HourAnnouncement::MusicRestored, [this] { ++restored; });
        rig.StartLoop();
    }
    EngineRig rig;
    QString hours = rig.dir.path() + "/hour1/";
    HourAnnouncement hour;
    QStringList said, problems;
    int restored = 0;
};

// The music goes down at the click, the time is handed to the other deck 2 s later and
// the music comes back 6 s after that. A click during an announcement starts it over:
// the music comes back once, at the end.
TEST(HourAnnouncementTest, SaysTheTimeOverTheLoweredMusicAndRaisesItOnceAtTheEnd) {
    const std::pair<int, std::vector<std::int64_t>> cases[] = {
        {0, {2000}}, {1000, {3000}}, {5000, {2000, 7000}}};
    for (const auto& [second, handOvers] : cases) {
        AnnouncementRig a;
        const VolumeBars& bars = a.rig.engine.Bars();
        a.hour.BitBtnSayHour1Click();
        a.rig.Advance(second);
        if (second) a.hour.BitBtnSayHour1Click();
        a.rig.Advance(handOvers.back() + 6000 - second - 1);
        EXPECT_EQ(a.restored, 0) << second;
        EXPECT_EQ(bars.Volume(0), bars.Level(VolumeBars::LevelBox::EditFadeOut0)) << second;
        a.rig.Advance(20'000);
        EXPECT_EQ(a.restored, 1) << second;
        EXPECT_EQ(bars.Volume(0), bars.Level(VolumeBars::LevelBox::EditFadeIn0)) << second;
        std::vector<std::int64_t> at;
        for (const auto& e : a.rig.Events("load")) at.push_back(e.deck == 1 ? e.atMs - 6000 : -1);
        EXPECT_EQ(at, handOvers) << second << ": the music keeps its deck";
        EXPECT_EQ(ReadBytes(a.hours + "hourToPlay.m3u"),
                  "TheHourIs.mp3\r\nh2.mp3\r\nkai.mp3\r\nm30.mp3\r\n");
    }
}

// The play list cannot be written (a full disk, a folder that cannot hold it): the operator
// is told why, no old list is said in its place, and the music comes back at its time.
TEST(HourAnnouncementTest, APlayListThatCannotBeWrittenIsToldAndTheMusicComesBack) {
    for (bool diskFull : {true, false}) {
        AnnouncementRig a;
        const QString folder =
            diskFull ? a.hours : file_failure::PathUnderRegularFile(a.rig.dir.path(), "lists");
        a.hour.SetPlayListFolder(folder);
        WriteBytes(a.hours + "hourToPlay.m3u", "old.mp3\r\n");
        a.hour.BitBtnSayHour1Click();
        {
            const file_failure::FileSizeLimit limit(diskFull ? 20 : 1 << 20);
            a.rig.Advance(2000);
        }
        a.rig.Advance(20'000);
        ASSERT_EQ(a.problems.size(), 1) << diskFull;
        const QString reason = diskFull ? "File too large" : "Not a directory";
        EXPECT_EQ(a.problems[0],
                  QDir(folder).filePath("hourToPlay.m3u") + " could not be written: " + reason);
        EXPECT_EQ(ReadBytes(a.hours + "hourToPlay.m3u"), "old.mp3\r\n");
        EXPECT_TRUE(a.said.isEmpty()) << diskFull;
        for (const auto& load : a.rig.Events("load"))
            EXPECT_FALSE(load.detail.contains("hourToPlay")) << diskFull;
        EXPECT_EQ(a.restored, 1);
        const VolumeBars& bars = a.rig.engine.Bars();
        EXPECT_EQ(bars.Volume(0), bars.Level(VolumeBars::LevelBox::EditFadeIn0)) << diskFull;
    }
}

TEST(HourAnnouncementTest, MissingRecordingsAreToldOnceForEachSetAndTheRestIsSaid) {
    AnnouncementRig a({"h2", "m30"});
    for (int minutes : {0, 0, 10}) {  // 14:30 twice, then 14:40
        a.rig.Advance(minutes * 60'000);
        a.hour.BitBtnSayHour1Click();
        a.rig.Advance(2000);
    }
    const QString said = "TheHourIs.mp3 kai.mp3";
    EXPECT_EQ(a.said, QStringList({said, said, said + " m40.mp3"}));
    ASSERT_EQ(a.problems.size(), 2);
    EXPECT_TRUE(a.problems[0].contains(" h2.mp3, m30.mp3 in ") &&
                a.problems[1].contains(" h2.mp3 in "));
}

}  // namespace
