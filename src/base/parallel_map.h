#pragma once

#include <QThread>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

/// Runs work(i) for every i in 0..count-1 on the machine's cores and returns the results
/// in index order. Each call of work must touch only its own data.
template <class Result, class Work>
std::vector<Result> MapInParallel(qsizetype count, const Work& work) {
    std::vector<Result> results(static_cast<std::size_t>(count));
    std::atomic<qsizetype> next{0};
    const auto worker = [&] {
        for (qsizetype i; (i = next++) < count;) results[static_cast<std::size_t>(i)] = work(i);
    };
    const qsizetype threads = std::min<qsizetype>({QThread::idealThreadCount(), 4, count});
    std::vector<std::thread> helpers;
    for (qsizetype t = 1; t < threads; ++t) helpers.emplace_back(worker);
    worker();
    for (std::thread& helper : helpers) helper.join();
    return results;
}
