#include "support/watchdog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <chrono>
#include <future>

bool ReturnsWithin(int timeoutMs, const std::function<void()>& call,
                   const std::function<void()>& release) {
    std::future<void> returned = std::async(std::launch::async, call);
    const bool inTime =
        returned.wait_for(std::chrono::milliseconds(timeoutMs)) == std::future_status::ready;
    if (!inTime) release();
    return inTime;  // the future waits for the call as it goes
}

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

void ReleaseFifoReader(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
}
