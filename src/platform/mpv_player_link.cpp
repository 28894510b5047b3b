#include "platform/mpv_player_link.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/station_error.h"
#include "platform/library_output.h"
#include "platform/mpv_protocol.h"
#include "platform/player_command_line.h"

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#endif

namespace {

constexpr int kConnectRetryMs = 50;
constexpr int kSlowConnectRetryMs = 500;
constexpr int kPatientConnectMs = 2000;
// A connect to a local socket either succeeds or fails at once; this only covers a
// listener whose backlog is momentarily full.
constexpr int kConnectWaitMs = 20;
constexpr int kExitWaitMs = 50;
constexpr int kShortLifeMs = 10000;
constexpr int kMissingPlayerRetryMs = 30000;
constexpr int kFirstRestartDelayMs = 100;
// How often a deck is watched, and asked for its position (an idle deck sends nothing by
// itself, and its answer shows it is alive).
constexpr int kWatchMs = 100;
constexpr int kAskEveryMs = 250;
// A watch that comes this late means the station itself was held up.
constexpr int kHeldUpMs = 500;
// A deck found hung stays away longer than one tick of the station (400 ms), so the tick
// sees it gone and starts the next entry on the other deck.
constexpr int kHungRestartDelayMs = 1000;
// mpv's lines are short: a deck whose line runs on past this is not mpv's and is dropped,
// rather than its line kept.
constexpr qsizetype kLongestLine = 64 * 1024;
// What one turn of the event loop takes from a deck, and all its socket keeps unread: a
// deck that floods its socket holds neither the station's thread nor its memory.
constexpr qint64 kReadChunk = 64 * 1024;
// mpv whose sound server goes away falls back to the null output and plays on into
// nothing, keeping time; it opens the server's output again only when asked to.
constexpr int kReopenOutputMs = 250;
// How often a deck's log is looked at, to keep it short.
constexpr int kTrimLogMs = 60'000;

QString ResolveProgram(const QString& programPath) {
    const QString program = programPath.isEmpty() ? QStringLiteral("mpv") : programPath;
    if (!program.contains(QLatin1Char('/'))) return QStandardPaths::findExecutable(program);
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

#ifdef Q_OS_UNIX
constexpr int kSpareSocketFolders = 9;

// Creates the folder when missing; whether it is a folder of this user that no other user
// can read or replace (a sudo without -H, say, may have made it root's).
bool MakePrivateFolder(const QString& folder) {
    const QByteArray native = QFile::encodeName(folder);
    ::mkdir(native.constData(), 0700);
    struct stat st {};
    return ::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & 077) == 0;
}
#endif

// A new private folder for this run alone, when the usual ones cannot be had: decks
// still run, but a later run cannot find them to reuse.
QString FreshPrivateFolder(const QString& why) {
#ifdef Q_OS_UNIX
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/stavox-XXXXXX"));
    if (::mkdtemp(pattern.data())) {
        const QString folder = QFile::decodeName(pattern);
        station_error::Print(QStringLiteral("%1; using %2 for this run").arg(why, folder));
        return folder;
    }
#endif
    station_error::Print(why);
    return QDir::tempPath();
}

bool NamesAudioOutput(const QStringList& arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const QString& a) { return a.startsWith(QLatin1String("--ao")); });
}

}  // namespace

struct MpvPlayerLink::Deck {
    MpvPlayerLink* link = nullptr;
    int index = 0;
    QString name;  // the deck's class name
    QString socketPath;
    // What the player and the libraries in it print (ALSA, JACK and PipeWire looking for a
    // sound server, say): kept here, not on the station's standard error.
    QString logPath;
    QString program;
    bool wanted = false;  // launched (or reused by a launch): keep it running

    std::unique_ptr<QProcess> process;
    std::unique_ptr<QLocalSocket> socket;
    bool ready = false;
    QByteArray inbox;
    mpv::DeckMirror mirror;
    mpv::DeckWatchdog watchdog;
    QElapsedTimer clock;
    QTimer watchTimer;
    qint64 lastWatchMs = 0;
    qint64 lastAskMs = 0;
    int pidRequest = 0;
    qint64 playerPid = 0;    // as the deck's own socket told it
    bool replacing = false;  // found hung: a new player takes its place
    PlayerLink::Deaths deaths;
    int lastRequestId = 0;
    int volume = -1;      // last volume asked for, 0..255; -1 before the first
    QString cuedPath;     // the file last held ready (the mirror knows whether it still is)
    double gainDb = 0;    // the audio filter's gain, as last set
    double startSec = 0;  // where the next file starts, as last set

