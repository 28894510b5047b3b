// The demo station that run.sh starts where no station is: made by a script with ffmpeg,
// checked as the station reads it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "media/mpeg_data.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"
#include "spots/hour_announcement.h"
#include "support/files.h"

namespace {

const QString kScript = QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                        QStringLiteral("/../../scripts/make-demo-station.sh");

struct ScriptRun {
    int exitCode = -1;
    QString err;
};

ScriptRun RunScript(const QString& folder,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("bash"), {kScript, folder});
    const bool finished = p.waitForFinished(300'000);
    EXPECT_TRUE(finished) << "the script did not finish";
    return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

// A number the station holds when no settings were stored (the settings test keeps the file).
int StoredDefault(const char* key) {
    return QSettings(STAVOX_APP_TEST_DATA "/defaults.conf", QSettings::IniFormat)
        .value(key)
        .toInt();
}

// The week as the station reads it: every slot of every day belongs to a program whose
// lists exist, hold only playable files, share no track, and hold more music than the
// program's span once each track gives up its crossfade. Every text file is UTF-8 with
// CR LF after every line; every line of a list is an absolute path.
void CheckWeek(const QString& station) {
    const QString lists = station + "/pro1/";
    const int mixing = StoredDefault("MixingTime");
    QHash<QString, qint64> musicOf;  // list name -> seconds it fills
    QHash<QString, QSet<QString>> tracksOf;
    QSet<QString> seen;  // the kinds of title, program and list the week holds
    const auto readList = [&](const QString& name) {
        const ReadResult<QStringList> list = list_file::Read(lists, name);
        EXPECT_TRUE(list.ok() && !list.value.isEmpty()) << name.toStdString() << " unreadable";
        for (const QString& path : list.value) {
            const std::uint32_t length = TrackLength(path);
            EXPECT_GT(length, std::uint32_t(mixing)) << path.toStdString();
            musicOf[name] += qint64(length) - mixing;
            tracksOf[name].insert(path);
            const QString title = TrackTitle(path);
            EXPECT_TRUE(title.contains(" - ") && title.endsWith(".mp3")) << title.toStdString();
            seen << (std::ranges::any_of(title,
                                         [](QChar c) { return c.script() == QChar::Script_Greek; })
                         ? "Greek"
                         : "Latin");
        }
    };
    for (int day = 0; day < 7; ++day) {
        SCOPED_TRACE(day);
        const QStringList slots = day_program::ReadDay(station + "/days1/", day).value;
        EXPECT_NE(slots[0], day_program::kSameSlot);
        for (int s = 0; s < day_program::kSlotCount;) {
            const day_program::ProgramSpan span = day_program::SpanOfSlot(slots, s);
            const QString value = slots[span.startSlot];
            SCOPED_TRACE(value.toStdString());
            ASSERT_NE(value, day_program::kNullSlot) << "slot " << s << " plays nothing";
            const QStringList names = SplitProgramValue(value);
            ASSERT_LE(names.size(), kMaxProgramLists);
            seen << (names.size() == 1 ? "one list" : "lists");
            if (span.endSlot - span.startSlot > 1) seen << "same slots";
            qint64 music = 0;
            QSet<QString> inProgram;
            for (const QString& name : names) {
                if (!musicOf.contains(name)) readList(name);
                if (IsCdList(name)) seen << "CD";
                EXPECT_FALSE(inProgram.intersects(tracksOf[name])) << "a song would come twice";
                inProgram.unite(tracksOf[name]);
                music += musicOf[name];
            }
            EXPECT_GE(music, qint64(span.endSlot - span.startSlot) * 30 * 60)
                << "the program runs dry";
            s = span.endSlot;
        }
    }
    EXPECT_EQ(seen, QSet<QString>({"Greek", "Latin", "one list", "lists", "same slots", "CD"}));
    for (const QString& folder : {station + "/days1/", lists}) {
        for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files)) {
            SCOPED_TRACE(f.filePath().toStdString());
            const QByteArray raw = ReadBytes(f.filePath());
            EXPECT_EQ(QString::fromUtf8(raw).toUtf8(), raw) << "not UTF-8";
            EXPECT_TRUE(raw.endsWith("\r\n") && raw.count("\r\n") == raw.count('\n'));
            EXPECT_TRUE(folder == lists || raw.count('\n') == day_program::kSlotCount);
            for (const QString& line :
                 folder == lists ? list_file::Read(lists, f.fileName()).value : QStringList())
                EXPECT_TRUE(QFileInfo(line).isAbsolute() && QFileInfo(line).isFile())
                    << line.toStdString();
        }
    }
}

TEST(DemoStation, MadeOnceKeptOnRerunsAndFollowsAMove) {
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty() ||
        QStandardPaths::findExecutable("espeak-ng").isEmpty())
        GTEST_SKIP() << "the demo station is made with ffmpeg and espeak-ng";
    QTemporaryDir dir;
    const QString station = dir.path() + "/demo";
    const ScriptRun made = RunScript(station);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    CheckWeek(station);
