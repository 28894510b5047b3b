#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "support/files.h"

/// A PulseAudio daemon of the test's own: a private folder as its runtime and home
/// folder, one null sink "mix", and a recorder on the sink's monitor. The processes it
/// starts are ended by their own process ids when it goes, and the environment it set
/// is put back.
class PrivatePulse {
public:
    PrivatePulse();
    ~PrivatePulse();
    PrivatePulse(const PrivatePulse&) = delete;
    PrivatePulse& operator=(const PrivatePulse&) = delete;

    /// Starts the daemon and waits until it takes clients; an error text, empty on success.
    QString Start();
    /// Points PULSE_SERVER, XDG_RUNTIME_DIR and HOME of this process (and so of every
    /// program started from it) at the daemon.
    void UseInThisProcess();
    /// Records the mix as raw 44.1 kHz 16-bit stereo into rawPath and waits until the
    /// first bytes arrive; an error text, empty on success.
    QString StartRecorder(const QString& rawPath);
    /// Ends the recorder; an error text when it had ended by itself before, empty otherwise.
    QString StopRecorder();

    /// What the daemon has printed so far (its errors).
    QString DaemonLog();

    /// The private folder; room for sockets and files of the test.
    QString Folder() const { return m_dir.path(); }

private:
    static void End(std::unique_ptr<QProcess>& process);

    QTemporaryDir m_dir;
    QString m_socket;
    std::unique_ptr<QProcess> m_daemon;
    std::unique_ptr<QProcess> m_recorder;
    QString m_rawPath;
    std::vector<std::unique_ptr<ScopedEnvironmentVariable>> m_environment;  // restored at the end
};