    QTimer exitTimer;  // the socket closed: how long its process has to tell why
    QTimer connectTimer;
    QElapsedTimer connectingFor;
    QTimer restartTimer;
    QElapsedTimer sinceStart;
    int quickDeaths = 0;

    QTimer fadeTimer;
    QTimer stopTimer;
    bool fading = false;
    int fadeFrom = 0;
    int fadeStep = 0;
    bool silenceReported = false;
    bool hadOutput = false;   // a real audio output was open once: silence now is a loss
    bool outputLost = false;  // plays into the null output until it reopens the real one
    qint64 lastReopenMs = 0;
    qint64 lastTrimMs = 0;

    Deck(MpvPlayerLink* owner, int deck, const QString& folder)
        : link(owner),
          index(deck),
          name(player_command_line::PlayerWindowClass(deck)),
          socketPath(folder + QLatin1Char('/') + name + QStringLiteral(".sock")),
          logPath(folder + QLatin1Char('/') + name + QStringLiteral(".log")) {
        exitTimer.setSingleShot(true);
        exitTimer.callOnTimeout([this] { Lost(QStringLiteral("closed its socket")); });
        connectTimer.callOnTimeout([this] { RetryConnect(); });
        restartTimer.setSingleShot(true);
        restartTimer.callOnTimeout([this] { Restart(); });
        fadeTimer.callOnTimeout([this] { FadeStep(); });
        stopTimer.setSingleShot(true);
        stopTimer.callOnTimeout([this] { StopNow(); });
        watchTimer.callOnTimeout([this] { Watch(); });
        clock.start();
    }

    ~Deck() { Close(); }

    // Every request carries a fresh id; one that goes out (the deck is connected) is
    // waited for.
    int NextId() {
        lastRequestId = lastRequestId >= 1000000000 ? 1 : lastRequestId + 1;
        if (ready) watchdog.Sent(lastRequestId, clock.elapsed());
        return lastRequestId;
    }

    void Send(const QByteArray& line) {
        if (!ready) return;
        socket->write(line);
        socket->flush();  // writes what the socket takes now, never waits
    }

    int RestoredVolume() const { return volume >= 0 ? volume : 255; }

    // Connects to whatever mpv listens on the socket, ours or one left from an earlier run.
    bool TryConnect() {
        if (ready) return true;
        if (exitTimer.isActive()) return false;
        auto candidate = std::make_unique<QLocalSocket>();
        candidate->connectToServer(socketPath);
        if (candidate->state() == QLocalSocket::ConnectingState)
            candidate->waitForConnected(kConnectWaitMs);
        if (candidate->state() != QLocalSocket::ConnectedState) return false;
        socket = std::move(candidate);
        Connected();
        return true;
    }

    void Connected() {
        ready = true;
        gainDb = 0;  // a player started afresh has no filter and starts files at 0
        startSec = 0;
        replacing = false;
        inbox.clear();
        mirror.Reset();
        watchdog.Reset();
        playerPid = 0;
        connectTimer.stop();
        socket->setReadBufferSize(kReadChunk);
        QObject::connect(socket.get(), &QLocalSocket::readyRead, socket.get(), [this] { Read(); });
        QObject::connect(socket.get(), &QLocalSocket::disconnected, socket.get(),
                         [this] { SocketClosed(); });
        for (const auto& observed : mpv::kObserved)
            Send(mpv::ObserveProperty(observed.id, QString::fromLatin1(observed.name), NextId()));
        if (volume >= 0) Send(mpv::SetVolume(volume, NextId()));
        // A player left from an earlier run can only be ended, when it hangs, by its pid.
        pidRequest = 0;
        if (!process) {
            pidRequest = NextId();
            Send(mpv::GetProperty(QStringLiteral("pid"), pidRequest));
        }
        lastWatchMs = clock.elapsed();
        watchTimer.start(kWatchMs);
    }

