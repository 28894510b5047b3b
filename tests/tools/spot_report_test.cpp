#include "tools/spot_report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/command_line.h"
#include "app/week_preview.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/station_folder.h"
#include "tools/csv_writer.h"

namespace {

TEST(CsvWriter, FieldsWithCommaQuoteOrLineEndAreQuotedWithTheirQuotesDoubled) {
    const struct {
        const char* field;
        const char* written;
    } cases[] = {
        {"plain text", "plain text"}, {"", ""},
        {"a,b", "\"a,b\""},           {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},           {"two\nlines", "\"two\nlines\""},
        {"cr\ronly", "\"cr\ronly\""}, {" spaced ; semi ", " spaced ; semi "},
        {"Καλημέρα", "Καλημέρα"},
    };
    QStringList fields, written;
    for (const auto& c : cases) {
        EXPECT_EQ(csv::Field(QString::fromUtf8(c.field)), QString::fromUtf8(c.written)) << c.field;
        fields << QString::fromUtf8(c.field);
        written << QString::fromUtf8(c.written);
    }
    EXPECT_EQ(csv::Record(fields), written.join(','));
}

TEST(SpotReportCommandLine, TakesTwoDaysInOrderAndOnlyCsvBeside) {
    const struct {
        QStringList args;
        bool accepted;
    } cases[] = {
        {{"--spot-report", "2026-12-07", "2026-12-08"}, true},
        {{"--spot-report", "2026-12-07", "2026-12-07", "--csv"}, true},
        {{"--csv", "--spot-report", "2025-12-08", "2026-12-07"}, true},
        {{"--spot-report", "2026-12-08", "2026-12-07"}, false},
        {{"--spot-report", "2026-12-07"}, false},
        {{"--spot-report"}, false},
        {{"--spot-report", "2026-12-07", "7.12.2026"}, false},
        {{"--spot-report", "2026-02-30", "2026-03-01"}, false},
        {{"--spot-report", "2025-12-06", "2026-12-07"}, false},
        {{"--spot-report", "2026-12-07", "2026-12-08", "2026-12-09"}, false},
        {{"--csv"}, false},
        {{"--spot-report", "2026-12-07", "2026-12-08", "--player", "simulated"}, false},
        {{"--spot-report", "2026-12-07", "2026-12-08", "--dead-entries", "songs"}, false},
        {{"--simulate", "2026-12-07 10:00:00", "--for", "1h", "--spot-report", "2026-12-07",
          "2026-12-08"},
         false},
        {{"--track-length", "a.mp3", "--spot-report", "2026-12-07", "2026-12-08"}, true},
    };
    for (const auto& c : cases) {
        const CommandLine cl = ParseCommandLine(c.args);
        EXPECT_EQ(cl.error.isEmpty(), c.accepted) << c.args.join(' ').toStdString();
    }
}

// The night of 25 October 2026 in Athens, when the clocks go back from 04:00 to 03:00, as the
// preview runs it: A at 03:15 and B at 04:00 air twice, A at 04:30 after the run.
TEST(SpotReport, RepeatedHourAiringsAndSpotsNotYetDue) {
    const ScopedEnvironmentVariable athens("TZ", "Europe/Athens");
    StationFolder station;
    station.AddList("music", {200, 190, 230, 185, 240, 205, 215, 195});
    station.WriteDays({{0, "02:00", "06:00", "music"}});
    const QString a = station.MusicPath() + "Spot A.mp3";
    const QString b = station.MusicPath() + "Spot B.mp3";
    ASSERT_TRUE(WriteCbrMpeg(a, 20) && WriteCbrMpeg(b, 20));
    station.WriteSpots(0, 1, 3, {a});
    station.WriteSpots(0, 0, 4, {b});
    station.WriteSpots(0, 2, 4, {a});
    ASSERT_TRUE(QDir().mkpath(station.StartFolder() + "/asrun"));
    ASSERT_EQ(
        RunWeekPreview(ParseCommandLine({"--simulate", "2026-10-25 03:10:00", "--for", "115m"}),
                       station.StartFolder(), nullptr,
                       [&station](const QString& line) {
                           QFile log(station.StartFolder() + "/asrun/" + line.left(10) + ".log");
                           if (log.open(QIODevice::Append)) log.write((line + "\r\n").toUtf8());
                       }),
        0);

    // At each time: the status of A at 04:30, then what the summary says of the days.
    const struct {
        QDateTime now;
        QString lastStatus;
        QStringList days;
    } cases[] = {
        {{QDate(2026, 10, 25), QTime(4, 44, 59)},  // the quarter of 04:30 is not over
         "not yet due",
         {"# every day up to now has an as-run log", "# logged only up to 04:44:59: 2026-10-25",
          "# still to come: 2026-10-26"}},
        {{QDate(2026, 11, 2), QTime(9, 0)}, "not aired", {"# no as-run log: 2026-10-26"}},
    };
    const CommandLine report = ParseCommandLine({"--spot-report", "2026-10-25", "2026-10-26"});
    for (const auto& c : cases) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        EXPECT_EQ(RunSpotReportCommand(report, station.StartFolder(), c.now, outStream, errStream),
                  0);
        const QStringList expected =
            QStringList{"2026-10-25 03:15\t1\taired 03:14:55, 03:14:55\t" + a,
                        "2026-10-25 04:00\t1\taired 03:59:55, 03:59:55\t" + b,
                        "2026-10-25 04:30\t1\t" + c.lastStatus + "\t" + a,
                        "# scheduled\taired\tspot",
                        "# 2\t2\t" + a,
                        "# 1\t2\t" + b} +
            c.days;
        EXPECT_EQ(out.section('\n', 1).toStdString(), (expected.join('\n') + '\n').toStdString());
    }
}

