#pragma once

#include <QThread>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

/// Runs work(i) for every i in 0..count-1 on the machine's cores (at most 4), or on
/// `threads` threads when given, and returns the results in index order. Each call of work
/// must touch only its own data.
/// An exception of work stops the rest and is thrown again once every thread has ended.
template <class Result, class Work>
std::vector<Result> MapInParallel(qsizetype count, const Work& work, int threads = 0) {
    // The bits of a vector<bool> share bytes: threads would write over each other.
    static_assert(!std::is_same_v<Result, bool>, "MapInParallel cannot return bool");
    std::vector<Result> results(static_cast<std::size_t>(count));
    std::atomic<qsizetype> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto worker = [&] {
        try {
            for (qsizetype i; (i = next++) < count;) results[static_cast<std::size_t>(i)] = work(i);
        } catch (...) {
            next = count;
            const std::lock_guard<std::mutex> hold(failureLock);
            if (!failure) failure = std::current_exception();
        }
    };
    const qsizetype used = std::min<qsizetype>(
        threads > 0 ? threads : std::min(QThread::idealThreadCount(), 4), count);
    std::vector<std::thread> helpers;
    for (qsizetype t = 1; t < used; ++t) helpers.emplace_back(worker);
    worker();
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
    return results;
}