    // A dying mpv closes its socket first: its exit, if it comes within kExitWaitMs, tells
    // the reason. Meanwhile the deck reads stopped.
    void SocketClosed() {
        if (!process || process->state() == QProcess::NotRunning) {
            Lost(QStringLiteral("closed its socket"));
            return;
        }
        ready = false;
        watchTimer.stop();
        exitTimer.start(kExitWaitMs);
    }

    void Read() {
        inbox += socket->read(kReadChunk);
        const qint64 now = clock.elapsed();
        qsizetype start = 0;
        std::vector<PlayerLink::News> news;
        for (qsizetype end; (end = inbox.indexOf('\n', start)) >= 0; start = end + 1) {
            Heard(mpv::ParseLine(inbox.sliced(start, end - start)), now);
            if (const auto told = mirror.TakeNews()) news.push_back(*told);
        }
        inbox.remove(0, start);
        // Told once the lines are read: a listener may command this deck at once.
        for (PlayerLink::News told : news) link->Tell(index, told);
        if (!ready) return;
        if (inbox.size() > kLongestLine) {
            Hung(QStringLiteral("sent a line longer than %1 KB").arg(kLongestLine / 1024));
            return;
        }
        // A deck that had sound and lost it is told of by KeepOutput, not as one without.
        if (!silenceReported && !hadOutput && mirror.AudioOutput() == QLatin1String("null") &&
            !NamesAudioOutput(link->m_options.extraArguments)) {
            silenceReported = true;
            link->Report(QStringLiteral("mpv deck %1 found no audio output and plays silently; "
                                        "what it tried is in %2")
                             .arg(name, logPath));
        }
    }

    void Heard(const mpv::Message& message, qint64 now) {
        watchdog.Heard(message, now);
        if (message.kind == mpv::Message::Kind::Reply && message.requestId == pidRequest &&
            message.Succeeded())
            playerPid = message.data.toInteger();
        mirror.Apply(message);
    }

    QStringList Arguments() const {
        QStringList args{
            QStringLiteral("--idle=yes"), QStringLiteral("--no-video"),
            QStringLiteral("--no-terminal"), QStringLiteral("--no-config"),
            QStringLiteral("--input-ipc-server=") + socketPath,
            // The deck as the sound server's mixer shows it, with its track.
            QStringLiteral("--audio-client-name=") + player_command_line::MixerName(index),
            QStringLiteral("--title=${media-title}"),
            // Without an audio device every file would fail at once and the station would
            // run through its queue; silent decks keep time.
            QStringLiteral("--audio-fallback-to-null=yes"), QStringLiteral("--volume-max=100"),
            // A jump lands where it was asked to, not on the nearest frame.
            QStringLiteral("--hr-seek=yes"), QStringLiteral("--keep-open=no"),
            QStringLiteral("--ytdl=no"), QStringLiteral("--load-scripts=no"),
            QStringLiteral("--input-default-bindings=no")};
        // A deck started again has its volume back before anything plays.
        if (volume >= 0)
            args << QStringLiteral("--volume=%1").arg(mpv::MpvVolume(volume), 0, 'f', 3);
        return args + link->m_options.extraArguments;
    }