// A day's log with damage of a power cut or a foreign editor: NUL bytes at its end, a row's
// line in Latin-1 or cut short (ended when the station came back). Each damaged line is told,
// and every whole line still counts.
TEST(SpotReport, DamagedLinesAreToldAndTheRestOfTheDayCounts) {
    const QByteArray nuls(64, '\0');
    for (const auto& [row, latin1, tail, damaged] : {std::tuple{-1, false, nuls, 1},
                                                     {1, true, QByteArray(), 1},
                                                     {2, false, QByteArray(), 1},
                                                     {1, true, nuls, 2}}) {
        StationFolder station;
        const QStringList spots{station.MusicPath() + "A.mp3",
                                station.MusicPath() + "\u00e9t\u00e9.mp3",
                                station.MusicPath() + "C.mp3"};
        station.WriteSpots(1, 1, 10, spots);
        QByteArray log;
        for (int i = 0; i < 3; ++i) {
            const QString line =
                QString("2026-12-07 10:14:5%1.000\tstation\tspot\t%2\t2026-12-07 10:15 #%3\n")
                    .arg(i + 5)
                    .arg(spots[i])
                    .arg(i + 1);
            log += i == row && latin1 ? line.toLatin1()
                                      : line.toUtf8().remove(line.size() - 5, 4 * (i == row));
        }
        const QString path = station.StartFolder() + "/asrun/2026-12-07.log";
        ASSERT_TRUE(QDir().mkpath(station.StartFolder() + "/asrun"));
        WriteBytes(path, log + tail);
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        EXPECT_EQ(
            RunSpotReportCommand(ParseCommandLine({"--spot-report", "2026-12-07", "2026-12-07"}),
                                 station.StartFolder(), {QDate(2026, 12, 8), QTime(9, 0)},
                                 outStream, errStream),
            1);
        outStream.flush();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(out.contains(QString("10:15\t%1\taired").arg(i + 1)), i != row) << i << row;
        EXPECT_TRUE(err.contains(path + QString(" holds %1 damaged").arg(damaged)))
            << err.toStdString();
    }
}

#ifdef STAVOX_MIXER_BINARY
struct Finished {
    int exitCode = -1;
    QString out, err;
};

