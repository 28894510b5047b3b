// Every file the station writes, written over and over by its real writer in a child
// process that is killed (SIGKILL) at a random moment: afterwards the file is always one
// whole version, and a fresh read takes it. STAVOX_SAVE_KILLS sets the kills per file,
// STAVOX_SAVE_KILL_SEED repeats a run (the seed is printed).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

#include "app/as_run_file.h"
#include "app/favorites.h"
#include "app/settings.h"
#include "base/settings_table.h"
#include "base/text_file.h"
#include "library/list_shelf.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"
#include "spots/spot_file.h"
#include "support/file_failure.h"
#include "support/files.h"

namespace {

int EnvNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariable(name).toInt(&ok);
    return ok ? value : fallback;
}

std::mt19937& Random() {
    static std::mt19937 random = [] {
        const auto seed = static_cast<std::uint32_t>(
            EnvNumber("STAVOX_SAVE_KILL_SEED", static_cast<int>(std::random_device{}() >> 1)));
        std::cout << "save kills: seed " << seed << std::endl;
        return std::mt19937(seed);
    }();
    return random;
}

// Runs save(n) for n = first, first + 1, ... in a child until it is killed, at a random
// moment after its first save; the child's last words are its exit.
void KillWhileSaving(const std::function<void(int)>& save, int first = 0) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (int n = first;; ++n) {
            save(n);
            if (n == first) (void)!::write(ready[1], "r", 1);
        }
    }
    ::close(ready[1]);  // so a writer that dies before its first save ends the read
    char byte = 0;
    const ssize_t got = ::read(ready[0], &byte, 1);
    ::close(ready[0]);
    if (got != 1) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        FAIL() << "the writer died before its first save";
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 4000)(Random())));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself";
}

// Version 0 and 1 of a file's lines: of different sizes, so a file cut short or mixed
// matches neither.
QStringList Version(int version, int lines, const QString& pattern) {
    QStringList text;
    const QString mark = version == 0 ? QString("x") : QString(30, u'ω');
    for (int i = 0; i < lines; ++i) text << pattern.arg(mark).arg(i);
    return text;
}

QByteArray Bytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += text_file::EncodeText(line) + "\r\n";
    return bytes;
}

struct SavedFile {
    const char* what;
    QString path;  ///< below the station folder
    std::function<QStringList(int version)> lines;
    std::function<Result(const QStringList& lines)> write;
    std::function<ReadResult<QStringList>()> read;
};

std::vector<SavedFile> StationFiles(const QString& station) {
    const DataFolders folders = MakeDataFolders(station + "/");
    CreateDataFolders(folders);
    auto list = [](int v) { return Version(v, 60, "/music/Άλμπουμ %1/Τραγούδι %2.mp3"); };
    auto day = [](int v) { return Version(v, day_program::kSlotCount, "Λίστα %1 no %2"); };
    auto spots = [](int v) { return Version(v, spot_file::kLines, "/spots/spot %1-%2.mp3"); };
    auto lines = [](int v) { return Version(v, 40, "line %1 of %2"); };
    // Written by their owners (the jingle wall, the station, the hour announcement) as lines.
    auto plain = [](const char* what, const QString& path, auto versions) {
        return SavedFile{what, path, versions,
                         [path](const QStringList& l) { return text_file::WriteLines(path, l); },
                         [path] { return text_file::ReadLines(path); }};
    };
    return {
        {"list", folders.ListsPath + "Rock", list,
         [=](const QStringList& l) { return list_file::Write(folders.ListsPath, "Rock", l); },
         [=] { return list_file::Read(folders.ListsPath, "Rock"); }},
        {"day file", folders.DaysPath + "3", day,
         [=](const QStringList& l) { return day_program::WriteDay(folders.DaysPath, 3, l); },
         [=] { return day_program::ReadDay(folders.DaysPath, 3); }},
        {"spot file", folders.SpotsPath + "2-1", spots,
         [=](const QStringList& l) { return spot_file::Write(folders.SpotsPath, 2, 1, l); },
         [=] { return spot_file::Read(folders.SpotsPath, 2, 1); }},
        {"favourites", folders.StartFolder + kFavoritesFileName, lines,
         [=](const QStringList& l) { return WriteFavorites(folders, l); },
         [=] { return ReadFavorites(folders); }},
        plain("jingle banks", folders.SpotsPath + "jingles", lines),
        plain("played list", folders.ListsPath + "played today", list),
        plain("hour announcement", folders.HoursPath + "hourToPlay.m3u", lines),
    };
}

TEST(SaveKills, EveryFileIsOneWholeVersionAfterAKillAndNoLeftoverShowsAsAList) {
    QTemporaryDir dir;
    const int kills = EnvNumber("STAVOX_SAVE_KILLS", 20);
    for (const SavedFile& file : StationFiles(dir.path())) {
        SCOPED_TRACE(file.what);
        const QStringList versions[] = {file.lines(0), file.lines(1)};
        for (int kill = 0; kill < kills; ++kill) {
            KillWhileSaving([&](int n) { file.write(versions[n % 2]); });
            const QByteArray bytes = ReadBytes(file.path);
            ASSERT_TRUE(bytes == Bytes(versions[0]) || bytes == Bytes(versions[1]))
                << "kill " << kill << ": " << bytes.size() << " bytes";
            const ReadResult<QStringList> read = file.read();
            ASSERT_TRUE(read.ok()) << read.message().toStdString();
            EXPECT_TRUE(read.value == versions[0] || read.value == versions[1]);
        }
    }
    const DataFolders folders = MakeDataFolders(dir.path() + "/");
    EXPECT_EQ(ListShelfNames(folders.ListsPath), QStringList({"played today", "Rock"}));
}

