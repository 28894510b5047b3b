#include "app/core_thread.h"

#include <QMetaObject>

#include "base/thread_handoff.h"

CoreThread::CoreThread() : m_context(new QObject) {
    m_thread.setObjectName(QStringLiteral("station core"));
    m_context->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
}

CoreThread::~CoreThread() {
    m_thread.quit();
    m_thread.wait();
}

void CoreThread::RunAndWait(const std::function<void()>& work) {
    if (QThread::currentThread() == &m_thread) {
        work();
        return;
    }
    // What work did on the core's thread is this thread's to read once it is done.
    HandOff::Token done;
    QMetaObject::invokeMethod(m_context, HandOff::Wrap([&work, &done] {
                                  work();
                                  done.Give();
                              }),
                              Qt::BlockingQueuedConnection);
    done.Take();
}
