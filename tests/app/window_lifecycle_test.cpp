#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>

#include "app/settings.h"
#include "support/files.h"

#ifdef STAVOX_MIXER_BINARY
namespace {

// Starts the station with simulated decks in an empty folder and a private home, and
// waits until start-up has made its folders.
void StartStation(QProcess& p, const QString& home, const QString& folder) {
    auto env = PrivateHomeEnvironment(home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});
    ASSERT_TRUE(p.waitForStarted());
    for (int i = 0; i < 600 && !QDir(folder + "/spots1").exists(); ++i) p.waitForFinished(50);
    ASSERT_TRUE(QDir(folder + "/spots1").exists()) << "start-up took over 30 s";
}

// The station computer shuts down with SIGTERM (or an operator presses Ctrl+C): the
// station must close as its window closes, settings first, nothing lost.
TEST(WindowLifecycle, StartsInAnEmptyFolderAndClosesOnSignalsWritingEverything) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir home, folder;
        QProcess p;
        ASSERT_NO_FATAL_FAILURE(StartStation(p, home.path(), folder.path()));
        ASSERT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().toStdString();
        ::kill(pid_t(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(10'000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << signal;

        QStringList entries =
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        entries.sort();
        EXPECT_EQ(entries, QStringList({"days1", "favorites.txt", "hour1", "pro1", "spots1"}));

        const QString conf = home.path() + "/.config/Kelmar/Stavox.conf";
        ASSERT_TRUE(QFileInfo::exists(conf));
        QSettings stored(conf, QSettings::IniFormat);
        EXPECT_EQ(ReadSettings(stored), Settings{});
        for (const char* key :
             {"WinAmpPath", "MixingTime", "PlaySpotEvery", "colors/ListBoxTitles1",
              "ColorFonts/LabelTrackName1", "OwnerMessage"})
            EXPECT_TRUE(stored.contains(key)) << key;
    }
}

// Started under nohup, the station plays on when the terminal goes.
TEST(WindowLifecycle, AHangUpIgnoredAtStartStaysIgnored) {
    QTemporaryDir home, folder;
    QProcess p;
    p.setChildProcessModifier([] { ::signal(SIGHUP, SIG_IGN); });
    ASSERT_NO_FATAL_FAILURE(StartStation(p, home.path(), folder.path()));
    ::kill(pid_t(p.processId()), SIGHUP);
    EXPECT_FALSE(p.waitForFinished(1'000)) << "closed on a hang-up it was told to ignore";
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10'000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
}

}  // namespace
#endif
