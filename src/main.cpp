// The station's entry: the studio window, or one of the headless commands
// (--simulate for the week preview, --track-length for checking files).
#include "app/command_line.h"
#include "app/data_folders.h"
#include "app/settings.h"
#include "app/station.h"
#include "app/track_length_command.h"
#include "app/week_preview.h"
#include "platform/player_link_factory.h"
#include "platform/qt_timer_host.h"
#include "platform/system_clock.h"
#include "platform/unix_signals.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QTextStream>

#include <cstdio>

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

int RunHeadless(int argc, char** argv, const CommandLine& cl) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (cl.mode == CommandLine::Mode::TrackLength) return RunTrackLengthCommand(cl.files, out, err);
    const Settings settings = ReadSettings(*OpenStationSettings());
    return RunWeekPreview(cl, QDir::currentPath(), settings,
                          [&out](const QString& line) { out << line << '\n'; });
}

int RunWindow(int argc, char** argv, const CommandLine& cl) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    SystemClock clock;
    QtTimerHost timers;
    const QString kind = cl.player == "simulated" ? cl.player : DefaultPlayerKind();
    std::unique_ptr<PlayerLink> link = MakePlayerLink(kind, clock, timers, cl.playerOptions);
    auto store = OpenStationSettings();
    Station station(QDir::currentPath(), clock, timers, *link);

    MainWindow window(station, [&] {
        const QStringList problems = station.Close(store.get());
        for (const QString& p : problems) std::fprintf(stderr, "%s\n", qPrintable(p));
    });
    const QStringList messages = station.StartUp(ReadSettings(*store));
    CallOnTerminationSignals([&window] { window.close(); });
    window.showMaximized();
    if (!messages.isEmpty())
        QMessageBox::warning(&window, window.windowTitle(), messages.join(QLatin1Char('\n')));
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine cl = ParseCommandLine(ArgumentsOf(argc, argv));
    if (!cl.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(cl.error), qPrintable(UsageText()));
        return 2;
    }
    if (cl.mode == CommandLine::Mode::Window) return RunWindow(argc, argv, cl);
    return RunHeadless(argc, argv, cl);
}
