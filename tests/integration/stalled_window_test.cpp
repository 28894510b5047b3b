// The air never waits for the window: a display that stops answering (a hung X server, a
// remote desktop gone quiet) must not move a hand-over. The built program runs simulated
// decks on a display of its own, which the test stops across a hand-over.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>

#include "air_timing.h"
#include "support/files.h"

namespace {

// An X server of the test's own, on a free display it names once it listens.
class PrivateDisplay {
public:
    QString Start() {
        m_server.start(QStandardPaths::findExecutable("Xvfb"),
                       {"-displayfd", "1", "-screen", "0", "1366x768x24", "-nolisten", "tcp"});
        for (QDeadlineTimer d(10'000); !m_server.canReadLine() && !d.hasExpired();)
            m_server.waitForReadyRead(100);
        const QString number = QString::fromLatin1(m_server.readLine()).trimmed();
        return number.isEmpty() ? QString() : ":" + number;
    }
    void Signal(int signal) { ::kill(pid_t(m_server.processId()), signal); }
    ~PrivateDisplay() {
        Signal(SIGCONT);  // a stopped server would not hear the end
        m_server.terminate();
        m_server.waitForFinished(5'000);
    }

private:
    QProcess m_server;
};

// Reads the as-run log the program writes on standard output, keeping when each entry
// started ("station queue" lines carry the station's clock).
class AsRunOnStdout {
public:
    explicit AsRunOnStdout(QProcess& station) : m_station(station) {}

    /// Reads until the n-th entry (from 0) started or the deadline passed.
    QDateTime EntryStart(int n, QDeadlineTimer deadline) {
        while (m_starts.size() <= n && !deadline.hasExpired()) ReadFor(100);
        return m_starts.size() > n ? m_starts[n] : QDateTime();
    }
    /// Reads on until the wall clock shows `until` (the program's output never waits).
    void ReadUntil(const QDateTime& until) {
        while (QDateTime::currentDateTime() < until)
            ReadFor(
                std::clamp(QDateTime::currentDateTime().msecsTo(until), qint64(1), qint64(100)));
    }
    QString Log() const { return m_lines.join('\n'); }

private:
    void ReadFor(qint64 ms) {
        if (!m_station.canReadLine()) m_station.waitForReadyRead(int(ms));
        while (m_station.canReadLine()) {
            m_lines << QString::fromUtf8(m_station.readLine()).trimmed();
            const QStringList f = m_lines.last().split('\t');
            if (f.size() > 2 && f[1] == "station" && f[2] == "queue")
                m_starts << QDateTime::fromString(f[0], "yyyy-MM-dd HH:mm:ss.zzz");
        }
    }

    QProcess& m_station;
    QStringList m_lines;
    QList<QDateTime> m_starts;
};

TEST(StalledDisplay, AStoppedXServerMovesNoHandOver) {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh --tests installs it)";
    PrivateDisplay display;
    const QString name = display.Start();
    ASSERT_FALSE(name.isEmpty()) << "Xvfb named no display within 10 s";
    ShortTrackStation station;
    QProcess program;
    QProcessEnvironment env = PrivateHomeEnvironment(station.home.path());
    env.insert("DISPLAY", name);
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(station.folder.StartFolder());
    program.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});

    // Two undisturbed entries give the hand-over's period; the display stops half the stall
    // before the third entry is due and comes back half the stall after.
    AsRunOnStdout log(program);
    const QDateTime first = log.EntryStart(0, QDeadlineTimer(30'000));
    const QDateTime second = log.EntryStart(1, QDeadlineTimer(kTrackSeconds * 2'000));
    ASSERT_TRUE(second.isValid()) << log.Log().toStdString();
    const QDateTime due = second.addMSecs(first.msecsTo(second));
    log.ReadUntil(due.addMSecs(-kStallMs / 2));
    display.Signal(SIGSTOP);
    log.ReadUntil(due.addMSecs(kStallMs / 2));
    display.Signal(SIGCONT);
    const QDateTime third = log.EntryStart(2, QDeadlineTimer(kTrackSeconds * 1'000));
    ASSERT_TRUE(third.isValid()) << log.Log().toStdString();
    EXPECT_LE(std::abs(due.msecsTo(third)), kOnTimeMs)
        << "the hand-over came " << due.msecsTo(third) << " ms after it was due\n"
        << log.Log().toStdString();
    // It closes as a station does, and a build with a sanitizer found nothing to report (in
    // the log of the libraries' output, which its standard error goes to).
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10'000));
    EXPECT_EQ(program.exitCode(), 0)
        << program.readAllStandardError().toStdString()
        << ReadBytes(station.home.path() + "/run/stavox/trial-run.log").toStdString();
}

}  // namespace
