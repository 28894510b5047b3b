// The station's entry: the studio window, or one of the headless commands
// (--simulate for the week preview, --track-length for checking files, --search for the
// library's search, --dead-entries for the nightly check of the lists and spot files,
// --check for the week's pre-flight check, --send for a command to the running station,
// --spot-report for the proof of play of the spots).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "app/as_run_file.h"
#include "app/as_run_log.h"
#include "app/command_line.h"
#include "app/data_folders.h"
#include "app/dead_entries_command.h"
#include "app/operator_actions.h"
#include "app/search_command.h"
#include "app/settings.h"
#include "app/station.h"
#include "app/station_client.h"
#include "app/station_core.h"
#include "app/track_length_command.h"
#include "app/week_preview.h"
#include "base/station_error.h"
#include "base/system_shutdown.h"
#include "platform/control_socket.h"
#include "platform/library_output.h"
#include "platform/player_link_factory.h"
#ifdef _WIN32
#include "platform/win_line_in_control.h"
#include "platform/win_system_shutdown.h"
#else
#include "platform/login_manager_shutdown.h"
#include "platform/pulse_line_in_control.h"
#endif
#include "platform/qt_timer_host.h"
#include "platform/station_lock.h"
#include "platform/system_clock.h"
#include "platform/unix_signals.h"
#include "player/logging_player_link.h"
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
    if (cl.mode == CommandLine::Mode::Search)
        return RunSearchCommand(cl, QDir::currentPath(), out, err);
    if (cl.mode == CommandLine::Mode::DeadEntries)
        return RunDeadEntriesCommand(cl, QDir::currentPath(), out, err);
    if (cl.mode == CommandLine::Mode::Check) {
        const auto store = OpenStationSettings();
        return RunCheckCommand(cl, QDir::currentPath(), store.get(), SystemClock().Now(), out);
    }
    if (cl.mode == CommandLine::Mode::Send) return RunSendCommand(cl.sendMessage, out, err);
    if (cl.mode == CommandLine::Mode::SpotReport)
        return RunSpotReportCommand(cl, QDir::currentPath(), SystemClock().Now(), out, err);
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
    return RunWeekPreview(
        cl, QDir::currentPath(), store.get(), [&out](const QString& line) { out << line << '\n'; },
        problems, actions);
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

// scripts/screenshot.sh names the page to show (its tab's caption) and may type a search
// text into the library's Search page; nothing else sets these variables.
void OpenPageForScreenshot(QWidget& window) {
    const QString caption = qEnvironmentVariable("STAVOX_SCREENSHOT_PAGE");
    if (caption.isEmpty()) return;
    // The program pages on the right, the played list's pages (Jingles) on the left, or
    // the library's pages below the program pages.
    for (const char* name : {"PageControlCalSpotsLists", "PageControl2", "PageControl1"}) {
        auto* pages = window.findChild<QTabWidget*>(QLatin1String(name));
        for (int i = 0; pages && i < pages->count(); ++i)
            if (pages->tabText(i) == caption) pages->setCurrentIndex(i);
    }
    const QString search = qEnvironmentVariable("STAVOX_SCREENSHOT_SEARCH");
    if (auto* box = window.findChild<QComboBox*>(QStringLiteral("EditSearch1"));
        box && !search.isEmpty())
        box->setEditText(search);
}

// bench/library_start_bench.sh times the start to the first painted window: with this
// variable set the window reports it on standard error and closes. Nothing else sets it.
class FirstPaintReport final : public QObject {
public:
    explicit FirstPaintReport(const QElapsedTimer& since) : m_since(since) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            station_error::Print(QStringLiteral("first paint after %1 ms").arg(m_since.elapsed()));
            auto* window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
        return false;
    }

private:
    QElapsedTimer m_since;
    bool m_reported = false;
};

// Simulated decks are a trial run: the machine stays on.
class TrialRunShutdown final : public SystemShutdown {
public:
    Result PowerOff() override {
        return Result::Error(QStringLiteral("a trial run with simulated players leaves it on"));
    }
};

