#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>

#include "support/files.h"
#include "support/station_folder.h"

#if defined(STAVOX_MIXER_BINARY) && defined(STAVOX_SERVICE_UNIT)
namespace {

// The unit as the package installs it, checked by the service manager's own reader, which
// tells on standard error what it ignores. The manual page is not installed here.
TEST(ServiceUnit, PassesTheServiceManagersCheck) {
    const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
    if (analyze.isEmpty()) GTEST_SKIP() << "systemd-analyze is not installed";
    QTemporaryDir dir;
    QByteArray unit = ReadBytes(STAVOX_SERVICE_UNIT);
    ASSERT_TRUE(unit.contains("ExecStart=/usr/bin/stavox-mixer\n"));
    const QString file = dir.filePath("stavox-mixer.service");
    WriteBytes(file, unit.replace("/usr/bin/stavox-mixer", STAVOX_MIXER_BINARY));
    QProcess verify;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", dir.path());
    verify.setProcessEnvironment(env);
    verify.start(analyze, {"--user", "--man=no", "verify", file});
    ASSERT_TRUE(verify.waitForFinished(30'000));
    EXPECT_EQ(verify.exitCode(), 0);
    EXPECT_EQ(verify.readAllStandardError(), "");
}

// Started as the unit starts it: ready after start-up, what is on air as the status, and
// the watchdog's keep-alive at half its interval until the core's thread hangs, while the
// process lives on for the watchdog to end. Its standard error is the journal's stream: each
// line carries its priority.
TEST(ServiceUnit, TheStationTellsTheManagerItIsReadyWhatAirsAndKeepsAliveUntilTheCoreHangs) {
    QTemporaryDir home;
    StationFolder station;
    station.AddList("day", {30, 30});
    station.WriteDays({{QDate::currentDate().dayOfWeek() % 7, "00:00", "24:00", "day|"}});
    // The decks are looked up a second after the start, not six.
    QDir().mkpath(home.filePath(".config/Kelmar"));
    WriteBytes(home.filePath(".config/Kelmar/Stavox.conf"), "[General]\nWaitSecInBeggining=1\n");
    // The manager's side of the notify socket: one datagram a message.
    const int manager = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    std::strncpy(address.sun_path, QFile::encodeName(home.filePath("notify")).constData(),
                 sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(manager, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const auto next = [manager](int withinMs) {  // empty when nothing comes in time
        pollfd ready{manager, POLLIN, 0};
        char message[4096];
        const ssize_t n = ::poll(&ready, 1, withinMs) == 1 ? ::recv(manager, message, 4096, 0) : 0;
        return QByteArray(message, n > 0 ? n : 0);
    };
    auto env = PrivateHomeEnvironment(home.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("NOTIFY_SOCKET", home.filePath("notify"));
    env.insert("WATCHDOG_USEC", "400000");
    env.insert("STAVOX_HANG_CORE_AFTER_MS", "3000");
    const QString journal = home.filePath("journal");
    WriteBytes(journal, {});
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(journal).constData(), &st), 0);
    env.insert("JOURNAL_STREAM", QStringLiteral("%1:%2").arg(st.st_dev).arg(st.st_ino));
    QProcess p;
    p.setStandardErrorFile(journal);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(station.StartFolder());
    p.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray heard;
    for (QByteArray m; !heard.contains("READY=1") && !(m = next(30'000)).isEmpty();)
        heard += m + '\n';
    EXPECT_TRUE(
        heard.contains("READY=1\nSTATUS=Started in " + QFile::encodeName(station.StartFolder())))
        << heard.toStdString();
    // Then messages until the keep-alives are missing for a second, over twice their interval.
    int keepAlives = 0;
    QElapsedTimer sinceReady;
    sinceReady.start();
    for (QByteArray m; sinceReady.elapsed() < 8'000 && !(m = next(1'000)).isEmpty();
         heard += m + '\n')
        keepAlives += m == "WATCHDOG=1";
    EXPECT_GE(keepAlives, 4) << heard.toStdString();
    EXPECT_TRUE(heard.contains("STATUS=On air: day - Track 1\n")) << heard.toStdString();
    EXPECT_LT(sinceReady.elapsed(), 8'000) << "the keep-alives went on after the hang";
    EXPECT_FALSE(p.waitForFinished(100)) << ReadBytes(journal).toStdString();
    EXPECT_TRUE(ReadBytes(journal).contains("<6>Simulated decks air nothing:"))
        << ReadBytes(journal).toStdString();
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished(10'000);
    ::close(manager);
}

}  // namespace
#endif
