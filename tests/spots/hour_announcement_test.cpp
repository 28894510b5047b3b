#include "spots/hour_announcement.h"

#include <gtest/gtest.h>

#include <QDir>
#include <tuple>

#include "support/engine_rig.h"
#include "support/files.h"

namespace {

TEST(HourFragmentsTest, RoundsToTheMinuteAndSaysTheWordsTheRecordingsHold) {
    const std::tuple<QTime, const char*> cases[] = {
        {QTime(14, 29, 40), "TheHourIs h2 kai m30"},
        {QTime(23, 59, 45), "TheHourIs h12 kai"},
        {QTime(12, 11, 0), "TheHourIs h12 kai m11"},
        {QTime(9, 5, 0), "TheHourIs h9 kai m5"},
        {QTime(18, 16, 0), "TheHourIs h6 kai m10 m6"},
        {QTime(0, 0, 0), "TheHourIs h12 kai"},
        {QTime(12, 59, 30), "TheHourIs h1 kai"},  // into the next hour
        {QTime(13, 12, 29), "TheHourIs h1 kai m12"},
        {QTime(10, 10, 0), "TheHourIs h10 kai m10"},
        {QTime(11, 19, 30), "TheHourIs h11 kai m20"},
        {QTime(11, 47, 0), "TheHourIs h11 kai m40 m7"},
        {QTime(0, 9, 0), "TheHourIs h12 kai m9"},
    };
    for (const auto& [time, said] : cases)
        EXPECT_EQ(HourFragments(time.hour(), time.minute(), time.second()).join(' ').toStdString(),
                  said)
            << time.toString().toStdString();
}

// An announcement on simulated decks at 14:29:40, with the recordings in hour1 but those
// named missing, counting what the listeners hear.
struct AnnouncementRig {
    explicit AnnouncementRig(const QStringList& missing = {})
        : rig(QDateTime(QDate(2026, 12, 7), QTime(14, 29, 34))),
          hours(rig.dir.path() + "/hour1/"),
          hour(hours, rig.host, rig.host, rig.engine) {
        EXPECT_TRUE(QDir().mkpath(hours));
        QStringList names{"TheHourIs", "kai"};
        for (int i = 1; i <= 12; ++i) names << QString("h%1").arg(i) << QString("m%1").arg(i);
        for (int i = 20; i <= 50; i += 10) names << QString("m%1").arg(i);
        for (const QString& name : names)
            if (!missing.contains(name + ".mp3")) WriteBytes(hours + name + ".mp3", "ID3");
        QObject::connect(&hour, &HourAnnouncement::Announced,
                         [this](const QStringList& files) { said << files.join(' '); });
        QObject::connect(&hour, &HourAnnouncement::Problem,
                         [this](const QString& message) { problems << message; });
        QObject::connect(&hour, &HourAnnouncement::MusicRestored, [this] { ++restored; });
        rig.StartLoop();
    }
    // When the deck of the announcement received its play lists, in ms from the click.
    std::vector<std::int64_t> HandOvers(std::int64_t clickMs) const {
        std::vector<std::int64_t> at;
        for (const auto& e : rig.Events("load"))
            if (e.detail == hour.PlayListPath()) at.push_back(e.atMs - clickMs);
        return at;
    }
    EngineRig rig;
    QString hours;
    HourAnnouncement hour;
    QStringList said, problems;
    int restored = 0;
};

TEST(HourAnnouncementTest, LowersTheMusicSaysTheTimeTwoSecondsLaterAndRaisesItSixAfter) {
    AnnouncementRig a;
    const VolumeBars& bars = a.rig.engine.Bars();
    const auto level = [&](VolumeBars::LevelBox box) { return bars.Level(box); };
    const std::int64_t click = a.rig.host.ElapsedMs();
    a.hour.BitBtnSayHour1Click();
    a.rig.Advance(1999);
    EXPECT_TRUE(a.HandOvers(click).empty());
    EXPECT_EQ(bars.Volume(0), level(VolumeBars::LevelBox::EditFadeOut0));
    EXPECT_EQ(bars.Volume(1), level(VolumeBars::LevelBox::EditFadeIn1));
    a.rig.Advance(1);
    EXPECT_EQ(a.HandOvers(click), std::vector<std::int64_t>{2000});
    EXPECT_EQ(a.said, QStringList{"TheHourIs.mp3 h2.mp3 kai.mp3 m30.mp3"});
    EXPECT_EQ(ReadBytes(a.hours + "hourToPlay.m3u"),
              "TheHourIs.mp3\r\nh2.mp3\r\nkai.mp3\r\nm30.mp3\r\n");
    EXPECT_EQ(a.rig.Current(), 0) << "the music keeps its deck";
    a.rig.Advance(5999);
    EXPECT_EQ(a.restored, 0);
    EXPECT_TRUE(a.hour.Running());
    a.rig.Advance(5001);
    EXPECT_EQ(a.restored, 1);
    EXPECT_FALSE(a.hour.Running());
    EXPECT_EQ(bars.Volume(0), level(VolumeBars::LevelBox::EditFadeIn0));
    EXPECT_EQ(bars.Volume(1), level(VolumeBars::LevelBox::EditFadeOut1));
    EXPECT_TRUE(a.problems.isEmpty());
}

TEST(HourAnnouncementTest, WithoutTheSecondPlayerTheButtonDoesNothing) {
    AnnouncementRig a;
    a.rig.engine.Players().SecondPlayerFound = false;
    a.hour.BitBtnSayHour1Click();
    a.rig.Advance(10'000);
    EXPECT_TRUE(a.said.isEmpty());
    EXPECT_EQ(a.restored, 0);
}

// A click while an announcement runs starts it over: a new hand-over two seconds after it,
// and the music comes back once, six seconds after the last hand-over.
TEST(HourAnnouncementTest, ASecondClickStartsOverAndTheMusicComesBackOnceAtTheEnd) {
    const std::tuple<int, std::vector<std::int64_t>> cases[] = {
        {1000, {3000}},        // while the music goes down
        {5000, {2000, 7000}},  // while the fragments play
    };
    for (const auto& [second, handOvers] : cases) {
        AnnouncementRig a;
        const std::int64_t click = a.rig.host.ElapsedMs();
        a.hour.BitBtnSayHour1Click();
        a.rig.Advance(second);
        a.hour.BitBtnSayHour1Click();
        const std::int64_t end = handOvers.back() + 6000;
        a.rig.Advance(end - second - 1);
        EXPECT_EQ(a.restored, 0) << second;
        EXPECT_EQ(a.rig.engine.Bars().Volume(0),
                  a.rig.engine.Bars().Level(VolumeBars::LevelBox::EditFadeOut0))
            << second;
        a.rig.Advance(20'000);
        EXPECT_EQ(a.restored, 1) << second;
        EXPECT_EQ(a.HandOvers(click), handOvers) << second;
    }
}

TEST(HourAnnouncementTest, MissingRecordingsAreToldOnceForEachSetAndTheRestIsSaid) {
    AnnouncementRig a({"h2.mp3", "m30.mp3"});
    for (int i = 0; i < 2; ++i) {  // both at 14:29:42, said as 14:30
        a.hour.BitBtnSayHour1Click();
        a.rig.Advance(2000);
    }
    ASSERT_EQ(a.problems.size(), 1);
    EXPECT_TRUE(a.problems[0].contains("h2.mp3, m30.mp3")) << a.problems[0].toStdString();
    EXPECT_EQ(a.said, QStringList({"TheHourIs.mp3 kai.mp3", "TheHourIs.mp3 kai.mp3"}));
    a.rig.Advance(10 * 60'000);  // 14:40: only h2 is missing now
    a.hour.BitBtnSayHour1Click();
    a.rig.Advance(2000);
    ASSERT_EQ(a.problems.size(), 2);
    EXPECT_TRUE(a.problems[1].contains("h2.mp3 in")) << a.problems[1].toStdString();
    EXPECT_EQ(a.said.last(), "TheHourIs.mp3 kai.mp3 m40.mp3");
}

}  // namespace
