#include "support/run_events.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs) {
    constexpr int kLookEveryMs = 10;
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
