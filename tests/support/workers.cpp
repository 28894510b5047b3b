#include "support/workers.h"

#include <QCoreApplication>
#include <QThreadPool>

void FinishWorkers() {
    // Results come as posted events, which need an application to be delivered.
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}
