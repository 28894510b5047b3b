#include "tools/week_check.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "app/command_line.h"
#include "app/week_preview.h"
#include "spots/hour_announcement.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/station_folder.h"

namespace {

TEST(CheckCommandLine, SpanDefaultsAndBadArguments) {
    const struct {
        QStringList args;
        bool ok;
        QDateTime from;
        std::int64_t forMs;
    } cases[] = {
        {{"--check"}, true, {}, 7 * 86'400'000LL},
        {{"--check", "--from", "2026-03-28 22:00:00", "--for", "6h"},
         true,
         QDateTime(QDate(2026, 3, 28), QTime(22, 0)),
         6 * 3'600'000LL},
        {{"--check", "--from", "2026-03-28"}, false, {}, 0},
        {{"--check", "--for", "0d"}, false, {}, 0},
        {{"--check", "--for", "367d"}, false, {}, 0},
        {{"--from", "2026-03-28 22:00:00"}, false, {}, 0},
        {{"--check", "--simulate", "2026-03-28 22:00:00", "--for", "1d"}, false, {}, 0},
        {{"--check", "--search", "x"}, false, {}, 0},
    };
    for (const auto& c : cases) {
        const CommandLine cl = ParseCommandLine(c.args);
        const std::string name = c.args.join(' ').toStdString();
        EXPECT_EQ(cl.error.isEmpty(), c.ok) << name << ": " << cl.error.toStdString();
        if (!c.ok) continue;
        EXPECT_EQ(cl.mode, CommandLine::Mode::Check) << name;
        EXPECT_EQ(cl.checkFrom, c.from) << name;
        EXPECT_EQ(cl.checkForMs, c.forMs) << name;
    }
    EXPECT_TRUE(UsageText().contains("--check [--from")) << "the usage names the check";
}

// A file the length reader takes for `seconds` of audio from its Xing frame count, though
// it holds few frames.
void WriteLongTrack(const QString& path, int seconds) {
    MpegFileLayout layout;
    layout.audioBytes = 4000 + seconds * 128;  // about 1 kbit/s: a count the file can hold
    layout.xingFrames = (seconds * 44'100 + 1151) / 1152;
    ASSERT_TRUE(WriteMpegFile(path, layout)) << path.toStdString();
}

// A spot file of a weekday and quarter with one spot at each of these hours.
void WriteSpotHours(const StationFolder& station, int weekday, int quarter,
                    const QMap<int, QString>& spotOfHour) {
    QStringList lines(240, "###NULL###");
    for (auto [hour, path] : spotOfHour.asKeyValueRange()) lines[hour * 10] = path;
    WriteBytes(station.SpotsPath() + QString("%1-%2").arg(weekday).arg(quarter),
               (lines.join("\r\n") + "\r\n").toUtf8());
}

// The check of [from, from + hours): its warnings of these kinds as "HH:MM detail".
QStringList CheckLines(const StationFolder& station, const QDateTime& from, int hours,
                       const QStringList& kinds) {
    QStringList lines;
    for (const auto& w :
         week_check::CheckWeek({MakeDataFolders(station.StartFolder())}, from, hours * 3'600'000LL))
        if (kinds.contains(w.kind)) lines << w.when.toString("HH:mm ") + w.detail;
    return lines;
}

// Sunday 29 March and 25 October 2026 in Athens: the clocks go forward at 03:00 and back at
// 04:00. Spots are missing at 03:00, 04:00 and 04:15.
TEST(WeekCheck, ClockChangesNameTheSpotsAndProgramsTheStationSkipsOrRepeats) {
    const ScopedEnvironmentVariable athens("TZ", "Europe/Athens");
    const struct {
        QList<StationFolder::Program> programs;
        QString forward, back;  // what the calendar does
    } cases[] = {
        {{{0, "02:00", "03:00", "2"}, {0, "03:00", "04:00", "three"}, {0, "04:00", "05:00", "4"}},
         R"("three" 03:00-04:00 never plays)",
         R"("three" 03:00-04:00 starts again)"},
        {{{0, "02:30", "03:30", "early"}, {0, "03:30", "05:00", "late"}},
         R"("early" 02:30-03:30 ends at 03:00, "late" 03:30-05:00 begins at 04:00)",
         R"("early" 02:30-03:30 starts again at 03:00, "late" 03:30-05:00 starts again)"},
    };
    const QStringList kinds = {"clock-change", "missing-spot"};
    for (const auto& c : cases) {
        StationFolder station;
        station.WriteDays(c.programs);
        WriteSpotHours(station, 0, 0, {{3, "/gone/3"}, {4, "/gone/4"}});
        WriteSpotHours(station, 0, 1, {{4, "/gone/4.15"}});
        EXPECT_EQ(CheckLines(station, QDateTime(QDate(2026, 3, 29), QTime(2, 50)), 3, kinds),
                  QStringList({"02:59 slot 03:00: /gone/3",
                               "04:00 clocks go forward from 03:00 to 04:00: 03:00-04:00 is "
                               "skipped and the spots of 03:15 to 04:00 never play; " +
                                   c.forward,
                               "04:15 slot 04:15: /gone/4.15"}));
        EXPECT_EQ(CheckLines(station, QDateTime(QDate(2026, 10, 25), QTime(2, 50)), 3, kinds),
                  QStringList({"03:00 slot 03:00: /gone/3",
                               "03:00 clocks go back from 04:00 to 03:00: 03:00-04:00 comes "
                               "twice and the spots of 03:15 to 04:00 play twice; " +
                                   c.back,
                               "04:00 slot 04:00: /gone/4", "04:15 slot 04:15: /gone/4.15"}));
    }
}

// A program under way at the start of the span is measured from its own start; its warning
// comes at the span's start. Tabs in names stay out of the line format.
TEST(WeekCheck, ProgramUnderWayAtTheStartAndNamesWithTabs) {
    StationFolder station;
    WriteLongTrack(station.MusicPath() + "1.mp3", 2400);  // 40:00 with its fade
    station.WriteList("Forty", {station.MusicPath() + "1.mp3", "/gone/a\tb.mp3"});
    station.WriteDays({{1, "10:00", "11:00", "Forty"}});
    WriteSpotHours(station, 1, 3, {{10, "/gone/spot\tone.mp3"}});
    // No hour recordings at all: the announcement, played when asked for, is not used.
    const QStringList kinds = {"short-program", "missing-track", "missing-spot", "hour-fragment"};
    EXPECT_EQ(CheckLines(station, QDateTime(QDate(2026, 12, 7), QTime(10, 30)), 1, kinds),
              QStringList({"10:30 Forty: /gone/a b.mp3",
                           R"(10:30 "Forty" 10:00-11:00: music for 40:00 of 60:00)",
                           "10:45 slot 10:45: /gone/spot one.mp3"}));
    // Too little of it left to tell.
    EXPECT_EQ(
        CheckLines(station, QDateTime(QDate(2026, 12, 7), QTime(10, 59, 55)), 1, kinds),
        QStringList());  // A day file damaged into one huge entry is named, not printed back whole.
    station.WriteDays({{1, "10:00", "11:00", QString(1 << 20, u'x')}});
    const QStringList cut =
        CheckLines(station, QDateTime(QDate(2026, 12, 7), QTime(10, 0)), 1, {"missing-list"});
    EXPECT_TRUE(cut.size() == 1 && cut[0].count("… (1048576 characters)\"") == 2 &&
                cut[0].size() < 1'000)
        << cut.join('\n').size();
}

// Whatever the mixing time, the check's music ends where the preview falls silent.
TEST(WeekCheck, ProgramMusicEndsWhereThePreviewFallsSilent) {
    StationFolder station;
    station.AddList("songs", QList<int>(15, 150));
    station.WriteDays({{1, "10:00", "10:30", "songs"}});
    for (const int mixing : {20, 60, 1000, 3600}) {
        QTemporaryDir home;
        QSettings store(home.filePath("stavox.conf"), QSettings::IniFormat);
        store.setValue("MixingTime", mixing);
        QTime silent;  // when a track played out: nothing followed it
        RunWeekPreview(ParseCommandLine({"--simulate", "2026-12-07 09:59:00", "--for", "31m"}),
                       station.StartFolder(), &store, [&](const QString& line) {
                           if (!silent.isValid() && line.section('\t', 2, 2) == "ended")
                               silent = QTime::fromString(line.mid(11, 8));
                       });
        QString told;
        for (const auto& w : week_check::CheckWeek({MakeDataFolders(station.StartFolder()), mixing},
                                                   {QDate(2026, 12, 7), QTime(10, 0)}, 1'800'000))
            if (w.kind == week_check::kShortProgram) told = w.detail;
        const QString said = "'\"songs\" 10:00-10:30: music for 'm:ss' of 30:00'";
        EXPECT_EQ(told, silent.isValid() ? silent.toString(said) : "") << mixing;
    }
}

#ifdef STAVOX_MIXER_BINARY

// The station: one case of every kind of warning in the night from Saturday 28 to Sunday
// 29 March 2026, when Athens puts its clocks forward at 03:00.
class WeekCheckProgramTest : public testing::Test {
protected:
    void SetUp() override {
        const QString music = station.MusicPath();
        good = {music + "good1.mp3", music + "good2.mp3", music + "good3.mp3"};
        for (const QString& path : good) WriteLongTrack(path, 5000);
        WriteLongTrack(music + "short.mp3", 120);
        WriteLongTrack(music + "sting.mp3", 10);  // shorter than the crossfade: cut when settled
        station.WriteList("Good", good);
        station.WriteList("Gaps", {good[0], "/nowhere/gone.mp3"});
        station.WriteList("Short", {music + "short.mp3", music + "sting.mp3"});
        station.WriteList("Empty", {});
        station.WriteList("Lost", {"/nowhere/lost.mp3"});
        station.WriteDays({{6, "22:00", "23:00", "Good|Gaps|Nolist|"},
                           {6, "23:30", "24:00", "Short"},
                           {0, "00:00", "01:00", "Empty"},
                           {0, "01:00", "02:00", "Lost"},
                           {0, "02:00", "07:00", "Good"}});
        station.WriteSpots(6, 2, 22, {"/nowhere/spot.mp3"});
        station.WriteSpots(0, 1, 0, {good[0], "###NULL###", good[1]});
        QStringList longFile(250, "###NULL###");
        WriteBytes(station.SpotsPath() + "0-3", (longFile.join("\r\n") + "\r\n").toUtf8());
        WriteBytes(station.SpotsPath() + "jingles", "J0\r\nNobank\r\n");
        for (int minute = 0; minute < 60; ++minute)
            for (const QString& name : HourFragments(3, minute, 0))
                if (name != "m7")
                    WriteBytes(station.StartFolder() + "/hour1/" + name + ".mp3", "x");
        for (int hour : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12})
            WriteBytes(station.StartFolder() + QString("/hour1/h%1.mp3").arg(hour), "x");
        QSettings conf(home.path() + "/.config/Kelmar/Stavox.conf", QSettings::IniFormat);
        conf.setValue("ShutDown", "1");
        conf.setValue("ShutDownHour", "5");
        conf.setValue("ShutDownMin", "0");
    }

    int Run(const QStringList& args) {
        QProcess program;
        QProcessEnvironment env = PrivateHomeEnvironment(home.path());
        env.insert("TZ", "Europe/Athens");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(station.StartFolder());
        program.start(STAVOX_MIXER_BINARY, args);
        EXPECT_TRUE(program.waitForFinished(20'000));
        out = QString::fromUtf8(program.readAllStandardOutput());
        err = QString::fromUtf8(program.readAllStandardError());
        return program.exitCode();
    }

    StationFolder station;
    QTemporaryDir home;
    QStringList good;
    QString out;
    QString err;
};

TEST_F(WeekCheckProgramTest, EveryKindOfWarningInTimeOrder) {
    const QStringList expected = {
        "2026-03-28 22:00\tjingle-bank\ttab 1: \"Nobank\": no such list",
        "2026-03-28 22:00\thour-fragment\thour1/m7.mp3 is missing",
        "2026-03-28 22:00\tmissing-track\tGaps: /nowhere/gone.mp3",
        "2026-03-28 22:00\tmissing-list\t\"Nolist\" of program \"Good|Gaps|Nolist|\": no such list",
        "2026-03-28 22:30\tmissing-spot\tslot 22:30: /nowhere/spot.mp3",
        "2026-03-28 23:00\tdead-air\t23:00-23:30, empty slot",
        "2026-03-28 23:30\tshort-program\t\"Short\" 23:30-24:00: music for 1:51 of 30:00",
        "2026-03-29 00:00\tdead-air\t00:00-01:00, empty program \"Empty\"",
        "2026-03-29 00:15\tspot-overflow\tslot 00:15 (spot file 0-1): 1 spot after an empty place "
        "never airs",
        "2026-03-29 00:45\tspot-overflow\tspot file 0-3: 10 lines past the 240th never air",
        "2026-03-29 01:00\tmissing-track\tLost: /nowhere/lost.mp3",
        "2026-03-29 01:00\tdead-air\t01:00-02:00, every track missing in \"Lost\"",
        "2026-03-29 04:00\tclock-change\tclocks go forward from 03:00 to 04:00: 03:00-04:00 is "
        "skipped and the spots of 03:15 to 04:00 never play; \"Good\" 02:00-07:00 plays on",
        "2026-03-29 05:00\tshutdown\tthe station powers off at 05:01 during \"Good\" 02:00-07:00",
        "# 14 warnings",
    };
    const QStringList before = FileTree(station.StartFolder(), true) + FileTree(home.path());
    EXPECT_EQ(Run({"--check", "--from", "2026-03-28 22:00:00", "--for", "8h"}), 1)
        << err.toStdString();
    EXPECT_EQ(out.toStdString(), (expected.join('\n') + '\n').toStdString());
    // The check only reads: the station and its settings are as they were.
    EXPECT_EQ(FileTree(station.StartFolder(), true) + FileTree(home.path()), before);
}

TEST_F(WeekCheckProgramTest, CleanSpanAndBadArguments) {
    // Sunday's long program after the shutdown, with every file there.
    QFile::remove(station.SpotsPath() + "jingles");
    QFile::remove(station.SpotsPath() + "0-3");
    WriteBytes(station.StartFolder() + "/hour1/m7.mp3", "x");
    EXPECT_EQ(Run({"--check", "--from", "2026-03-29 05:10:00", "--for", "1h"}), 0);
    EXPECT_EQ(out, "# 0 warnings\n");
    EXPECT_EQ(Run({"--check", "--for", "1w"}), 2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("usage:")) << err.toStdString();
}

#endif

}  // namespace