constexpr QFile::Permissions kReadOnlyFolder = QFile::ReadOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther;

// Root is not stopped by permission bits: as root, write() runs in a child that has become
// nobody, owner of the paths given, and its result comes back through a pipe.
Result WriteWithoutRoot(const QStringList& owned, const std::function<Result()>& write) {
    if (::geteuid() != 0) return write();
    int out[2];
    if (::pipe(out) != 0) return Result::Error("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        for (const QString& path : owned) (void)!::chown(qPrintable(path), 65534, 65534);
        const bool nobody = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        const Result result = nobody ? write() : Result::Error("could not become nobody");
        const QByteArray text = result.ok() ? QByteArray("ok") : result.message().toUtf8();
        (void)!::write(out[1], text.constData(), text.size());
        ::_exit(0);
    }
    ::close(out[1]);
    QByteArray text;
    char block[512];
    for (ssize_t n; (n = ::read(out[0], block, sizeof block)) > 0;) text.append(block, n);
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return text == "ok" ? Result::Ok() : Result::Error(QString::fromUtf8(text));
}

// A full disk (the size limit) or a read-only folder: each writer reports the file and the
// system's reason, the old file stays as it was and nothing is left beside it.
TEST(SaveKills, AFullDiskOrAReadOnlyFolderKeepsTheOldFileAndSaysWhy) {
    QTemporaryDir dir;
    // Open to all but the read-only folder, so nobody is stopped by that folder alone.
    QFile::setPermissions(dir.path(), kReadOnlyFolder | QFile::WriteOwner);
    for (const SavedFile& file : StationFiles(dir.path())) {
        SCOPED_TRACE(file.what);
        const QStringList old = file.lines(0), replacement = file.lines(1);
        ASSERT_EQ(file.write(old), Result::Ok());
        const QString folder = QFileInfo(file.path).absolutePath();
        const QStringList before = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        Result full;
        {
            const file_failure::FileSizeLimit limit(Bytes(replacement).size() - 1);
            full = file.write(replacement);
        }
        EXPECT_EQ(full, Result::Error(file.path + " could not be written: File too large"));
        {
            const auto permissions = QFile::permissions(folder);
            QFile::setPermissions(folder, kReadOnlyFolder);
            const Result refused =
                WriteWithoutRoot({folder, file.path}, [&] { return file.write(replacement); });
            QFile::setPermissions(folder, permissions);
            EXPECT_EQ(refused,
                      Result::Error(file.path + " could not be written: Permission denied"))
                << refused.message().toStdString();
        }
        EXPECT_EQ(ReadBytes(file.path), Bytes(old));
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), before);
    }
}

// The settings file, and after the kills the next save neither waits on a lock the killed
// writer left nor fails.
TEST(SaveKills, TheSettingsFileHoldsOneWholeVersionAndTheNextSaveGoesThrough) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Stavox.conf");
    auto store = [&](const QString& marker) {
        QString value = marker;
        SettingsTable table;
        table.Add("Marker", value);
        QMap<QString, ComponentColours> colours = DefaultColours();
        QSettings settings(path, QSettings::IniFormat);
        return SaveSettings(settings, {{&table}, &colours});
    };
    auto saveGoesThrough = [&](const QString& marker) {
        const auto before = std::chrono::steady_clock::now();
        EXPECT_EQ(store(marker), QString());
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(600));
    };
    WriteBytes(path + ".lock", "");  // what a writer killed as it made its lock leaves
    saveGoesThrough("first");
    const QString versions[] = {"old", QString(3000, u'ν')};
    for (int kill = 0; kill < EnvNumber("STAVOX_SAVE_KILLS", 20); ++kill) {
        KillWhileSaving([&](int n) { store(versions[n % 2]); });
        QSettings fresh(path, QSettings::IniFormat);
        EXPECT_EQ(fresh.status(), QSettings::NoError) << "kill " << kill;
        const QString marker = fresh.value("Marker").toString();
        EXPECT_TRUE(marker == versions[0] || marker == versions[1]) << marker.size() << " chars";
        saveGoesThrough(versions[kill % 2]);
    }
    // What Qt's own store leaves beside the file (its lock, its temporary files) is no list
    // and does not stop the next save; counted for the record.
    std::cout << "settings: left beside the store: "
              << QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString()
              << std::endl;
}

// The as-run log: no line is lost or glued to another; one cut by the kill is written again.
TEST(SaveKills, TheAsRunLogHoldsEveryLineWrittenWhole) {
    QTemporaryDir dir;
    auto line = [](int n) {
        return QString("2026-12-07 10:00:00.000\tstation\tline %1\t").arg(n) + QString(300, u'#');
    };
    int lines = 0;
    for (int kill = 0; kill < EnvNumber("STAVOX_SAVE_KILLS", 20); ++kill) {
        AsRunFile file(dir.path());
        KillWhileSaving([&](int n) { file.Append(line(n)); }, lines);
        QStringList read =
            QString::fromUtf8(ReadBytes(dir.filePath("asrun/2026-12-07.log"))).split('\n');
        int expected = 0;
        for (const QString& text : read) {
            if (text == line(expected))
                ++expected;
            else
                ASSERT_TRUE(line(expected).startsWith(text))
                    << "kill " << kill << ": " << text.toStdString();
        }
        ASSERT_GT(expected, lines);
        lines = expected;
    }
}

}  // namespace
