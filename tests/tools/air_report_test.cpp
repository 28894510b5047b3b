#include "tools/air_report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "app/command_line.h"
#include "support/files.h"
#include "support/program_runs.h"
#include "support/station_folder.h"

namespace {

// "2026-12-07 10:MM:SS.mmm", `ms` after 10:00.
QString At(int ms) {
    return QDateTime(QDate(2026, 12, 7), QTime(10, 0))
        .addMSecs(ms)
        .toString("yyyy-MM-dd HH:mm:ss.zzz");
}

// One as-run line at `ms`, as the station writes it (with its line end).
QByteArray Line(int ms, const QStringList& fields) {
    return (At(ms) + '\t' + fields.join('\t') + '\n').toUtf8();
}

// A minute of the log: what the decks and the line input did, then an alarm for a silence
// that began `silentFrom` seconds past the minute, its recovery steps, and its sound after
// `soundAfter` seconds (never: -1).
struct Scene {
    const char* expected;  // lasted, brought back by, playing
    int silentFrom;
    const char* steps;  // separated by "|"
    double soundAfter;
    const char* before;  // lines "SECOND<TAB>SOURCE<TAB>EVENT...", each ended by "\n"
};

TEST(AirReport, SilencesTellWhatPlayedAndWhatBroughtTheSoundBack) {
    const Scene scenes[] = {
        {"7.0 s\tnext\ttrack /m/a.mp3", 20, "next", 7.0,
         "0\tstation\tqueue\t/m/a.mp3^Hits\t12\n0\tdeck0\tload\t/m/a.mp3\n"},
        {"3.2 s\tcame back by itself\tspot /m/s.mp3", 3, "", 3.24,
         "0\tstation\tspot\t/m/s.mp3\t2026-12-07 10:15 #1\n0\tdeck1\tload\t/m/s.mp3\n"},
        // A jingle over a track is what is heard; once it ends, the track is again.
        {"12.0 s\trestart\tjingle /m/j.mp3", 8, "restart", 12.0,
         "0\tdeck0\tload\t/m/a.mp3\n5\tstation\tjingle\t/m/j.mp3\n5\tdeck1\tload\t/m/j.mp3\n"},
        {"6.0 s\tcame back by itself\ttrack /m/a.mp3", 10, "", 6.0,
         "0\tdeck0\tload\t/m/a.mp3\n5\tdeck1\tload\t/m/j.mp3\n9\tdeck1\tended\n"},
        {"5.0 s\tcame back by itself\thour TheHourIs.mp3 h10.mp3", 1, "", 5.0,
         "0\tstation\tannounce\tTheHourIs.mp3 h10.mp3\n0\tdeck0\tload\t/t/h.m3u\n"},
        // What changed between the silence's start and its alarm does not count.
        {"9.0 s\tcame back by itself\tline", 29, "", 9.0,
         "0\tlinein\topen\n30\tlinein\tclose\n30\tstation\tclose\n"},
        {"still silent at the next alarm\tnext\ttrack /m/a.mp3", 30, "next", -1,
         "0\tdeck0\tload\t/m/a.mp3\n"},
        {"still silent at the end of the log\temergency Night music\tnothing", 0,
         "next|restart|emergency\tNight music", -1, "0\tdeck0\tstop\n"},
    };
    QByteArray log = Line(-1000, {"monitor", "silence", At(-60'000)});  // before this log began
    log += Line(-500, {"monitor", "sound", "8.0"});
    for (int i = 0; i < int(std::size(scenes)); ++i) {
        const Scene& s = scenes[i];
        const int minute = (i + 1) * 60'000, start = minute + s.silentFrom * 1000;
        for (const QString& line : QString(s.before).split('\n', Qt::SkipEmptyParts)) {
            const qsizetype tab = line.indexOf('\t');
            log += Line(minute + line.first(tab).toInt() * 1000, {line.mid(tab + 1)});
        }
        // The alarm comes a few seconds after the silence began, each step a second later.
        log += Line(start + 5000, {"monitor", "silence", At(start)});
        const QStringList steps = QString(s.steps).split('|', Qt::SkipEmptyParts);
        for (int k = 0; k < steps.size(); ++k)
            log += Line(start + 5100 + k * 1000, {"monitor", "recovery", steps[k]});
        if (s.soundAfter >= 0)
            log += Line(start + s.soundAfter * 1000,
                        {"monitor", "sound", QString::number(s.soundAfter)});
    }
    const air_report::Report report = air_report::Read(log);
    EXPECT_EQ(report.badLines, 0);
    ASSERT_EQ(report.silences.size(), qsizetype(std::size(scenes)) + 1);
    EXPECT_EQ(report.silences[0].playing, "unknown");
    const QStringList lines = air_report::TextLines(report, 5);
    for (int i = 0; i < int(std::size(scenes)); ++i) {
        const Scene& s = scenes[i];
        EXPECT_EQ(lines.at(i + 2).toStdString(),
                  ("silence\t" + At((i + 1) * 60'000 + s.silentFrom * 1000) + '\t' + s.expected)
                      .toStdString());
    }
    // The short one (3.2 s) is not counted; those never heard to end are.
    EXPECT_TRUE(lines.constLast().startsWith("# 9 silences, 8 of 5 s or more; 0 transitions;"))
        << lines.constLast().toStdString();
}

TEST(AirReport, TransitionsTheirMedianAndTheTenWorstAmongDamagedLines) {
    // Holes of 0..240 ms in a scrambled order, the quieter the longer; two ties at the top.
    QByteArray log = "\xff\xfe not the station's\n" + Line(0, {"deck0", "load", "/m/a.mp3"});
    for (int i = 0; i < 25; ++i) {
        const int hole = (i * 7 % 25) * 10;
        log += Line(i * 1000, {"monitor", "transition", "track→spot",
                               QString::number(-20 - hole / 10.0), QString::number(hole)});
    }
    log += "\r\n" + At(30'000).toUtf8() + "\tmonitor\ttransition\tspot→hour\t-inf\t240\r\n";
    log += Line(31'000, {"monitor", "transition", "hour→track", "-60.0", "240"});
    log += At(32'000).toUtf8() + "\tmonitor\ttransition\tline→track\t-50.0\t" +
           QByteArray(70'000, '9') + '\n';
    log += Line(33'000, {"monitor", "transition", "jingle→track", "X", "0"}).replace('X', '\0');
    log += Line(34'000, {"monitor", "transition", "track-track", "-50.0", "10"});
    log += Line(35'000, {"monitor", "sound", "soon"});
    log += Line(36'000, {"monitor", "off", "no sound server"});
    log += At(37'000).toUtf8() + "\tdeck0\tload\t/m/cut";  // cut short by a power cut
    const air_report::Report report = air_report::Read(log);
    EXPECT_EQ(report.badLines, 6);
    ASSERT_EQ(report.transitions.size(), 27);
    const QList<air_report::Transition> worst = air_report::Worst(report.transitions, 10);
    ASSERT_EQ(worst.size(), 10);
    EXPECT_EQ((worst[0].from + worst[0].to).toStdString(), "spothour");  // -inf is the quietest
    EXPECT_EQ((worst[1].from + worst[1].to).toStdString(), "hourtrack");
    for (int k = 2; k < 10; ++k) {
        EXPECT_EQ(worst[k].holeMs, 240 - (k - 2) * 10);
        EXPECT_EQ(worst[k].at.toStdString(),
                  At((worst[k].holeMs / 10 * 18 % 25) * 1000).toStdString());  // 18 undoes 7
    }
    const QStringList lines = air_report::TextLines(report, 5);
    EXPECT_EQ(lines.at(1),
              "# 27 transitions: median hole 130 ms, worst hole 240 ms; the 10 worst:");
    EXPECT_EQ(
        lines.at(3).toStdString(),
        QString("transition\t" + At(30'000) + "\tspot→hour\t240 ms\t-inf dBFS").toStdString());
    EXPECT_EQ(lines.at(13).toStdString(),
              QString("off\t" + At(36'000) + "\tno sound server").toStdString());
    EXPECT_EQ(lines.at(14), "# 0 silences, 0 of 5 s or more; 27 transitions; 6 bad lines skipped");
    // Of an even count (0, 70, 140, 210 ms), the shorter of the two middle holes.
    EXPECT_EQ(air_report::MedianHoleMs(report.transitions.first(4)), 70);
    EXPECT_EQ(air_report::MedianHoleMs({}), 0);
}

#ifdef STAVOX_MIXER_BINARY
TEST(AirReport, TheProgramReadsTheDayOfTheStationInTheCurrentFolder) {
    StationFolder station;
    QTemporaryDir home;
    const QString asrun = station.StartFolder() + "/asrun/";
    ASSERT_TRUE(QDir().mkpath(asrun));
    WriteBytes(asrun + "2026-12-07.log",
               Line(5000, {"monitor", "silence", At(0)}) + Line(6000, {"monitor", "sound", "6.0"}));
    WriteBytes(asrun + "2026-12-08.log",
               Line(5000, {"monitor", "silence", At(0)}) + Line(6000, {"monitor", "sound", "4.9"}));
    const ProgramRun cases[] = {
        {{"--air-report", "2026-12-07"}, 1, "# 1 silence, 1 of 5 s or more;", ""},
        {{"--air-report", "2026-12-08"}, 0, "# 1 silence, 0 of 5 s or more;", ""},
        {{"--air-report", "2026-12-09"}, 2, "", "there is no as-run log of 2026-12-09"},
        {{"--air-report", "2026-02-30"}, 2, "", "usage:"},
        {{"--air-report", "2026-12-07", "--player", "simulated"}, 2, "", "--air-report goes alone"},
        {{"--air-report"}, 2, "", "usage:"},
    };
    const QStringList before = FileTree(station.StartFolder(), true);
    ExpectProgramRuns(STAVOX_MIXER_BINARY, cases, PrivateHomeEnvironment(home.path()),
                      station.StartFolder());
    EXPECT_EQ(FileTree(station.StartFolder(), true), before);  // a report only reads
    EXPECT_EQ(ParseCommandLine({"--air-report", "today"}).mode, CommandLine::Mode::AirReport);
}
#endif

}  // namespace
