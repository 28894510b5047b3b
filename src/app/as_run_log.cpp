#include "app/as_run_log.h"

QString OneField(QString text) {
    return text.replace('\t', ' ').replace('\r', ' ').replace('\n', ' ');
}

QString AsRunLog::FormatLine(const QDateTime& when, const QString& source, const QString& event,
                             const QString& detail, const QString& further) {
    QString line =
        when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + '\t' + source + '\t' + event;
    // No detail, no TAB: the line ends with its event.
    if (!detail.isEmpty() || !further.isEmpty()) line += '\t' + OneField(detail);
    if (!further.isEmpty()) line += '\t' + OneField(further);
    return line;
}

void AsRunLog::Write(const QDateTime& when, const QString& source, const QString& event,
                     const QStringList& fields) const {
    QString line = FormatLine(when, source, event, {});
    for (const QString& field : fields) line += '\t' + OneField(field);
    m_sink(line);
}