    void StartProcess() {
        const QString resolved = ResolveProgram(program);
        if (resolved.isEmpty()) {
            link->ReportMissing(program);
            TryAgainLater();
            return;
        }
        process = std::make_unique<QProcess>();
        process->setProgram(resolved);
        process->setArguments(Arguments());
        process->setStandardInputFile(QProcess::nullDevice());
        StartLog();
        process->setStandardOutputFile(logPath, QIODevice::Append);
        process->setStandardErrorFile(logPath, QIODevice::Append);
#ifdef Q_OS_UNIX
        // A deck has a process group of its own: Ctrl+C in a terminal, or a signal to the
        // station's group, reaches the station alone, which then closes its decks itself
        // instead of seeing them die and starting them again while it closes.
        process->setChildProcessModifier([endWith = link->m_options.endWithThisProcess] {
            ::setpgid(0, 0);
#ifdef Q_OS_LINUX
            if (endWith) ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
        });
#endif
        QObject::connect(process.get(), &QProcess::finished, process.get(),
                         [this](int code, QProcess::ExitStatus status) {
                             Lost(status == QProcess::CrashExit
                                      ? QStringLiteral("ended abnormally")
                                      : QStringLiteral("exited with code %1").arg(code));
                         });
        QObject::connect(process.get(), &QProcess::errorOccurred, process.get(),
                         [this](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart) return;
                             DropProcess();
                             link->ReportMissing(program);
                             TryAgainLater();
                         });
        // mpv replaces a stale socket file itself, so there is nothing to clean first.
        process->start();
        sinceStart.start();
        connectingFor.start();
        connectTimer.start(kConnectRetryMs);
    }

    // Each start of the player is headed by a line in its log; the log survives the player,
    // which may outlive the station, and is kept short.
    void StartLog() {
        output_log::KeepShort(logPath, output_log::kLimitBytes);
        QFile log(logPath);
        if (!log.open(QIODevice::Append | QIODevice::Text)) return;
        log.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        log.write(QStringLiteral("--- %1 started %2 ---\n")
                      .arg(player_command_line::MixerName(index),
                           QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm:ss"))
                      .toUtf8());
    }

    void RetryConnect() {
        if (TryConnect()) return;
        if (connectingFor.isValid() && connectingFor.elapsed() > kPatientConnectMs)
            connectTimer.setInterval(kSlowConnectRetryMs);
    }

    void DropSocket() {
        if (!socket) return;
        socket->disconnect();
        socket->abort();
        socket.release()->deleteLater();  // may be inside one of its own signals
    }

    // A process useless without its socket is killed, and let go once it is gone, without
    // waiting for it here; its replacement starts later than it takes to die.
    void DropProcess() {
        if (!process) return;
        process->disconnect();
        QProcess* dropped = process.release();
        if (dropped->state() == QProcess::NotRunning) {
            dropped->deleteLater();
            return;
        }
        QObject::connect(dropped, &QProcess::finished, dropped, &QObject::deleteLater);
        dropped->kill();
    }

    void Watch() {
        const qint64 now = clock.elapsed();
        // What the deck said while the station was held up is still unread: not its fault.
        if (now - lastWatchMs > kHeldUpMs) watchdog.Excuse(now);
        lastWatchMs = now;
        if (const QString why = watchdog.Check(mirror.Advancing(), now); !why.isEmpty()) {
            Hung(mirror.AwaitingFile() ? why + QStringLiteral(" before it started its file") : why);
            return;
        }
        if (!watchdog.AskingPosition() && now - lastAskMs >= kAskEveryMs) {
            lastAskMs = now;
            const int id = NextId();
            watchdog.AskedPosition(id);
            Send(mpv::GetProperty(QStringLiteral("time-pos"), id));
        }
        KeepOutput(now);
        if (process && now - lastTrimMs >= kTrimLogMs) {
            lastTrimMs = now;
            output_log::KeepShort(logPath, output_log::kLimitBytes);
        }
    }

    // A deck that had sound and fell back to the null output is asked to reopen its output
    // until it has it back. An idle deck has no output and opens one with its next file.
    void KeepOutput(qint64 now) {
        const QString output = mirror.AudioOutput();
        if (output.isEmpty()) return;
        if (output != QLatin1String("null")) {
            if (outputLost)
                link->Report(QStringLiteral("mpv deck %1 has its sound output back").arg(name));
            hadOutput = true;
            outputLost = false;
            return;
        }
        if (!hadOutput) return;
        if (!outputLost)
            link->Report(QStringLiteral("mpv deck %1 lost its sound output; it plays on silently "
                                        "until the sound server is back")
                             .arg(name));
        outputLost = true;
        if (now - lastReopenMs < kReopenOutputMs) return;
        lastReopenMs = now;
        Send(mpv::ReloadAudioOutput(NextId()));
    }

    // A player that stopped answering or playing is ended and replaced. It may have been
    // stopped (SIGSTOP), which only SIGKILL reaches; one from an earlier run is ended by
    // the pid its own socket told, and by nothing else.
    void Hung(const QString& why) {
#ifdef Q_OS_UNIX
        if (!process && wanted && playerPid > 1 && playerPid != ::getpid())
            ::kill(static_cast<pid_t>(playerPid), SIGKILL);
#endif
        replacing = true;
        Lost(why, kHungRestartDelayMs);
    }

    // The player went away (process ended, socket broke, or it hung): read as a closed
    // player, say so once, and bring it back, not sooner than leastDelayMs.
    void Lost(const QString& how, int leastDelayMs = 0) {
        const bool wasUp = ready || process;
        ready = false;
        exitTimer.stop();
        watchTimer.stop();
        DropSocket();
        DropProcess();
        mirror.Reset();
        fadeTimer.stop();
        stopTimer.stop();
        fading = false;
        connectTimer.stop();
        if (!wasUp || !wanted) return;
        ++deaths.count;
        deaths.lastReason = how;
        link->Report(QStringLiteral("mpv deck %1 %2; starting it again; what it printed is in %3")
                         .arg(name, how, logPath));
        const bool quick = sinceStart.isValid() && sinceStart.elapsed() < kShortLifeMs;
        quickDeaths = quick ? quickDeaths + 1 : 0;
        // A deck that keeps dying at once is retried ever more slowly, up to 32 s apart.
        // Even the first retry waits a moment: a player that is not ours may still be
        // taking connections on its way out.
        const int delay =
            quickDeaths <= 1 ? kFirstRestartDelayMs : 1000 << std::min(quickDeaths - 2, 5);
        restartTimer.start(std::max(delay, leastDelayMs));
    }

    // A player that could not be started (not installed yet, not executable) is tried
    // again now and then, so the decks come up once it is there.
    void TryAgainLater() {
        if (wanted) restartTimer.start(kMissingPlayerRetryMs);
    }

    void Restart() {
        if (!wanted || ready || process) return;
        if (replacing) {
            // A hung player that could not be ended loses its socket's name to the new one.
            QFile::remove(socketPath);
        } else if (TryConnect()) {
            return;
        }
        StartProcess();
    }

    void Close() {
        wanted = false;
        exitTimer.stop();
        connectTimer.stop();
        restartTimer.stop();
        watchTimer.stop();
        fadeTimer.stop();
        stopTimer.stop();
        bool quitSent = false;
        if (ready) {
            socket->disconnect();
            socket->write(mpv::Quit(NextId()));
            quitSent = socket->waitForBytesWritten(50) || socket->bytesToWrite() == 0;
        }
        ready = false;
        if (process) {
            process->disconnect();
            if (!quitSent) process->terminate();
            if (!process->waitForFinished(500)) {
                process->kill();
                process->waitForFinished(500);
            }
            process.reset();
        }
        socket.reset();
    }

    void FadeStep() {
        const int steps = std::max(1, link->m_options.fadeSteps);
        ++fadeStep;
        Send(mpv::SetVolume(fadeFrom * (steps - fadeStep) / steps, NextId()));
        if (fadeStep < steps) return;
        fadeTimer.stop();
        stopTimer.start(std::max(0, link->m_options.stopDelayMs));
    }

    // Ends a running fade; returns whether there was one.
    bool CancelFade() {
        const bool was = fading;
        fadeTimer.stop();
        stopTimer.stop();
        fading = false;
        return was;
    }

    void StopNow() {
        // A file held ready is not heard: a stop leaves it ready for its hand-over.
        if (mirror.Cued()) return;
        const bool wasFading = CancelFade();
        Send(mpv::Stop(NextId()));
        mirror.Stopped();
        // The volume comes back only after the stop, so nothing is heard at full level.
        if (wasFading) Send(mpv::SetVolume(RestoredVolume(), NextId()));
    }
};

