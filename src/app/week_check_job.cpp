#include "app/week_check_job.h"

#include <QMetaObject>

#include "base/thread_handoff.h"

WeekCheckJob::~WeekCheckJob() { m_workers.waitForDone(); }

Result WeekCheckJob::Start(const Station& station) {
    if (!m_prepare)
        return Result::Error(QStringLiteral("The week's check is not part of this program."));
    std::function<QList<WeekWarning>()> work = m_prepare(station);
    const int run = ++m_started;
    m_running = true;
    m_workers.start(HandOff::Wrap([this, run, work = std::move(work)] {
        const QList<WeekWarning> warnings = work();
        // Delivered on the core's thread; the job outlives its workers.
        QMetaObject::invokeMethod(this,
                                  HandOff::Wrap([this, run, warnings] { Finish(run, warnings); }));
    }));
    return Result::Ok();
}

void WeekCheckJob::Finish(int run, const QList<WeekWarning>& warnings) {
    // A check started again meanwhile is the one the operator waits for.
    if (run != m_started) return;
    m_running = false;
    m_warnings = warnings;
    ++m_done;
    Q_EMIT Finished();
}
