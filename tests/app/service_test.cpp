#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
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

// The service manager's side of the notify socket: one datagram per message.
class NotifySocket {
public:
    explicit NotifySocket(const QString& path) : m_fd(::socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, QFile::encodeName(path).constData(),
                     sizeof address.sun_path - 1);
        m_bound = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~NotifySocket() { ::close(m_fd); }
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;

    bool Bound() const { return m_bound; }
    /// The next message, or empty when none comes within ms.
    QByteArray Next(int ms) {
        pollfd ready{m_fd, POLLIN, 0};
        char message[4096];
        const ssize_t n = ::poll(&ready, 1, ms) == 1 ? ::recv(m_fd, message, sizeof message, 0) : 0;
        return QByteArray(message, n > 0 ? n : 0);
    }

private:
    int m_fd;
    bool m_bound = false;
};

// The unit as the package installs it, checked by the service manager's own reader, which
// says what it ignores on standard error. The manual page is not installed here.
TEST(ServiceUnit, PassesTheServiceManagersCheck) {
    const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
    if (analyze.isEmpty()) GTEST_SKIP() << "systemd-analyze is not installed";
    QTemporaryDir dir;
    QByteArray unit = ReadBytes(STAVOX_SERVICE_UNIT);
    ASSERT_TRUE(unit.contains("ExecStart=/usr/bin/stavox-mixer\n"));
    WriteBytes(dir.filePath("stavox-mixer.service"),
               unit.replace("/usr/bin/stavox-mixer", STAVOX_MIXER_BINARY));
    QProcess verify;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", dir.path());
    verify.setProcessEnvironment(env);
    verify.start(analyze, {"--user", "--man=no", "verify", dir.filePath("stavox-mixer.service")});
    ASSERT_TRUE(verify.waitForFinished(30'000));
    EXPECT_EQ(verify.exitCode(), 0);
    EXPECT_EQ(verify.readAllStandardError(), "");
}

// Started as the unit starts it: ready after start-up, what is on air as the status, and
// the watchdog's keep-alive at half its interval until the core's thread hangs, while the
// process lives on for the watchdog to end.
TEST(ServiceUnit, TheStationTellsTheManagerItIsReadyWhatAirsAndKeepsAliveUntilTheCoreHangs) {
    QTemporaryDir home;
    StationFolder station;
    station.AddList("day", {30, 30});
    station.WriteDays({{QDate::currentDate().dayOfWeek() % 7, "00:00", "24:00", "day|"}});
    // The decks are looked up a second after the start, not six.
    QDir().mkpath(home.filePath(".config/Kelmar"));
    WriteBytes(home.filePath(".config/Kelmar/Stavox.conf"), "[General]\nWaitSecInBeggining=1\n");
    NotifySocket manager(home.filePath("notify"));
    ASSERT_TRUE(manager.Bound());
    auto env = PrivateHomeEnvironment(home.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("NOTIFY_SOCKET", home.filePath("notify"));
    env.insert("WATCHDOG_USEC", "400000");
    env.insert("STAVOX_HANG_CORE_AFTER_MS", "3000");
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(station.StartFolder());
    p.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray heard;
    for (QByteArray m; !heard.contains("READY=1") && !(m = manager.Next(30'000)).isEmpty();)
        heard += m + '\n';
    EXPECT_TRUE(
        heard.contains("READY=1\nSTATUS=Started in " + QFile::encodeName(station.StartFolder())))
        << heard.toStdString();
    // Messages until the keep-alives have been missing for more than twice their interval.
    int keepAlives = 0;
    QElapsedTimer sinceReady;
    sinceReady.start();
    for (QByteArray m; sinceReady.elapsed() < 8'000 && !(m = manager.Next(600)).isEmpty();) {
        keepAlives += m == "WATCHDOG=1";
        heard += m + '\n';
    }
    EXPECT_GE(keepAlives, 4) << heard.toStdString();
    EXPECT_TRUE(heard.contains("STATUS=On air: day - Track 1\n")) << heard.toStdString();
    EXPECT_LT(sinceReady.elapsed(), 8'000) << "the keep-alives went on after the hang";
    EXPECT_FALSE(p.waitForFinished(100)) << p.readAllStandardError().toStdString();
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished(10'000);
}

}  // namespace
#endif
