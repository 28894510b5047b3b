// The station's entry: the studio window, or one of the headless commands
// (--simulate for the week preview, --track-length for checking files, --search for the
// library's search, --dead-entries for the nightly check of the lists and spot files,
// --check for the week's pre-flight check, --send for a command to the running station,
// --spot-report for the proof of play of the spots, --air-report for what the station
// heard of its air).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "app/analyze_command.h"
#include "app/as_run_file.h"
#include "app/as_run_log.h"
#include "app/command_line.h"
#include "app/core_thread.h"
#include "app/data_folders.h"
#include "app/dead_entries_command.h"
#include "app/now_playing.h"
#include "app/operator_actions.h"
#include "app/search_command.h"
#include "app/settings.h"
#include "app/station.h"
#include "app/station_client.h"
#include "app/station_core.h"
#include "app/track_length_command.h"
#include "app/week_preview.h"
#include "base/station_error.h"
#include "base/thread_handoff.h"
#include "platform/control_socket.h"
#include "platform/ffmpeg_sound_analyzer.h"
#include "platform/icecast_stream.h"
#include "platform/library_output.h"
#include "platform/qt_timer_host.h"
#include "platform/sqlite_analysis_cache.h"
#include "platform/station_lock.h"
#include "platform/station_platform.h"
#include "platform/system_clock.h"
#include "platform/systemd_notifier.h"
#include "platform/unix_signals.h"
#include "player/logging_player_link.h"
#include "schedule/list_file.h"
#include "tools/air_report.h"
#include "tools/check_command.h"
#include "tools/control_commands.h"
#include "tools/spot_report.h"
#include "tools/week_check.h"
#include "ui/main_window.h"

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// One command to the running station: its answer on standard output, exit 0 for "ok",
// 1 for an error, 3 when no station listens.
int RunSendCommand(const QString& message, QTextStream& out, QTextStream& err) {
    constexpr int kAnswerWithinMs = 5000;
    const ControlReply reply = SendControlMessage(ControlSocketPath(), message, kAnswerWithinMs);
    if (reply.kind != ControlReply::Kind::Answered) {
        err << reply.text << Qt::endl;
        return reply.kind == ControlReply::Kind::NoStation ? 3 : 1;
    }
    out << reply.text << Qt::endl;
    return reply.text == QLatin1String("ok") ? 0 : 1;
}

// The analyses the user's station keeps, for the tools that only read them: none when there
// is no cache yet (they make none).
std::unique_ptr<SqliteAnalysisCache> ExistingAnalyses() {
    const QString file = SqliteAnalysisCache::DefaultFile();
    return QFileInfo::exists(file) ? std::make_unique<SqliteAnalysisCache>(file) : nullptr;
}

int RunHeadless(int argc, char** argv, const CommandLine& cl) {
#ifndef _WIN32
    // Without TZ the C library looks at /etc/localtime again for every local time it
    // converts; a week of virtual ticks would spend most of its time there.
    if (qEnvironmentVariableIsEmpty("TZ")) qputenv("TZ", ":/etc/localtime");
#endif
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (cl.mode == CommandLine::Mode::TrackLength) return RunTrackLengthCommand(cl.files, out, err);
    if (cl.mode == CommandLine::Mode::Analyze) {
        const FfmpegSoundAnalyzer analyzer;
        SqliteAnalysisCache cache(SqliteAnalysisCache::DefaultFile());
        if (!cache.Problem().isEmpty()) err << "stavox-mixer: " << cache.Problem() << Qt::endl;
        return RunAnalyzeCommand(cl.files, cl.analyzeJobs, analyzer, &cache, out, err);
    }
    if (cl.mode == CommandLine::Mode::Search)
        return RunSearchCommand(cl, QDir::currentPath(), out, err);
    if (cl.mode == CommandLine::Mode::DeadEntries)
        return RunDeadEntriesCommand(cl, QDir::currentPath(), out, err);
    if (cl.mode == CommandLine::Mode::Check) {
        const auto store = OpenStationSettings();
        const auto analyses = ExistingAnalyses();
        return RunCheckCommand(cl, QDir::currentPath(), store.get(), SystemClock().Now(), out,
                               analyses.get());
    }
    if (cl.mode == CommandLine::Mode::Send) return RunSendCommand(cl.sendMessage, out, err);
    if (cl.mode == CommandLine::Mode::SpotReport)
        return RunSpotReportCommand(cl, QDir::currentPath(), SystemClock().Now(), out, err);
    if (cl.mode == CommandLine::Mode::AirReport) {
        const auto store = OpenStationSettings();
        return RunAirReportCommand(cl, QDir::currentPath(), store.get(), SystemClock().Now(), out,
                                   err);
    }
    // A bad actions file is a bad argument: nothing is simulated.
    QList<OperatorAction> actions;
    if (!cl.actionsFile.isEmpty()) {
        auto read = ReadOperatorActions(cl.actionsFile, cl.simulateStart,
                                        cl.simulateStart.addMSecs(cl.simulateForMs));
        if (!read.ok()) {
            err << read.message() << '\n' << UsageText() << Qt::endl;
            return 2;
        }
        actions = std::move(read.value);
    }
    const auto store = OpenStationSettings();
    QStringList problems;
    if (const QString problem = SettingsReadProblem(*store); !problem.isEmpty())
        problems << problem;
    // The preview mixes and levels by the analyses this user's station has kept.
    const auto analyses = ExistingAnalyses();
    return RunWeekPreview(
        cl, QDir::currentPath(), store.get(), [&out](const QString& line) { out << line << '\n'; },
        problems, actions, analyses.get());
}

