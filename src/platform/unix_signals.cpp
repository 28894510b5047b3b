#include "platform/unix_signals.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace {

int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
void OnSignal(int) {
    const int savedErrno = errno;  // the interrupted code may be about to read it
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

void CallOnTerminationSignals(std::function<void()> onSignal) {
    if (g_signalPipe[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [notifier, onSignal] {
        char byte;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[1], &byte, 1);
        notifier->setEnabled(false);  // the first signal closes; later ones change nothing
        onSignal();
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    // SIGHUP: the terminal the station was started from was closed. A signal the station
    // was started to ignore (nohup, a background job) stays ignored.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction inherited {};
        if (::sigaction(signal, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &sa, nullptr);
    }
}

void IgnoreWriteFailureSignals() {
    for (const int signal : {SIGPIPE, SIGXFSZ}) ::signal(signal, SIG_IGN);
}
#else
void CallOnTerminationSignals(std::function<void()>) {}
void IgnoreWriteFailureSignals() {}
#endif
