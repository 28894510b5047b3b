#include "private_pulse.h"

#include <sys/prctl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <csignal>

namespace {

constexpr int kStartWaitMs = 10000;

// A test killed by a time-out must not leave its daemon and recorder behind.
void EndWithThisProcess(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

bool Answers(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    return socket.waitForConnected(100);
}

}  // namespace

PrivatePulse::PrivatePulse() { m_socket = m_dir.filePath("native"); }

PrivatePulse::~PrivatePulse() {
    StopRecorder();
    End(m_daemon);
}

QString PrivatePulse::Start() {
    if (!m_dir.isValid()) return QStringLiteral("no temporary folder: %1").arg(m_dir.errorString());
    QFile config(m_dir.filePath("daemon.pa"));
    if (!config.open(QIODevice::WriteOnly)) return config.errorString();
    config.write(QStringLiteral("load-module module-native-protocol-unix socket=%1 "
                                "auth-anonymous=1\n"
                                "load-module module-null-sink sink_name=mix\n"
                                "set-default-sink mix\n")
                     .arg(m_socket)
                     .toUtf8());
    config.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", m_dir.path());
    environment.insert("HOME", m_dir.path());
    environment.remove("PULSE_SERVER");
    m_daemon = std::make_unique<QProcess>();
    m_daemon->setProcessEnvironment(environment);
    m_daemon->setProcessChannelMode(QProcess::MergedChannels);
    EndWithThisProcess(*m_daemon);
    // Kept in the foreground as a child of the test, so its process id is known for sure.
    m_daemon->start("pulseaudio",
                    {"-n", "--file=" + config.fileName(), "--daemonize=no", "--exit-idle-time=-1",
                     "--use-pid-file=no", "--realtime=no", "--high-priority=no",
                     "--log-target=stderr", "--log-level=error"});
    if (!m_daemon->waitForStarted(kStartWaitMs))
        return QStringLiteral("pulseaudio cannot be started: %1").arg(m_daemon->errorString());
    QElapsedTimer waited;
    waited.start();
    while (!Answers(m_socket)) {
        if (m_daemon->state() == QProcess::NotRunning || waited.elapsed() > kStartWaitMs)
            return QStringLiteral("pulseaudio did not come up: %1")
                .arg(QString::fromLocal8Bit(m_daemon->readAll()));
        m_daemon->waitForFinished(50);
    }
    return {};
}

void PrivatePulse::UseInThisProcess() {
    const std::pair<const char*, QString> values[] = {
        {"PULSE_SERVER", "unix:" + m_socket},
        {"XDG_RUNTIME_DIR", m_dir.path()},
        {"HOME", m_dir.path()},
    };
    if (!m_environment.empty()) return;  // already in use: the values never change
    for (const auto& [name, value] : values)
        m_environment.push_back(std::make_unique<ScopedEnvironmentVariable>(name, value));
}

QString PrivatePulse::StartRecorder(const QString& rawPath) {
    m_rawPath = rawPath;
    m_recorder = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PULSE_SERVER", "unix:" + m_socket);
    environment.insert("XDG_RUNTIME_DIR", m_dir.path());
    environment.insert("HOME", m_dir.path());
    m_recorder->setProcessEnvironment(environment);
    m_recorder->setStandardOutputFile(rawPath);
    EndWithThisProcess(*m_recorder);
    m_recorder->start("parec", {"-d", "mix.monitor", "--raw", "--format=s16le", "--rate=44100",
                                "--channels=2", "--latency-msec=20"});
    if (!m_recorder->waitForStarted(kStartWaitMs))
        return QStringLiteral("parec cannot be started: %1").arg(m_recorder->errorString());
    // The null sink's monitor runs on the sink's clock, so bytes come even in silence.
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(rawPath).size() == 0) {
        if (m_recorder->state() == QProcess::NotRunning || waited.elapsed() > kStartWaitMs)
            return QStringLiteral("parec records nothing: %1")
                .arg(QString::fromLocal8Bit(m_recorder->readAllStandardError()));
        m_recorder->waitForFinished(20);
    }
    return {};
}

QString PrivatePulse::StopRecorder() {
    QString error;
    if (m_recorder && m_recorder->state() == QProcess::NotRunning)
        error = QStringLiteral("parec ended by itself (exit code %1): %2")
                    .arg(m_recorder->exitCode())
                    .arg(QString::fromLocal8Bit(m_recorder->readAllStandardError()));
    End(m_recorder);
    return error;
}

QString PrivatePulse::DaemonLog() {
    return m_daemon ? QString::fromLocal8Bit(m_daemon->readAll()) : QString();
}

void PrivatePulse::End(std::unique_ptr<QProcess>& process) {
    if (!process) return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
    process.reset();
}