MpvPlayerLink::MpvPlayerLink() : MpvPlayerLink(Options{}) {}

MpvPlayerLink::MpvPlayerLink(Options options) : m_options(std::move(options)) {
    QString folder = m_options.socketFolder;
    if (folder.isEmpty()) {
        QString error;
        folder = DefaultSocketFolder(&error);
        if (folder.isEmpty()) {
            folder = FreshPrivateFolder(error);
            // No later run could find these decks to reuse them: they end with this one,
            // and so does their folder.
            m_options.endWithThisProcess = true;
            if (folder != QDir::tempPath()) m_freshFolder = folder;
        }
    }
    for (int i = 0; i < 2; ++i) m_decks[i] = std::make_unique<Deck>(this, i, folder);
#ifdef Q_OS_UNIX
    constexpr auto kLongestSocketPath = sizeof(sockaddr_un::sun_path) - 1;
    for (const auto& deck : m_decks) {
        if (static_cast<std::size_t>(QFile::encodeName(deck->socketPath).size()) >
            kLongestSocketPath)
            Report(QStringLiteral("mpv socket path too long for the system: %1")
                       .arg(deck->socketPath));
    }
#endif
}

MpvPlayerLink::~MpvPlayerLink() {
    for (auto& deck : m_decks) deck.reset();  // the players quit, their sockets go
    if (!m_freshFolder.isEmpty()) QDir(m_freshFolder).removeRecursively();
}

