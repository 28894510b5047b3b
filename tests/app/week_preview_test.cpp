#include "app/week_preview.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <map>

#include "app/command_line.h"
#include "playback/main_loop.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/station_folder.h"
#include "support/watchdog.h"

namespace {

struct AsRunLine {
    QDateTime when;
    QString source, event, detail, extra;
};

// Monday 7 December 2026: a program from 10:00 to 11:00 and one of two lists after it.
class WeekPreviewTest : public ::testing::Test {
protected:
    WeekPreviewTest() {
        morning = station.AddList("morning", {200, 190, 230, 185, 240, 205, 215, 195});
        station.AddList("noon", {180, 220, 210, 200, 190, 175});
        station.AddList("jazz", {250, 260, 245});
        station.WriteDays({{1, "10:00", "11:00", "morning"}, {1, "11:00", "12:00", "noon|jazz|"}});
    }
    // The week preview with default settings (or those of store), run in this process from
    // start for duration.
    QList<AsRunLine> Run(const QString& start, const QString& duration,
                         QSettings* store = nullptr) {
        const CommandLine cl = ParseCommandLine({"--simulate", start, "--for", duration});
        EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
        QList<AsRunLine> log;
        const auto parse = [&](const QString& line) {
            const QStringList f = line.split('\t');
            log.append({QDateTime::fromString(f[0], "yyyy-MM-dd HH:mm:ss.zzz"), f.value(1),
                        f.value(2), f.value(3), f.value(4)});
        };
        EXPECT_EQ(RunWeekPreview(cl, station.StartFolder(), store, parse), 0);
        return log;
    }
    StationFolder station;
    QStringList morning;
};

QStringList DetailsOf(const QList<AsRunLine>& log, const QString& event) {
    QStringList details;
    for (const AsRunLine& l : log)
        if (l.event == event) details << l.detail;
    return details;
}

// Shutdown at 10:30, watched from 10:29: the check at 10:30:40 starts the minute's
// countdown, and its end is the preview's last line.
TEST_F(WeekPreviewTest, TheAutomaticShutdownEndsThePreviewWithItsLine) {
    QTemporaryDir dir;
    QSettings store(dir.filePath("stavox.conf"), QSettings::IniFormat);
    store.setValue("ShutDown", "1");
    store.setValue("ShutDownHour", "10");
    store.setValue("ShutDownMin", "30");
    const QList<AsRunLine> log = Run("2026-12-07 10:29:00", "2h", &store);
    EXPECT_EQ(log.last().when.toString("HH:mm:ss.zzz ") + log.last().source + log.last().event,
              "10:31:40.000 stationshutdown");
}

// The morning's eight tracks hold half an hour of the hour's program: the queue lines count
// down what is left, to the last track, after which only the next program brings music.
TEST_F(WeekPreviewTest, EachQueueLineCountsTheTracksLeftBeforeTheNextProgram) {
    QStringList left;
    for (const AsRunLine& l : Run("2026-12-07 10:00:00", "50m"))
        if (l.event == "queue") left << l.extra;
    EXPECT_EQ(left.join(' ').toStdString(), "7 6 5 4 3 2 1 0");
}

TEST_F(WeekPreviewTest,
       ProgramsLoadAtTheirSlotsAndTwiceInTheAutumnHourStartsAreHandedOverMissingTracksPassed) {
    const QList<AsRunLine> log = Run("2026-12-07 09:59:00", "2h");
    // Start-up finds the empty slot (the first tick, which looks again, tells nothing new);
    // then each program loads once, at its boundary, within one tick.
    QStringList programs;
    QList<QDateTime> loads;
    for (const AsRunLine& l : log) {
        if (l.event != "program") continue;
        programs << l.when.toString("HH:mm:ss ") + l.detail;
        // The ticks go on from the last track that ended by itself, so a slot is found
        // anywhere within the tick after its start.
        EXPECT_LT(l.when.time().msec(), kLoopMs) << l.when.toString().toStdString();
    }
    for (const AsRunLine& l : log) {
        if (l.event == "load") loads << l.when;
    }
    EXPECT_EQ(programs.join(", ").toStdString(),
              "09:59:00 ###NULL###, 10:00:00 morning, 11:00:00 noon|jazz|");
    // Nothing plays before 10:00 (the hand-overs themselves are AutomaticProgram's).
    ASSERT_GE(loads.size(), 15);
    EXPECT_GE(loads.first(), QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    // Every queue start names the entry handed over right after it.
    for (int i = 0; i < log.size(); ++i)
        if (log[i].event == "queue") {
            ASSERT_LT(i + 1, log.size());
            EXPECT_EQ(log[i + 1].event, "load");
            EXPECT_TRUE(log[i].detail.startsWith(log[i + 1].detail + "^"));
        }
    // Files that are not there (a drive unplugged) or are no files: none costs a tick.
    QStringList missing{station.MusicPath()};
    for (int i = 1; i <= 8; ++i) missing << station.StartFolder() + QString("/gone/%1.mp3").arg(i);
    missing << station.MusicPath() + "pipe.mp3";
    ASSERT_TRUE(MakeFifo(missing.last()));
    station.WriteList("gone", missing.mid(0, 3));
    station.WriteList("mixed", missing.mid(3) + morning);
    station.WriteDays({{1, "10:00", "10:30", "gone"}, {1, "10:30", "11:00", "mixed"}});
    const QList<AsRunLine> dry = Run("2026-12-07 09:59:00", "40m");
    // Each once, though the queue stays dry until the next program.
    EXPECT_EQ(DetailsOf(dry, "missing").join('\n').toStdString(), missing.join('\n').toStdString());
    const auto load = std::ranges::find(dry, QString("load"), &AsRunLine::event);
    ASSERT_NE(load, dry.end());
    EXPECT_EQ(load->detail + load->when.toString(), morning[0] + "Mon Dec 7 10:30:00 2026");
    // A damaged day is a problem at start-up (the calendar and the program) and again at
    // the first tick, as the window would show it.
    WriteBytes(station.DaysPath() + "1", QByteArray(96, '\0'));
    EXPECT_EQ(DetailsOf(Run("2026-12-07 10:00:00", "10s"), "problem").size(), 3);
    // The repeated hour of the autumn clock change loads its program again.
    const ScopedEnvironmentVariable athens("TZ", "Europe/Athens");
    // Each program holds about 75 minutes of music: enough for its hour, not for two.
    for (const char* name : {"two", "three", "four"})
        station.WriteList(name, morning + morning + morning);
    station.WriteDays({{0, "02:00", "03:00", "two"},
                       {0, "03:00", "04:00", "three"},
                       {0, "04:00", "05:00", "four"}});
    const QList<AsRunLine> autumn = Run("2026-10-25 02:00:00", "239m");
    EXPECT_EQ(DetailsOf(autumn, "program").join(' ').toStdString(), "two three three four");
    EXPECT_EQ(DetailsOf(autumn, "ended").size(), 0) << "a track played to its end: silence";
}

// A day file damaged into one huge entry is named in the program's line, not copied whole.
TEST_F(WeekPreviewTest, AHugeProgramEntryIsLoggedCut) {
    station.WriteDays({{1, "10:00", "11:00", QString(1 << 20, u'x')}});
    const QStringList programs = DetailsOf(Run("2026-12-07 10:00:00", "10m"), "program");
    EXPECT_TRUE(!programs.isEmpty() &&
                programs.filter("x… (1048576 characters)").size() == programs.size());
}

#ifdef STAVOX_MIXER_BINARY
// The program itself, in the station folder with a private home.
class WeekPreviewProgramTest : public WeekPreviewTest {
protected:
    // The environment is made first: it makes the home's runtime folder.
    void SetUp() override { program.setProcessEnvironment(PrivateHomeEnvironment(home.path())); }
    void Start(const QStringList& args) {
        program.setWorkingDirectory(station.StartFolder());
        program.start(STAVOX_MIXER_BINARY, args);
    }
    QTemporaryDir home;
    QProcess program;
};

// Damaged settings are a problem in the log, and nothing is written.
TEST_F(WeekPreviewProgramTest, TheProgramPrintsTheLogAndChangesNothingInTheFolder) {
    const QString conf = home.path() + "/.config/Kelmar/Stavox.conf";
    ASSERT_TRUE(QDir().mkpath(home.path() + "/.config/Kelmar"));
    WriteBytes(conf, "[General]\nMixingTime=7\n[colors\n");
    const QStringList spots{station.MusicPath() + "Spot 1.mp3", station.MusicPath() + "Spot 2.mp3"};
    for (const QString& spot : spots) ASSERT_TRUE(WriteCbrMpeg(spot, 20));
    station.WriteSpots(1, 1, 10, spots);
    const QStringList before = FileTree(station.StartFolder(), true) + FileTree(home.path(), true);
    Start({"--simulate", "2026-12-07 10:00:00", "--for", "45m", "--volumes"});
    ASSERT_TRUE(program.waitForFinished(60'000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QStringList lines =
        QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    static const QRegularExpression format(
        R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\t(deck0|deck1|station|linein|monitor)\t(load|stop|fadestop|pause|resume|jump|ended|volume|program|queue|missing|problem|spot|spot-skipped|spots-cancelled|open|close|jingle|off)(\t.+)?$)");
    for (const QString& line : lines)
        EXPECT_TRUE(format.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(lines.filter("\tvolume\t").size() > 10);
    QStringList handedOver;  // the spots of 10:15, each logged right before its hand-over
    for (int i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].contains("\tspot\t"))
            handedOver << lines[i].left(19) + lines[i + 1].section('\t', 2);
    EXPECT_EQ(handedOver, QStringList({"2026-12-07 10:14:55load\t" + spots[0],
                                       "2026-12-07 10:15:15load\t" + spots[1]}));
    EXPECT_EQ(lines.filter("\tstation\tproblem\tThe settings in ").size(), 1);
    EXPECT_EQ(FileTree(station.StartFolder(), true) + FileTree(home.path(), true), before);
}

// In manual mode a track that ends leaves silence until the operator acts.
TEST_F(WeekPreviewProgramTest, OperatorActionsAreDoneAndLoggedAtTheirTimes) {
    WriteBytes(station.StartFolder() + "/actions.txt",
               "2026-12-07 10:01:00 manual on\r\n# the news\n\n2026-12-07 10:05:00  next\n"
               "2026-12-07 10:10:00 accept-spots\n2026-12-07 10:10:00 manual off\n");
    Start({"--simulate", "2026-12-07 10:00:00", "--for", "12m", "--actions", "actions.txt"});
    ASSERT_TRUE(program.waitForFinished(60'000));
    QStringList seen;
    QDateTime acted;
    for (const QString& line : QString::fromUtf8(program.readAllStandardOutput()).split('\n')) {
        const QStringList f = line.split('\t');
        const QDateTime when = QDateTime::fromString(f[0], "yyyy-MM-dd HH:mm:ss.zzz");
        if (f.value(1) == "operator") acted = when;
        if (f.value(1) == "operator")
            seen << when.toString("HH:mm:ss.zzz ") + f.mid(2).join(' ');
        else if (f.value(2) == "ended" || f.value(2) == "load")  // "!": within a tick
            seen << f[2] + (acted.isValid() && acted.msecsTo(when) <= 400 ? "!" : "");
    }
    EXPECT_EQ(seen.join(", ").toStdString(),
              "load, 10:01:00.000 manual on, ended, 10:05:00.000 next, load!, ended, "
              "10:10:00.000 accept-spots, 10:10:00.000 manual off, load!");
}

// The line input fades in and out in five steps while the deck on air makes room.
TEST_F(WeekPreviewProgramTest, TheLineInputOpensAndClosesAtTheOperatorsWordAndLogsItsLevels) {
    WriteBytes(station.StartFolder() + "/actions.txt",
               "2026-12-07 10:01:00 line-in on\n2026-12-07 10:01:05 line-in off\n");
    Start({"--simulate", "2026-12-07 10:00:00", "--for", "2m", "--volumes", "--actions",
           "actions.txt"});
    ASSERT_TRUE(program.waitForFinished(60'000));
    QStringList line;
    QString onAir;
    std::map<QString, int> deckVolume;  // the deck on air's last volume before each time
    for (const QString& l : QString::fromUtf8(program.readAllStandardOutput()).split('\n')) {
        const QStringList f = l.split('\t');
        const QString time = f[0].mid(14);  // mm:ss.zzz
        if (f.value(1) == "linein" || f.value(1) == "operator")
            line << time + ' ' + f.mid(2).join(' ');
        if (f.value(2) == "load") onAir = f[1];
        if (f.value(1) == onAir && f.value(2) == "volume")
            deckVolume[time < "01:05.000" ? "open" : "closed"] = f[3].toInt();
    }
    EXPECT_EQ(line.join(", ").toStdString(),
              "00:00.000 volume 0, 01:00.000 line-in on, 01:00.000 open, 01:00.200 volume 51, "
              "01:00.400 volume 102, 01:00.600 volume 153, 01:00.800 volume 204, "
              "01:01.000 volume 255, 01:05.000 line-in off, 01:05.000 close, "
              "01:05.200 volume 204, 01:05.400 volume 153, 01:05.600 volume 102, "
              "01:05.800 volume 51, 01:06.000 volume 0");
    // The stored fade levels: out to 30 %, in to 95 %, as the deck's volumes 0..255.
    EXPECT_EQ(deckVolume["open"], 30 * 255 / 100);
    EXPECT_EQ(deckVolume["closed"], 95 * 255 / 100);
}

// The jingle verbs choose a tab and play a button of its bank, counted from 1; a button the
// bank does not have is refused as a problem, not logged as done, and so is a next that
// would do nothing: before the decks are looked up, or once the list ran dry (the morning's
// eight tracks last 28 minutes). Nothing is written.
TEST_F(WeekPreviewProgramTest, JingleVerbsPlayTheBankOfTheTabChosen) {
    const QStringList stings{station.MusicPath() + "Sting 1.mp3",
                             station.MusicPath() + "Sting 2.mp3"};
    for (const QString& sting : stings) ASSERT_TRUE(WriteCbrMpeg(sting, 10));
    station.WriteList("idents", stings);
    WriteBytes(station.SpotsPath() + "jingles", "J0\r\nidents\r\n");
    WriteBytes(station.StartFolder() + "/actions.txt",
               "2026-12-07 10:00:02 next\n2026-12-07 10:01:00 jingle 1\n"
               "2026-12-07 10:02:00 jingle-tab 2\n"
               "2026-12-07 10:02:00 jingle 2\n2026-12-07 10:02:04 stop-jingle\n"
               "2026-12-07 10:03:00 jingle 3\n2026-12-07 10:40:00 next\n");
    const QStringList before = FileTree(station.StartFolder(), true);
    Start({"--simulate", "2026-12-07 10:00:00", "--for", "41m", "--actions", "actions.txt"});
    ASSERT_TRUE(program.waitForFinished(60'000));
    QStringList seen;
    for (const QString& line : QString::fromUtf8(program.readAllStandardOutput()).split('\n')) {
        const QStringList f = line.split('\t');
        if (f[0] < "2026-12-07 10:00:01") continue;
        if (f.value(1) == "operator" || f.value(2) == "jingle" || f.value(2) == "problem" ||
            stings.contains(f.value(3)))
            seen << f[0].mid(11, 8) + ' ' + f.mid(1).join(' ').remove(station.MusicPath());
    }
    EXPECT_EQ(seen.join(", ").toStdString(),
              "10:00:02 station problem next: the station is starting: the decks are looked up "
              "6 s after the start, and only then does next play, "
              "10:01:00 station problem jingle 1: no jingle button 1 (there are 0), "
              "10:02:00 operator jingle-tab 2, "
              "10:02:00 operator jingle 2, 10:02:00 station jingle Sting 2.mp3, "
              "10:02:00 deck0 load Sting 2.mp3, 10:02:04 operator stop-jingle, "
              "10:03:00 station problem jingle 3: no jingle button 3 (there are 2), "
              "10:40:00 station problem next: the queue holds no track, only fillers: its lists "
              "ran dry");
    EXPECT_EQ(FileTree(station.StartFolder(), true), before);
}

// Manual mode holds the quarter's spots until the operator accepts them; a quarter not
// accepted is cancelled, and after the last spot the station stays silent until told.
TEST_F(WeekPreviewProgramTest, ManualModePlaysSpotsOnlyWhenTheOperatorAcceptsThem) {
    const QStringList spots{station.MusicPath() + "Spot 1.mp3", station.MusicPath() + "Spot 2.mp3"};
    for (const QString& spot : spots) ASSERT_TRUE(WriteCbrMpeg(spot, 20));
    station.WriteSpots(1, 1, 10, spots);
    station.WriteSpots(1, 2, 10, spots);
    WriteBytes(station.StartFolder() + "/actions.txt",
               "2026-12-07 10:01:00 manual on\n2026-12-07 10:14:30 accept-spots\n"
               "2026-12-07 10:31:00 manual off\n");
    Start({"--simulate", "2026-12-07 10:00:00", "--for", "32m", "--actions", "actions.txt"});
    ASSERT_TRUE(program.waitForFinished(60'000));
    QStringList seen;  // what aired after the first minute, and the operator's actions
    for (const QString& line : QString::fromUtf8(program.readAllStandardOutput()).split('\n')) {
        const QStringList f = line.split('\t');
        if (f.size() < 3 || f[0] < "2026-12-07 10:01") continue;
        const QString what =
            spots.contains(f.value(3)) || f[2] != "load" ? f.mid(2, 2).join(' ') : "load a track";
        if (f[1] == "operator" || f[2].startsWith("spot") || f[2] == "load")
            seen << f[0].mid(11, 8) + ' ' + QString(what).remove(station.MusicPath());
    }
    EXPECT_EQ(seen.join(", ").toStdString(),
              "10:01:00 manual on, 10:14:30 accept-spots, 10:14:55 spot Spot 1.mp3, "
              "10:14:55 load Spot 1.mp3, 10:15:15 spot Spot 2.mp3, 10:15:15 load Spot 2.mp3, "
              "10:30:00 spots-cancelled 2, 10:31:00 manual off, 10:31:00 load a track");
}

// "Hour" says the time from the station's recordings; its play list goes elsewhere.
TEST_F(WeekPreviewProgramTest, SayHourAnnouncesTheTimeAndWritesNothingInTheStationFolder) {
    for (const char* name : {"TheHourIs", "h10", "kai", "m2"})
        WriteBytes(station.StartFolder() + "/hour1/" + name + ".mp3", "ID3");
    WriteBytes(station.StartFolder() + "/actions.txt", "2026-12-07 10:02:20 say-hour\n");
    const QStringList before = FileTree(station.StartFolder(), true);
    Start({"--simulate", "2026-12-07 10:00:00", "--for", "3m", "--actions", "actions.txt"});
    ASSERT_TRUE(program.waitForFinished(60'000));
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString said =
        "\tannounce\tTheHourIs.mp3 h10.mp3 kai.mp3 m2.mp3\n2026-12-07 10:02:22.000\tdeck";
    EXPECT_TRUE(out.count("\tannounce\t") == 1 && out.contains("10:02:22.000\tstation" + said))
        << out.toStdString();
    EXPECT_EQ(out.section(said, 1).section('\n', 0, 0).section('/', -1), "hourToPlay.m3u");
    EXPECT_EQ(FileTree(station.StartFolder(), true), before);
}
#endif

}  // namespace
