#include "support/watchdog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <chrono>
#include <future>
#include <thread>

bool ReturnsWithin(int timeoutMs, const std::function<void()>& call,
                   const std::function<void()>& release) {
    std::promise<void> done;
    std::future<void> returned = done.get_future();
    std::thread runner([&] {
        call();
        done.set_value();
    });
    const bool inTime =
        returned.wait_for(std::chrono::milliseconds(timeoutMs)) == std::future_status::ready;
    if (!inTime) release();
    runner.join();
    return inTime;
}

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

void ReleaseFifoReader(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
}
