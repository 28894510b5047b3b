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

// The station computer shuts down with SIGTERM (or an operator presses Ctrl+C): the
// station must close as its window closes, settings first, nothing lost.
TEST(WindowLifecycle, StartsInAnEmptyFolderAndClosesOnSignalsWritingEverything) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir home, folder;
        auto env = PrivateHomeEnvironment(home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder.path());
        p.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});
        ASSERT_TRUE(p.waitForStarted());
        // Wait until start-up has made the folders, then signal.
        for (int i = 0; i < 600 && !QDir(folder.filePath("spots1")).exists(); ++i)
            p.waitForFinished(50);
        ASSERT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().toStdString();
        ASSERT_TRUE(QDir(folder.filePath("spots1")).exists()) << "start-up took over 30 s";
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

}  // namespace
#endif