// Without a display the same station runs on Qt's offscreen platform.
bool ChooseOffscreenWhenNoDisplay() {
#ifndef _WIN32
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    return qgetenv("QT_QPA_PLATFORM") == "offscreen";
}

// The station plays on while the box is open: it never blocks the tick that found it.
// One box at a time: an unattended station with a broken list meets it every half hour.
void ShowProblemWithoutWaiting(QWidget* parent, const QString& message) {
    static QPointer<QMessageBox> box;
    if (!box) {
        box = new QMessageBox(QMessageBox::Warning, parent->windowTitle(), QString(),
                              QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
    }
    box->setText(message);
    box->show();
}

// Everything of the station that runs on the core's thread: made there, destroyed there.
// The window reaches it only through the client's commands and the state it publishes.
class CoreSide {
public:
    CoreSide(StationPlatform& platform, const CommandLine& cl, bool headless)
        : m_platform(platform), m_log([this, headless](const QString& line) {
              if (m_asRunFile) m_asRunFile->Append(line);
              if (headless || !m_asRunFile) m_out << line << Qt::endl;
          }) {
        MakePlatform(platform, m_clock, m_timers, cl.playerOptions);
        if (!platform.decks) return;
        // The as-run log is kept on disk by the station that drives the decks (it holds the
        // station lock) and by no other: a trial beside it would add lines that never aired.
        // Headless, the operator also watches it as it happens.
        if (!platform.trialRun)
            m_asRunFile.emplace(QDir::currentPath());
        else
            station_error::Print(kAsRunOnStandardOutput, station_error::Severity::Info);
        m_link = std::make_unique<LoggingPlayerLink>(*platform.decks);
        QObject::connect(m_link.get(), &LoggingPlayerLink::DeckEvent,
                         [this](int deck, const QString& event, const QString& detail) {
                             if (event != QLatin1String("volume"))
                                 m_log.Write(m_clock.Now(), QStringLiteral("deck%1").arg(deck),
                                             event, detail);
                         });
        m_store = OpenStationSettings();
        m_station = std::make_unique<Station>(QDir::currentPath(), m_clock, m_timers, *m_link,
                                              platform.lineIn.get());
        m_station->ReadLengthsInBackground();  // odd files never hold the tick
        m_station->SetWeekCheck(&week_check::WeekFromNow);
        // What is on air is told by the station that airs it, not by a trial beside it.
        if (!platform.trialRun) {
            m_station->WriteNowPlayingFiles();
            m_station->KeepJournal();
        }
        m_analyses = std::make_unique<SqliteAnalysisCache>(SqliteAnalysisCache::DefaultFile());
        // Two workers at the lowest priority: a library is measured in hours, not days, and
        // the decks and the tick still come first.
        m_station->AnalyseInBackground(m_analyzer, *m_analyses,
                                       std::clamp(QThread::idealThreadCount(), 1, 2));
        // Standard error has every problem, for when the as-run log has no reader; a
        // problem is also a line of that log.
        QObject::connect(m_station.get(), &Station::Problem,
                         [](const QString& message) { station_error::Print(message); });
        LogStationEvents(*m_station, m_log, m_clock);
        // A log that cannot be written is a problem like any other: told, and the music
        // goes on.
        if (m_asRunFile)
            QObject::connect(&*m_asRunFile, &AsRunFile::WriteFailed, m_station.get(),
                             &Station::Problem);
        m_core = std::make_unique<StationCore>(*m_station);
    }

    // The listener belongs to the platform, which outlives this: it stops handing the air
    // to the meter before the meter goes.
    ~CoreSide() {
        if (m_platform.air) m_platform.air->Stop();
        if (m_platform.streamAir) m_platform.streamAir->Stop();
        for (const auto& stream : m_streams) stream->Stop();
    }
    CoreSide(const CoreSide&) = delete;
    CoreSide& operator=(const CoreSide&) = delete;

    bool HasDecks() const { return m_station != nullptr; }
    StationCore& Core() { return *m_core; }

    /// The start-up's messages for the operator; the control socket listens after it.
    QStringList StartUp() {
        QStringList messages = m_station->StartUp(m_store.get());
        // Commands from other programs of this user, done as the operator's and logged so.
        // Once closed, the station's decks are quit: a command that arrives before the event
        // loop ends is refused.
        m_control = std::make_unique<ControlServer>([this](const QByteArray& message) {
            if (m_closed) return QStringLiteral("error: the station is closing");
            return AnswerControlMessage(*m_station, message, m_log, m_clock);
        });
        if (const QString warning = m_control->Listen(ControlSocketPath()); !warning.isEmpty())
            messages << warning;
        if (const QString problem = SettingsReadProblem(*m_store); !problem.isEmpty())
            messages.prepend(problem);
        if (!m_analyses->Problem().isEmpty()) messages << m_analyses->Problem();
        LogProblems(messages, m_log, m_clock);
        ListenToAir();
        StartStreams();
        TellServiceManager(messages);
        HangThreadWhenAsked(&m_keepAlive);
        return messages;
    }

    /// The meter the station hears its air with; null when it cannot.
    const AirMeter* Meter() const {
        return m_station->Air().Listening() ? m_airMeter.get() : nullptr;
    }

    /// The close: settings first. Runs once.
    void Close() {
        if (m_closed) return;
        m_closed = true;
        m_service.Stopping();
        for (const QString& p : m_station->Close(m_store.get())) station_error::Print(p);
    }

    /// The automatic shutdown closes the station first, then switches the machine off; then
    /// window is told, with the system's refusal when it refused. Its problems are not
    /// shown in the window's box: the window is about to go.
    void CloseAndPowerOffWhenDue(std::function<void(const Result&)> then) {
        QObject::connect(&m_station->Shutdown(), &AutoShutdown::ShutdownDue, m_station.get(),
                         [this, then] {
                             m_log.Write(m_clock.Now(), QStringLiteral("station"),
                                         QStringLiteral("shutdown"), QString());
                             QObject::disconnect(m_station.get(), &Station::Problem, m_core.get(),
                                                 &StationCore::Problem);
                             m_closed = true;
                             m_service.Stopping();
                             then(m_station->CloseAndPowerOff(m_store.get(), *m_platform.shutdown));
                         });
    }

private:
    // Under a service manager: ready once started, what is on air as the status, and the
    // watchdog's keep-alive from this thread, so that a core that hangs is restarted as one
    // that dies is.
    void TellServiceManager(const QStringList& messages) {
        if (!m_service.Listening()) return;
        const auto onAir = [this](const QString& file) {
            m_service.Status(QStringLiteral("On air: %1").arg(NowPlayingText(file)));
        };
        Station* station = m_station.get();
        QObject::connect(&station->Engine(), &PlaybackEngine::EntryStarted, station,
                         [onAir](const QString& entry) { onAir(SplitTrackEntry(entry).path); });
        QObject::connect(&station->Spots(), &SpotRunner::SpotStarted, station,
                         [onAir](const QString& path, const QString&) { onAir(path); });
        QObject::connect(&station->Jingles(), &JingleWall::JingleStarted, station, onAir);
        if (const int intervalMs = m_service.WatchdogIntervalMs(); intervalMs > 0) {
            m_keepAlive.callOnTimeout([this] { m_service.KeepAlive(); });
            m_keepAlive.start(intervalMs / 2);
        }
        QString status = QStringLiteral("Started in %1").arg(QDir::currentPath());
        if (!messages.isEmpty())
            status +=
                QStringLiteral("; %1 problem(s) at start-up, in the journal").arg(messages.size());
        m_service.Ready(status);
    }

    // The air the decks play, as the sound server's monitor hands it to the meter on the
    // listener's own thread; the station watches the meter.
    void ListenToAir() {
        if (!m_platform.air) {
            m_station->CannotListenToAir(m_platform.airMissing);
            return;
        }
        m_airMeter = std::make_unique<AirMeter>(m_platform.air->Rate());
        const Result started = m_platform.air->Start(
            m_station->Air().MonitorSource,
            [meter = m_airMeter.get()](const float* frames, int count, qint64 atMs) {
                meter->Add(frames, count, atMs);
            });
        if (started.ok())
            m_station->ListenToAir(*m_airMeter);
        else
            m_station->CannotListenToAir(started.message());
    }

    // Each enabled stream output gets the air at full quality, and the title at each start of
    // music; what becomes of it is an as-run line.
    void StartStreams() {
        for (const StreamConfig& c : m_station->Streams().Streams) {
            if (!c.Enabled || !m_platform.streamAir) continue;
            auto stream = std::make_unique<IcecastStream>(
                IcecastStreamConfig{c.Server, c.Port, c.Mount, c.User, c.Password,
                                    c.Format == u"ogg" ? IcecastStreamConfig::Format::Ogg
                                                       : IcecastStreamConfig::Format::Mp3,
                                    c.Bitrate, c.Name, c.Genre, c.Description});
            LogStream(*stream);
            QObject::connect(m_station.get(), &Station::StreamTitle, stream.get(),
                             &IcecastStream::SetTitle, Qt::DirectConnection);
            stream->Start();
            m_streams.push_back(std::move(stream));
        }
        if (m_streams.empty()) return;
        m_station->WatchStreams([this] { return StreamStatuses(); });
        const Result started = m_platform.streamAir->Start(
            m_station->Air().MonitorSource, [this](const float* frames, int count, qint64) {
                for (const auto& stream : m_streams) stream->Push(frames, count);
            });
        if (!started.ok()) LogProblems({started.message()}, m_log, m_clock);
    }

    std::vector<StreamStatus> StreamStatuses() const {
        std::vector<StreamStatus> statuses;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const auto& stream : m_streams) {
            const IcecastStream::Snapshot s = stream->State();
            statuses.push_back({stream->Mount(), s.connected,
                                s.connected ? s.connectedSince.secsTo(now) : 0, s.bytesSent,
                                s.lastError});
        }
        return statuses;
    }

    // A stream's news comes on its own thread; the station's thread writes it.
    void LogStream(IcecastStream& stream) {
        const auto write = [this](const QStringList& fields) {
            m_log.Write(m_clock.Now(), QStringLiteral("stream"), fields.first(), fields.mid(1));
        };
        Station* station = m_station.get();
        QObject::connect(&stream, &IcecastStream::Connected, station,
                         [write](const QString& mount) {
                             write({QStringLiteral("connected"), mount});
                         });
        QObject::connect(&stream, &IcecastStream::Lost, station,
                         [write](const QString& mount, const QString& reason) {
                             write({QStringLiteral("lost"), mount, reason});
                         });
        QObject::connect(&stream, &IcecastStream::TitleSent, station,
                         [write](const QString& mount, const QString& text) {
                             write({QStringLiteral("title"), mount, text});
                         });
    }

    StationPlatform& m_platform;
    SystemClock m_clock;
    QtTimerHost m_timers;
    QTextStream m_out{stdout};
    std::optional<AsRunFile> m_asRunFile;
    const AsRunLog m_log;
    std::unique_ptr<LoggingPlayerLink> m_link;
    std::unique_ptr<QSettings> m_store;
    const FfmpegSoundAnalyzer m_analyzer;
    std::unique_ptr<SqliteAnalysisCache> m_analyses;  // outlives the station that reads it
    std::unique_ptr<AirMeter> m_airMeter;             // outlives the station that watches it
    std::vector<std::unique_ptr<IcecastStream>> m_streams;
    std::unique_ptr<Station> m_station;
    std::unique_ptr<StationCore> m_core;
    std::unique_ptr<ControlServer> m_control;
    const SystemdNotifier m_service;
    QTimer m_keepAlive;  // made on the core's thread: it stops when that thread hangs
    bool m_closed = false;
};

