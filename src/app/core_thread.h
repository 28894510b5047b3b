#pragma once

#include <QThread>
#include <functional>

/// A thread with an event loop of its own, for the station's core: its timers, its decks'
/// sockets and its commands run there, whatever the window's thread is doing.
class CoreThread {
public:
    CoreThread();
    /// Quits the thread's event loop and waits for it.
    ~CoreThread();
    CoreThread(const CoreThread&) = delete;
    CoreThread& operator=(const CoreThread&) = delete;

    /// Runs work on the core's thread and waits until it is done (at once when called there).
    /// Objects made by work belong to the core's thread.
    void RunAndWait(const std::function<void()>& work);
    QThread& Thread() { return m_thread; }

private:
    QThread m_thread;
    QObject* m_context;  // lives on the thread: work is posted to it
};