MpvPlayerLink::Deck* MpvPlayerLink::At(int deck) const {
    return deck == 0 || deck == 1 ? m_decks[deck].get() : nullptr;
}

MpvPlayerLink::Deck* MpvPlayerLink::Ready(int deck) const {
    Deck* d = At(deck);
    return d && d->ready ? d : nullptr;
}

void MpvPlayerLink::Report(const QString& line) const {
    m_problem = line;
    if (m_options.report) {
        m_options.report(line);
    } else {
        station_error::Print(line);
    }
}

void MpvPlayerLink::ReportMissing(const QString& program) const {
    if (m_missingReported) return;
    m_missingReported = true;
    Report(QStringLiteral("The player program \"%1\" cannot be started; the decks stay silent")
               .arg(program.isEmpty() ? QStringLiteral("mpv") : program));
}

bool MpvPlayerLink::ProgramExists(const QString& programPath) const {
    const bool found = !ResolveProgram(programPath).isEmpty();
    // A path from elsewhere (a Windows one kept in the settings) may still fall back to
    // the PATH; only a name looked up there is the last word.
    const bool onPath =
        !programPath.contains(QLatin1Char('/')) && !programPath.contains(QLatin1Char('\\'));
    if (!found && onPath) ReportMissing(programPath);
    return found;
}

void MpvPlayerLink::Launch(int deck, const QString& programPath) {
    Deck* d = At(deck);
    if (!d) return;
    d->program = programPath.isEmpty() ? QStringLiteral("mpv") : programPath;
    d->wanted = true;
    // A deck still running from an earlier run is reused, not started a second time.
    if (d->ready || d->process || d->TryConnect()) return;
    d->StartProcess();
}

void MpvPlayerLink::Restart(int deck) {
    Deck* d = At(deck);
    if (d && d->wanted && (d->ready || d->process)) d->Hung(QStringLiteral("was told to restart"));
}

bool MpvPlayerLink::Find(int deck) {
    Deck* d = At(deck);
    // A deck found hung is found again once its replacement is up.
    return d && !d->replacing && d->TryConnect();
}

int MpvPlayerLink::PlayState(int deck) {
    const Deck* d = Ready(deck);
    return d ? d->mirror.PlayState() : kStopped;
}

int MpvPlayerLink::PositionMs(int deck) {
    const Deck* d = Ready(deck);
    return d ? d->mirror.PositionMs() : 0;
}

int MpvPlayerLink::LengthSec(int deck) {
    const Deck* d = Ready(deck);
    return d ? d->mirror.LengthSec() : -1;
}

QString MpvPlayerLink::File(int deck) const {
    const Deck* d = Ready(deck);
    return d ? d->mirror.File() : QString();
}

void MpvPlayerLink::JumpTo(int deck, int ms) {
    Deck* d = Ready(deck);
    if (!d || d->mirror.PlayState() == kStopped) return;
    ms = std::max(ms, 0);  // mpv counts a negative absolute time from the end of the track
    d->Send(mpv::Seek(ms, d->NextId()));
    d->mirror.Jumped(ms);
}

void MpvPlayerLink::SetVolume(int deck, int volume) {
    Deck* d = At(deck);
    if (!d) return;
    d->volume = std::clamp(volume, 0, 255);
    // During a stop with fade the ramp owns the volume; this one comes back after the stop.
    if (!d->fading) d->Send(mpv::SetVolume(d->volume, d->NextId()));
}

