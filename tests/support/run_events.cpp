#include "support/run_events.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs) {
    constexpr int kLookEveryMs = 10;
    // A test program without an application of its own still gets an event loop.
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        // processEvents(flags, ms) would return at once with nothing to do: a short
        // loop of our own sleeps until an event or the next look.
        QEventLoop rest;
        QTimer::singleShot(kLookEveryMs, &rest, &QEventLoop::quit);
        rest.exec();
    }
    return true;
}