int RunWindow(int argc, char** argv, const CommandLine& cl, const QElapsedTimer& started) {
    const bool headless = ChooseOffscreenWhenNoDisplay();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    SystemClock clock;
    QtTimerHost timers;
    const QString kind = cl.player == "simulated" ? cl.player : DefaultPlayerKind();
    // Simulated decks are this process's own; real ones are there for every station the
    // user starts.
    StationLock stationLock;
    if (kind != QLatin1String("simulated")) {
        stationLock = TakeStationLock();
        if (!stationLock.refusal.isEmpty()) {
            station_error::Print(stationLock.refusal);
            if (!headless)
                QMessageBox::critical(nullptr, app.applicationName(), stationLock.refusal);
            return 1;
        }
        if (!stationLock.warning.isEmpty()) station_error::Print(stationLock.warning);
    }
    // What Qt, the video panel's decoder and the sound libraries print goes to a log, so
    // that standard error holds the station's own lines alone. A trial run beside the
    // station keeps its own.
    LibraryOutput libraryOutput;
    if (const QString problem = libraryOutput.KeepIn(LibraryOutput::InRuntimeFolder(
            kind == QLatin1String("simulated") ? QStringLiteral("trial-run.log")
                                               : QStringLiteral("station.log")));
        !problem.isEmpty())
        station_error::Print(problem);
    std::unique_ptr<PlayerLink> decks = MakePlayerLink(kind, clock, timers, cl.playerOptions);
    if (!decks) {
        station_error::Print(QStringLiteral("This system has no player of kind %1").arg(kind));
        return 1;
    }

    // The as-run log is kept on disk by the station that drives the decks (it holds the
    // station lock) and by no other: a trial beside it would add lines that never aired.
    // Headless, the operator also watches it as it happens.
    QTextStream out(stdout);
    std::optional<AsRunFile> asRunFile;
    if (kind != QLatin1String("simulated"))
        asRunFile.emplace(QDir::currentPath());
    else
        station_error::Print(kAsRunOnStandardOutput);
    const AsRunLog log([&](const QString& line) {
        if (asRunFile) asRunFile->Append(line);
        if (headless || !asRunFile) out << line << Qt::endl;
    });
    LoggingPlayerLink link(*decks);
    QObject::connect(&link, &LoggingPlayerLink::DeckEvent,
                     [&](int deck, const QString& event, const QString& detail) {
                         if (event != QLatin1String("volume"))
                             log.Write(clock.Now(), QStringLiteral("deck%1").arg(deck), event,
                                       detail);
                     });

    // Simulated decks are a trial run: the line input keeps away from the sound card too.
    std::unique_ptr<LineInControl> lineIn;
    if (kind == QLatin1String("simulated"))
        lineIn = std::make_unique<SimulatedLineInControl>();
    else
#ifdef _WIN32
        lineIn = std::make_unique<WinLineInControl>();
#else
        lineIn = std::make_unique<PulseLineInControl>();
#endif

    auto store = OpenStationSettings();
    Station station(QDir::currentPath(), clock, timers, link, lineIn.get());
    station.Engine().ReadLengthsInBackground();  // odd files never hold the tick
    station.SetWeekCheck(&week_check::WeekFromNow);
    // Standard error has every problem, for when the as-run log has no reader; a problem
    // is also a line of that log.
    QObject::connect(&station, &Station::Problem,
                     [](const QString& message) { station_error::Print(message); });
    LogStationEvents(station, log, clock);
    // A log that cannot be written is a problem like any other: told, and the music goes on.
    if (asRunFile)
        QObject::connect(&*asRunFile, &AsRunFile::WriteFailed, &station, &Station::Problem);

    // Once closed, the station's decks are quit: a command that arrives before the event loop
    // ends is refused.
    bool stationClosed = false;
    StationCore core(station);
    StationClient client(core);
    MainWindow window(client, station, [&] {
        stationClosed = true;
        const QStringList problems = station.Close(store.get());
        for (const QString& p : problems) station_error::Print(p);
    });
    // A signal during start-up waits for the event loop, then closes as the window does.
    CallOnTerminationSignals([&window] { window.CloseWithoutAsking(); });
    QMetaObject::Connection problemBox;
    if (!headless) {
        problemBox = QObject::connect(
            &station, &Station::Problem, &window,
            [&window](const QString& message) { ShowProblemWithoutWaiting(&window, message); });
    }
    std::unique_ptr<SystemShutdown> systemShutdown;
    if (kind == QLatin1String("simulated"))
        systemShutdown = std::make_unique<TrialRunShutdown>();
    else
#ifdef _WIN32
        systemShutdown = std::make_unique<WinSystemShutdown>();
#else
        systemShutdown = std::make_unique<LoginManagerShutdown>();
#endif
    // The automatic shutdown closes the station first, then switches the machine off. A
    // refusal is a problem like any other, and the window waits for the operator to read it
    // before it closes.
    QObject::connect(&station.Shutdown(), &AutoShutdown::ShutdownDue, &window, [&] {
        log.Write(clock.Now(), QStringLiteral("station"), QStringLiteral("shutdown"), QString());
        QObject::disconnect(problemBox);
        stationClosed = true;
        const Result powerOff = station.CloseAndPowerOff(store.get(), *systemShutdown);
        if (!powerOff.ok() && !headless)
            QMessageBox::warning(&window, window.windowTitle(), powerOff.message());
        window.CloseWithoutAsking();
    });
    QStringList messages = station.StartUp(store.get());
    // Commands from other programs of this user, done as the operator's and logged so.
    ControlServer control([&](const QByteArray& message) {
        if (stationClosed) return QStringLiteral("error: the station is closing");
        return AnswerControlMessage(station, message, log, clock);
    });
    if (const QString warning = control.Listen(ControlSocketPath()); !warning.isEmpty())
        messages << warning;
    if (const QString problem = SettingsReadProblem(*store); !problem.isEmpty())
        messages.prepend(problem);
    FirstPaintReport firstPaint(started);
    if (qEnvironmentVariableIsSet("STAVOX_REPORT_FIRST_PAINT"))
        window.installEventFilter(&firstPaint);
    window.showMaximized();
    OpenPageForScreenshot(window);
    LogProblems(messages, log, clock);
    if (headless) {
        for (const QString& m : messages) station_error::Print(m);
    } else if (!messages.isEmpty()) {
        QMessageBox::warning(&window, window.windowTitle(), messages.join(QLatin1Char('\n')));
    }
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
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
    if (cl.mode == CommandLine::Mode::Window) return RunWindow(argc, argv, cl, started);
    return RunHeadless(argc, argv, cl);
}