void MpvPlayerLink::TogglePause(int deck) {
    Deck* d = Ready(deck);
    // An idle mpv would keep the pause for the next file.
    if (!d || d->mirror.PlayState() == kStopped) return;
    d->Send(mpv::CyclePause(d->NextId()));
    d->mirror.PauseToggled();
}

void MpvPlayerLink::Stop(int deck) {
    if (Deck* d = Ready(deck)) d->StopNow();
}

void MpvPlayerLink::StopWithFade(int deck) {
    Deck* d = Ready(deck);
    if (!d || d->fading) return;
    if (d->mirror.PlayState() == kStopped) {
        d->StopNow();
        return;
    }
    d->fading = true;
    d->fadeFrom = d->RestoredVolume();
    d->fadeStep = 0;
    d->fadeTimer.start(std::max(1, m_options.fadeStepMs));
}

void MpvPlayerLink::HandOver(int deck, const QString& path) {
    Deck* d = Ready(deck);
    if (!d) return;
    if (d->CancelFade()) {
        d->Send(mpv::Stop(d->NextId()));
        d->Send(mpv::SetVolume(d->RestoredVolume(), d->NextId()));
    }
    // An absolute path is never taken for a URL or an option.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (d->mirror.Cued() && d->cuedPath == absolute) {
        d->Send(mpv::SetPause(false, d->NextId()));
        d->mirror.Released();
        return;
    }
    const int id = d->NextId();
    d->Send(mpv::LoadFile(absolute, id));
    // A pause must not survive into the next file.
    d->Send(mpv::SetPause(false, d->NextId()));
    // A socket that broke on these writes has already made the deck a closed player.
    if (d->ready) d->mirror.HandedOver(id);
}

void MpvPlayerLink::SetPlayback(int deck, double gainDb, double startSec) {
    Deck* d = Ready(deck);
    if (!d) return;
    if (d->gainDb != gainDb) d->Send(mpv::SetGain(gainDb, d->NextId()));
    if (d->startSec != startSec) d->Send(mpv::SetStart(startSec, d->NextId()));
    d->gainDb = gainDb;
    d->startSec = startSec;
}

void MpvPlayerLink::Cue(int deck, const QString& path) {
    Deck* d = Ready(deck);
    if (!d || d->fading || d->mirror.PlayState() != kStopped) return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (d->mirror.Cued() && d->cuedPath == absolute) return;
    // Paused first, so the file never plays a moment before it is let go.
    d->Send(mpv::SetPause(true, d->NextId()));
    const int id = d->NextId();
    d->Send(mpv::LoadFile(absolute, id));
    if (!d->ready) return;
    d->cuedPath = absolute;
    d->mirror.Cued(id);
}

QString MpvPlayerLink::SocketPath(int deck) const {
    const Deck* d = At(deck);
    return d ? d->socketPath : QString();
}

PlayerLink::Deaths MpvPlayerLink::DeathsOf(int deck) const {
    const Deck* d = At(deck);
    return d ? d->deaths : Deaths{};
}

qint64 MpvPlayerLink::ProcessId(int deck) const {
    const Deck* d = At(deck);
    return d && d->process ? d->process->processId() : 0;
}

QString MpvPlayerLink::DefaultSocketFolder(QString* error) {
#ifdef Q_OS_UNIX
    QStringList candidates;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        candidates << runtime + QStringLiteral("/stavox");
    // Someone else may have made the usual folder in the shared temporary folder first: the
    // next names in a fixed row follow, so the station and its --send find the same one.
    const QString shared = QDir::tempPath() + QStringLiteral("/stavox-%1").arg(getuid());
    candidates << shared;
    for (int n = 1; n <= kSpareSocketFolders; ++n)
        candidates << shared + QStringLiteral("-%1").arg(n);
    QStringList refused;
    for (const QString& folder : candidates) {
        if (MakePrivateFolder(folder)) {
            if (error) error->clear();
            return folder;
        }
        refused << folder;
    }
    if (error)
        *error = QStringLiteral("No private folder of this user for the mpv sockets: %1")
                     .arg(refused.join(QStringLiteral(", ")));
    return {};
#else
    if (error) error->clear();
    return QDir::tempPath();
#endif
}