Finished RunProgram(const QString& folder, const QString& home, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(PrivateHomeEnvironment(home));
    p.setWorkingDirectory(folder);
    p.start(STAVOX_MIXER_BINARY, args);
    if (!p.waitForFinished(30'000)) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Monday 1 December 2025 has music from 10:00, spots A and B at 10:15 and A at 10:30;
// Tuesday has B at 10:15 and no as-run log. The station's own runs make the logs: one in
// automatic mode with B unchecked, one in manual mode that lets 10:30 go by.
class SpotReportProgramTest : public ::testing::Test {
protected:
    SpotReportProgramTest() {
        station.AddList("music", {200, 190, 230, 185, 240, 205, 215, 195});
        station.WriteDays({{1, "10:00", "12:00", "music"}});
        for (const QString& spot : {a, b}) EXPECT_TRUE(WriteCbrMpeg(spot, 20));
        station.WriteSpots(1, 1, 10, {a, b});
        station.WriteSpots(1, 2, 10, {a});
        station.WriteSpots(2, 1, 10, {b});
    }
    // The preview's log from start for duration, with these actions, kept as the running
    // station keeps it: a file a day, named by each line's date.
    void Simulate(const QString& start, const QString& duration, const QString& actions) {
        const QString file = station.StartFolder() + "/actions.txt";
        WriteBytes(file, actions.toUtf8());
        const Finished run =
            RunProgram(station.StartFolder(), home.path(),
                       {"--simulate", start, "--for", duration, "--actions", file});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        ASSERT_TRUE(QDir().mkpath(station.StartFolder() + "/asrun"));
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
            QFile log(station.StartFolder() + "/asrun/" + line.left(10) + ".log");
            ASSERT_TRUE(log.open(QIODevice::Append));
            log.write((line + "\r\n").toUtf8());
        }
    }
    Finished Report(const QStringList& more = {}) {
        return RunProgram(station.StartFolder(), home.path(),
                          QStringList{"--spot-report", "2025-12-01", "2025-12-02"} + more);
    }

    StationFolder station;
    QTemporaryDir home;
    const QString a = station.MusicPath() + "Spot A.mp3";
    const QString b = station.MusicPath() + "Spot \"B\", late.mp3";
};

TEST_F(SpotReportProgramTest, EachScheduledSpotIsAiredSkippedCancelledOrNotAired) {
    Simulate("2025-12-01 10:13:00", "3m", "2025-12-01 10:14:30 uncheck-spot 2\n");
    Simulate("2025-12-01 10:20:00", "11m", "2025-12-01 10:20:00 manual on\n");
    const Finished text = Report();
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QStringList lines = text.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].startsWith("# ") && lines[0].contains("as it stands now"));
    EXPECT_EQ(
        lines.mid(1).join('\n').toStdString(),
        QStringList({"2025-12-01 10:15\t1\taired 10:14:55\t" + a,
                     "2025-12-01 10:15\t2\tskipped\t" + b, "2025-12-01 10:30\t1\tcancelled\t" + a,
                     "2025-12-02 10:15\t1\tnot aired\t" + b, "# scheduled\taired\tspot",
                     "# 2\t0\t" + b, "# 2\t1\t" + a, "# no as-run log: 2025-12-02"})
            .join('\n')
            .toStdString());

    const Finished csv = Report({"--csv"});
    EXPECT_EQ(csv.exitCode, 0);
    const QString quotedB = '"' + QString(b).replace("\"", "\"\"") + '"';
    EXPECT_EQ(csv.out.split("\r\n").mid(1).join('\n').toStdString(),
              QStringList({"2025-12-01 10:15,1,aired,2025-12-01 10:14:55," + a + ",",
                           "2025-12-01 10:15,2,skipped,," + quotedB + ",",
                           "2025-12-01 10:30,1,cancelled,," + a + ",",
                           "2025-12-02 10:15,1,not aired,," + quotedB + ",no as-run log", ""})
                  .join('\n')
                  .toStdString());

    // A log that cannot be read is told, and the rest is still reported.
    WriteBytes(station.StartFolder() + "/asrun/2025-12-02.log", QByteArray("\0\0", 2));
    const Finished unreadable = Report();
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_TRUE(unreadable.err.contains("2025-12-02.log")) << unreadable.err.toStdString();
    EXPECT_TRUE(unreadable.out.contains("10:15\t1\taired 10:14:55\t" + a));

    const Finished bad = RunProgram(station.StartFolder(), home.path(),
                                    {"--spot-report", "2025-12-02", "2025-12-01"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.contains("--spot-report FROM TO [--csv]")) << bad.err.toStdString();
}
#endif

}  // namespace
