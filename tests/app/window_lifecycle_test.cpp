#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>

#include "support/files.h"

#ifdef STAVOX_MIXER_BINARY
namespace {

// The station computer shuts down with SIGTERM (or an operator presses Ctrl+C): the
// station must close as its window closes, settings first, nothing lost. A write that
// fails ends in a message, never in a signal that stops the close half way. Started
// under nohup, the station plays on when the terminal goes.
TEST(WindowLifecycle, StartsInAnEmptyFolderAndClosesOnSignalsWritingEverythingItCan) {
    const struct {
        int signal;
        void (*inChild)() = [] {};
        QByteArray settings = {};  // seeded before the start
        const char* report = "";   // on stderr; %1 is the settings file
        bool ignored = false;      // the signal is ignored: SIGTERM closes the station
    } cases[] = {
        {SIGTERM},
        {SIGINT},
        {SIGHUP},
        {SIGTERM,
         [] {  // the as-run log goes to a reader that went away
             int fds[2];
             if (::pipe(fds) == 0 && ::dup2(fds[1], STDOUT_FILENO) >= 0) ::close(fds[0]);
             ::signal(SIGPIPE, SIG_DFL);
         }},
        {SIGTERM,
         [] {
             rlimit limit{};
             ::getrlimit(RLIMIT_FSIZE, &limit);
             limit.rlim_cur = 1000;
             ::setrlimit(RLIMIT_FSIZE, &limit);
             ::signal(SIGXFSZ, SIG_DFL);
         },
         {},
         "The settings could not be written to %1: File too large"},
        {SIGTERM, [] {}, "[General]\nMixingTime=7\n[colors\n", "The settings in %1 are damaged"},
        {SIGHUP, [] { ::signal(SIGHUP, SIG_IGN); }, {}, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        QTemporaryDir home, folder;
        const QString conf = home.path() + "/.config/Kelmar/Stavox.conf";
        if (!c.settings.isEmpty() && QDir().mkpath(home.path() + "/.config/Kelmar"))
            WriteBytes(conf, c.settings);
        // Simulated decks, an empty folder, a private home; start-up has made its folders.
        QProcess p;
        auto env = PrivateHomeEnvironment(home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder.path());
        p.setChildProcessModifier(c.inChild);
        p.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});
        for (int i = 0; i < 600 && !QDir(folder.path() + "/spots1").exists(); ++i)
            p.waitForFinished(50);
        ASSERT_TRUE(QDir(folder.path() + "/spots1").exists()) << "start-up took over 30 s";
        p.waitForFinished(1'000);
        ASSERT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().toStdString();
        ::kill(pid_t(p.processId()), c.signal);
        if (c.ignored) {
            EXPECT_FALSE(p.waitForFinished(1'000)) << "closed on a hang-up it was told to ignore";
            ::kill(pid_t(p.processId()), SIGTERM);
        }
        ASSERT_TRUE(p.waitForFinished(10'000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"days1", "favorites.txt", "hour1", "pro1", "spots1"}));
        EXPECT_EQ(QDir(folder.path() + "/days1").entryList(QDir::Files).size(), 1);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_TRUE(err.contains(QString(c.report).replace("%1", conf))) << err.toStdString();
        // Qt's and the video panel's own output stays in the station's log.
        for (const char* noise : {"listing codecs", "propagateSizeHints"})
            EXPECT_FALSE(err.contains(noise)) << err.toStdString();
        const bool written = !QString(c.report).contains("could not be written");
        EXPECT_EQ(err.contains("could not be written"), !written) << err.toStdString();
        QSettings stored(conf, QSettings::IniFormat);
        EXPECT_EQ(
            stored.status() == QSettings::NoError && stored.contains("colors/ScrollBoxSpots1"),
            written);
        // It holds the streams' passwords: its user's alone.
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
        EXPECT_TRUE(!written || !(QFile(conf).permissions() & others));
        QByteArray expected = ReadBytes(STAVOX_APP_TEST_DATA "/defaults.conf");
        if (!c.settings.isEmpty()) expected.replace("MixingTime=20", "MixingTime=7");
        EXPECT_EQ(written ? ReadBytes(conf) : expected, expected);
    }
}

// Two stations of one user in one folder, the second a trial beside the first: only the one
// that drives the decks keeps the as-run file, and simulated decks drive none.
TEST(WindowLifecycle, AStationWithSimulatedDecksLeavesTheAsRunFileAlone) {
    QTemporaryDir home, folder;
    QProcess stations[2];
    for (QProcess& p : stations) {
        auto env = PrivateHomeEnvironment(home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder.path());
        p.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});
    }
    for (QProcess& p : stations) {  // each logs its start on standard output, then closes
        for (int i = 0; i < 600 && !p.canReadLine(); ++i) p.waitForReadyRead(50);
        EXPECT_TRUE(p.readLine().contains("\tstation\t"));
        ::kill(pid_t(p.processId()), SIGTERM);
        ASSERT_TRUE(p.waitForFinished(10'000));
        EXPECT_TRUE(p.readAllStandardError().contains("as-run log goes to standard output"));
    }
    EXPECT_FALSE(QDir(folder.path() + "/asrun").exists());
}

}  // namespace
#endif
