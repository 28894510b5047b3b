#include "app/as_run_log.h"

QString AsRunLog::FormatLine(const QDateTime& when, const QString& source, const QString& event,
                             const QString& detail) {
    // Tabs or line ends inside a path would break the one-event-a-line format.
    QString safeDetail = detail;
    safeDetail.replace('\t', ' ').replace('\r', ' ').replace('\n', ' ');
    QString line =
        when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + '\t' + source + '\t' + event;
    // No detail, no TAB: the line ends with its event.
    if (!safeDetail.isEmpty()) line += '\t' + safeDetail;
    return line;
}