// The studio: the core on a thread of its own, the window on this one.
int RunWindow(int argc, char** argv, const CommandLine& cl) {
    const bool headless = ChooseOffscreenWhenNoDisplay();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    StationPlatform platform = ChoosePlatform(cl.player == "simulated" ? cl.player : QString());
    // Simulated decks are this process's own; real ones are there for every station the
    // user starts.
    StationLock stationLock;
    if (!platform.trialRun) {
        stationLock = TakeStationLock();
        if (!stationLock.refusal.isEmpty()) {
            station_error::Print(stationLock.refusal, station_error::Severity::Error);
            if (!headless)
                QMessageBox::critical(nullptr, app.applicationName(), stationLock.refusal);
            return 1;
        }
        if (!stationLock.warning.isEmpty()) station_error::Print(stationLock.warning);
    }
    // What Qt, the video panel's decoder and the sound libraries print goes to a log, so
    // that standard error holds the station's own lines alone.
    LibraryOutput libraryOutput;
    if (const QString problem =
            libraryOutput.KeepIn(LibraryOutput::InRuntimeFolder(platform.libraryLogName));
        !problem.isEmpty())
        station_error::Print(problem);

    CoreThread coreThread;
    std::unique_ptr<CoreSide> core;
    coreThread.RunAndWait([&] { core = std::make_unique<CoreSide>(platform, cl, headless); });
    const auto endCore = [&] { coreThread.RunAndWait([&] { core.reset(); }); };
    if (!core->HasDecks()) {
        endCore();
        station_error::Print(
            QStringLiteral("This system has no player of kind %1").arg(platform.kind),
            station_error::Severity::Error);
        return 1;
    }

    StationClient client(core->Core());
    MainWindow window(client,
                      {QString::fromLatin1(kApplicationTitle), QString::fromLatin1(kVersionText)},
                      [&] { coreThread.RunAndWait([&] { core->Close(); }); });
    // A signal during start-up waits for the event loop, then closes as the window does.
    CallOnTerminationSignals([&window] { window.CloseWithoutAsking(); });
    if (!headless) {
        QObject::connect(
            &client, &StationClient::Problem, &window,
            [&window](const QString& message) { ShowProblemWithoutWaiting(&window, message); });
    }
    // A refusal to power off is a problem like any other, and the window waits for the
    // operator to read it before it closes.
    core->CloseAndPowerOffWhenDue([&window, headless](const Result& powerOff) {
        QMetaObject::invokeMethod(&window, HandOff::Wrap([&window, headless, powerOff] {
            if (!powerOff.ok() && !headless)
                QMessageBox::warning(&window, window.windowTitle(), powerOff.message());
            window.CloseWithoutAsking();
        }));
    });
    QStringList messages;
    coreThread.RunAndWait([&] { messages = core->StartUp(); });
    client.SetAirMeter(core->Meter());
    window.showMaximized();
    if (headless) {
        for (const QString& m : messages) station_error::Print(m);
    } else if (!messages.isEmpty()) {
        QMessageBox::warning(&window, window.windowTitle(), messages.join(QLatin1Char('\n')));
    }
    const int exitCode = app.exec();
    client.SetAirMeter(nullptr);  // the meters stop reading it before it goes
    endCore();
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    IgnoreWriteFailureSignals();
    const CommandLine cl = ParseCommandLine(ArgumentsOf(argc, argv));
    if (!cl.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(cl.error), qPrintable(UsageText()));
        return 2;
    }
    if (cl.mode == CommandLine::Mode::Help || cl.mode == CommandLine::Mode::Version) {
        const QString text = cl.mode == CommandLine::Mode::Help ? UsageText() : WindowCaption();
        std::printf("%s\n", qPrintable(text));
        return 0;
    }
    if (cl.mode == CommandLine::Mode::Window) return RunWindow(argc, argv, cl);
    return RunHeadless(argc, argv, cl);
}