#ifdef STAVOX_MIXER_BINARY
    {  // The program's own pre-flight check finds nothing to warn of in the demo's week.
        QTemporaryDir home;
        QProcess check;
        check.setProcessEnvironment(PrivateHomeEnvironment(home.path()));
        check.setWorkingDirectory(station);
        check.start(STAVOX_MIXER_BINARY,
                    {"--check", "--from", "2026-12-07 00:00:00", "--for", "7d"});
        ASSERT_TRUE(check.waitForFinished(20'000));
        EXPECT_EQ(QString::fromUtf8(check.readAllStandardOutput()).toStdString(), "# 0 warnings\n");
        EXPECT_EQ(check.exitCode(), 0);
    }
#endif
    for (int minute = 0; minute < 24 * 60; ++minute)  // "Hour" speaks at any time of day
        for (const QString& name : HourFragments(minute / 60, minute % 60, 0))
            ASSERT_GT(QFileInfo(station + "/hour1/" + name + ".mp3").size(), 1000)
                << name.toStdString();
    // The jingle wall's first bank is a list of a few short stings; the other ten are free.
    const QStringList banks = text_file::ReadLines(station + "/spots1/jingles").value;
    ASSERT_EQ(banks.size(), 11);
    EXPECT_EQ(banks.mid(1).join(' '), "J1 J2 J3 J4 J5 J6 J7 J8 J9 J10");
    const QStringList stings = list_file::Read(station + "/pro1/", banks[0]).value;
    EXPECT_GE(stings.size(), 3);
    for (const QString& sting : stings)
        EXPECT_TRUE(TrackLength(sting) > 0 && TrackLength(sting) < 10) << sting.toStdString();
    // A second run finds the station complete and touches nothing.
    const QStringList tree = FileTree(station);
    EXPECT_EQ(RunScript(station).exitCode, 0);
    EXPECT_EQ(FileTree(station), tree);
    // An interrupted run: a track, a list and a day file are missing and a half-written
    // track is left behind. The next run makes what is missing and keeps the rest.
    const QString track = list_file::Read(station + "/pro1/", "Greek").value.first();
    const QString part = station + "/music/.part-7.mp3", marker = station + "/.stavox-demo";
    ASSERT_TRUE(QFile::remove(track));
    ASSERT_TRUE(QFile::remove(station + "/pro1/Hits"));
    ASSERT_TRUE(QFile::remove(station + "/days1/3"));
    WriteBytes(part, "half a frame");
    WriteBytes(marker, "building\n");
    EXPECT_EQ(RunScript(station).exitCode, 0);
    EXPECT_GT(TrackLength(track), 0u);
    EXPECT_FALSE(QFile::exists(part));
    const auto untouched = [&](QStringList files) {
        for (const QString& remade : {track, station + "/pro1/Hits", station + "/days1/3", marker})
            files.removeIf([&](const QString& f) { return f.startsWith(remade + " "); });
        return files;
    };
    EXPECT_EQ(untouched(FileTree(station)), untouched(tree));
    CheckWeek(station);
    // Moved elsewhere, the station's lists follow its tracks.
    const QString moved = dir.path() + "/moved";
    ASSERT_TRUE(QDir().rename(station, moved));
    EXPECT_EQ(RunScript(moved).exitCode, 0);
    for (const QString& path : list_file::Read(moved + "/pro1/", "Ballads").value)
        EXPECT_TRUE(path.startsWith(moved + "/music/") && QFileInfo(path).isFile())
            << path.toStdString();
    // So do its spots, heard at every quarter hour.
    const QStringList spots = text_file::ReadLines(moved + "/spots1/6-3").value;
    EXPECT_EQ(spots.size(), 240);
    EXPECT_TRUE(QFileInfo(spots.value(230)).isFile() && spots.value(230).startsWith(moved))
        << spots.value(230).toStdString();
}

TEST(DemoStation, RefusesAForeignFolderAndReportsAFailingFfmpeg) {
    QTemporaryDir dir;
    // Someone's own files are never mixed with a demo.
    WriteBytes(dir.path() + "/notes.txt", "mine");
    const ScriptRun refused = RunScript(dir.path());
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains("not a demo station")) << refused.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"notes.txt"});
    // An ffmpeg that has the encoder but fails on every track.
    const QString bin = dir.path() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    WriteBytes(bin + "/ffmpeg",
               "#!/bin/sh\n"
               "case \"$*\" in *-encoders*) echo ' A..... libmp3lame'; exit 0;; esac\n"
               "echo 'Unknown encoder' >&2; exit 1\n");
    QFile::setPermissions(bin + "/ffmpeg", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", bin + ":" + env.value("PATH"));
    const QString station = dir.path() + "/demo";
    const ScriptRun failed = RunScript(station, env);
    EXPECT_NE(failed.exitCode, 0);
    EXPECT_TRUE(failed.err.contains("ffmpeg failed to make") &&
                failed.err.contains("Unknown encoder"))
        << failed.err.toStdString();
    EXPECT_TRUE(QDir(station + "/music").entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_FALSE(QFile::exists(station + "/days1/0")) << "no calendar of tracks that do not exist";
}

}  // namespace
