#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/as_run_log.h"
#include "app/track_length_command.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/program_runs.h"
#include "support/station_folder.h"
#include "support/watchdog.h"

namespace {

TEST(CommandLine, DurationsModesAndBadArguments) {
    const struct {
        const char* text;
        std::optional<std::int64_t> ms;
    } cases[] = {
        {"90s", 90'000},        {"45m", 2'700'000},  {"6h", 21'600'000},   {"7d", 604'800'000},
        {"0s", std::nullopt},   {"5", std::nullopt}, {"1w", std::nullopt}, {"-3h", std::nullopt},
        {"1.5h", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDuration(c.text), c.ms) << c.text;
    using enum CommandLine::Mode;
    const struct {
        QStringList args;
        CommandLine::Mode mode;
        bool ok;
    } modes[] = {
        {{}, Window, true},
        {{"--player", "simulated", "--ao=null"}, Window, true},
        {{"--simulate", "2026-12-07 06:00:00", "--for", "7d"}, Simulate, true},
        {{"--simulate", "2026-12-07", "--for", "1h"}, Simulate, false},
        {{"--simulate", "2026-12-07 06:00:00"}, Simulate, false},
        {{"--simulate", "2026-12-07 06:00:00", "--for", "soon"}, Simulate, false},
        {{"--simulate", "2026-12-07 06:00:00", "--for", "366d"}, Simulate, true},
        {{"--simulate", "2026-12-07 06:00:00", "--for", "367d"}, Simulate, false},
        {{"--for", "1h"}, Window, false},
        {{"--actions", "a.txt"}, Window, false},
        {{"--track-length", "a.mp3", "--for"}, TrackLength, true},
        {{"--track-length"}, TrackLength, false},
        {{"--analyze", "--jobs", "2", "a.mp3", "--jobs"}, Analyze, true},
        {{"--jobs", "3", "--analyze", "a.mp3"}, Analyze, true},
        {{"--analyze", "--jobs", "0", "a.mp3"}, Analyze, false},
        {{"--analyze", "--jobs", "a.mp3"}, Analyze, false},
        {{"--analyze"}, Analyze, false},
        {{"--volumes", "--analyze", "a.mp3"}, Analyze, false},
        {{"--send", "library-search", "--analyze"}, Send, true},
        {{"--player", "vlc"}, Window, false},
        {{"--bogus"}, Window, false},
        {{"--help"}, Help, true},
        {{"--player", "simulated", "--version"}, Version, true},
        {{"--dead-entries", "spots"}, DeadEntries, true},
        {{"--dead-entries", "all"}, DeadEntries, false},
        {{"--dead-entries", "songs", "--search", "love"}, DeadEntries, false},
        {{"--send"}, Send, false},
        {{"--player", "simulated", "--send", "next"}, Send, false},
        {{"--send", "next\npause"}, Send, false},
    };
    for (const auto& c : modes) {
        const CommandLine cl = ParseCommandLine(c.args);
        EXPECT_EQ(cl.mode, c.mode) << c.args.join(' ').toStdString();
        EXPECT_EQ(cl.error.isEmpty(), c.ok)
            << c.args.join(' ').toStdString() << " " << cl.error.toStdString();
    }
    // A date that is no date says why.
    const std::pair<QStringList, const char*> dates[] = {
        {{"--simulate", "-2026-12-07 06:00:00", "--for", "1h"},
         "bad start time \"-2026-12-07 06:00:00\": a year takes four digits, without a sign"},
        {{"--spot-report", "2027-02-29", "2027-03-01"},
         "--spot-report: bad day \"2027-02-29\": the calendar has no day 2027-02-29"},
        {{"--simulate", "2026-12-07 24:00:00", "--for", "1h"},
         "bad start time \"2026-12-07 24:00:00\": a day has no time 24:00:00"},
        {{"--check", "--from", "2027-03-28 03:30:00"},
         "bad start time \"2027-03-28 03:30:00\": that time never comes here: the clocks go "
         "forward from 03:00 to 04:00 that night"},
    };
    const ScopedEnvironmentVariable athens("TZ", "Europe/Athens");
    for (const auto& [args, error] : dates)
        EXPECT_EQ(ParseCommandLine(args).error.toStdString(), error);
    // File names after --track-length are files, even when they look like options.
    EXPECT_EQ(ParseCommandLine({"--track-length", "a.mp3", "--for"}).files,
              QStringList({"a.mp3", "--for"}));
    EXPECT_EQ(ParseCommandLine({"--simulate", "2026-12-07 06:00:00", "--for", "1h"}).simulateStart,
              QDateTime(QDate(2026, 12, 7), QTime(6, 0)));
    // Qt's own options are QApplication's; the --ao options go to the decks.
    EXPECT_EQ(ParseCommandLine({"-platform", "offscreen", "--ao", "null", "--ao-pcm-file=x",
                                "-style=fusion", "--ao=pulse"})
                  .playerOptions,
              QStringList({"--ao-pcm-file=x", "--ao=null", "--ao=pulse"}));
}

#ifdef STAVOX_MIXER_BINARY
TEST(CommandLine, TheProgramAnswersOnTheRightStreamWithItsExitCode) {
    const ProgramRun cases[] = {
        {{"--help"}, 0, "usage: stavox-mixer [--player", ""},
        {{"--version"}, 0, "Stavox Mixer 2.17\n", ""},
        {{"--bogus"}, 2, "", "usage: stavox-mixer [--player"},
        {{"--simulate", "tomorrow", "--for", "1h"}, 2, "", "usage: stavox-mixer [--player"},
        {{"--simulate", "2026-12-07 10:00:00", "--for", "1h", "--actions", "/no/such/file"},
         2,
         "",
         "The actions file /no/such/file cannot be read: "},
    };
    ExpectProgramRuns(STAVOX_MIXER_BINARY, cases);
}

// The nightly check reads the station in the current folder, removes nothing, and its exit
// code tells whether anything is dead.
TEST(CommandLine, DeadEntriesArePrintedWithTheirListAndNothingIsRemoved) {
    StationFolder station;
    const QString there = station.MusicPath() + "there.mp3", gone = station.MusicPath() + "gone";
    const QString away = station.StartFolder() + "/share/away.mp3";
    WriteBytes(there, "");
    station.WriteList("pop", {there, gone, away});
    station.WriteList("CD_old", {gone});
    station.WriteSpots(1, 0, 9, {there});
    const QStringList before = FileTree(station.StartFolder(), true);
    const struct {
        const char* kind;
        int exitCode;
        QString out;
    } cases[] = {
        {"songs", 1, "pop\t" + gone + "\npop\t" + away + "\tunreachable\n"},
        {"spots", 0, ""},
        {"lists", 2, ""},
    };
    for (const auto& c : cases) {
        QProcess p;
        p.setWorkingDirectory(station.StartFolder());
        p.start(STAVOX_MIXER_BINARY, {"--dead-entries", c.kind});
        ASSERT_TRUE(p.waitForFinished(10'000));
        EXPECT_EQ(p.exitCode(), c.exitCode) << c.kind;
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), c.out) << c.kind;
        EXPECT_EQ(p.readAllStandardError().contains("--dead-entries songs|spots"), c.exitCode == 2);
    }
    EXPECT_EQ(FileTree(station.StartFolder(), true), before);
}
#endif

TEST(CommandLine, TrackLengthAndTheAsRunLogPrintOneTabbedLineEachAndFlagUnreadableFiles) {
    QTemporaryDir dir;
    const QString a = dir.filePath("άλμπουμ 1.mp3"), text = dir.filePath("notes.txt"),
                  missing = dir.filePath("gone.mp3"), fifo = dir.filePath("fifo.mp3"),
                  empty = dir.filePath("empty.mp3"), hole = dir.filePath("hole.mp3");
    ASSERT_TRUE(WriteCbrMpeg(a, 185) && MakeFifo(fifo));
    WriteBytes(text, "not audio\n");
    WriteBytes(empty, "");
    QFile sparse(hole);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(4LL << 30));
    QString out, err;
    QTextStream outs(&out), errs(&err);
    // Files without a frame of audio are no tracks of 0 s.
    EXPECT_EQ(RunTrackLengthCommand({a, text, empty, hole}, outs, errs), 1);
    EXPECT_EQ(out, "185\t" + a + "\n0\t" + text + "\n0\t" + empty + "\n0\t" + hole + "\n");
    EXPECT_EQ(err.count(": no MPEG audio frame"), 3) << err.toStdString();
    err.clear();
    // A FIFO is flagged at once instead of waiting for a writer.
    out.clear();
    int result = -1;
    const auto run = [&] { result = RunTrackLengthCommand({missing, fifo, a}, outs, errs); };
    EXPECT_TRUE(ReturnsWithin(20000, run, [&] { ReleaseFifoReader(fifo); }));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(out, "0\t" + missing + "\n0\t" + fifo + "\n185\t" + a + "\n");
    EXPECT_TRUE(err.contains(missing)) << err.toStdString();
    // The as-run log: one event a line, no stray line breaks.
    const QDateTime t(QDate(2026, 12, 7), QTime(10, 0, 0, 40));
    EXPECT_EQ(AsRunLog::FormatLine(t, "deck1", "load", "C:\\Music\\a b.mp3").toStdString(),
              "2026-12-07 10:00:00.040\tdeck1\tload\tC:\\Music\\a b.mp3");
    EXPECT_EQ(AsRunLog::FormatLine(t, "deck0", "stop", "odd\tname\n").toStdString(),
              "2026-12-07 10:00:00.040\tdeck0\tstop\todd name ");
}

}  // namespace
