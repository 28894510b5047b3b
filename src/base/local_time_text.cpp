#include "base/local_time_text.h"

#include <QRegularExpression>

namespace {

Result NotADay(const QString& text, const QRegularExpressionMatch& m, QDate& day) {
    if (!m.hasMatch()) {
        if (text.startsWith(u'-') || text.startsWith(u'+'))
            return Result::Error(QStringLiteral("a year takes four digits, without a sign"));
        return Result::Error(QString());  // the caller names the shape it wants
    }
    day = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (day.isValid()) return {};
    return Result::Error(QStringLiteral("the calendar has no day %1").arg(m.captured(0).left(10)));
}

// The wall-clock minute nearest `time` on `day`, stepping by `step` minutes, that the local
// clock shows: one edge of the hour skipped when the clocks go forward.
QTime ShownEdge(const QDate& day, const QTime& inside, int step) {
    QTime time(inside.hour(), inside.minute());
    for (int i = 0; i < 24 * 60; ++i) {
        time = time.addSecs(step * 60);
        const QDateTime shown(day, time);
        if (shown.isValid() && shown.time() == time) return time;
    }
    return time;
}

}  // namespace

ReadResult<QDate> ParseDay(const QString& text) {
    static const QRegularExpression shape(QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d)$"));
    ReadResult<QDate> day;
    if (const Result why = NotADay(text, shape.match(text), day.value); !why.ok())
        return {why.message().isEmpty() ? Result::Error(kNotADay) : why};
    return day;
}

ReadResult<QDateTime> ParseLocalTime(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d) (\\d\\d):(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch m = shape.match(text);
    QDate day;
    if (const Result why = NotADay(text, m, day); !why.ok())
        return {why.message().isEmpty() ? Result::Error(QStringLiteral("not YYYY-MM-DD HH:MM:SS"))
                                        : why};
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!time.isValid())
        return {Result::Error(QStringLiteral("a day has no time %1").arg(m.captured(0).mid(11)))};
    // Parsed whole, an hour the autumn change repeats is taken at its first coming.
    ReadResult<QDateTime> result;
    result.value = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (result.value.isValid()) return result;
    // Only a time the clocks skip is left: tell the hour that is skipped.
    const QTime from = ShownEdge(day, time, -1).addSecs(60), to = ShownEdge(day, time, 1);
    return {Result::Error(
        QStringLiteral("that time never comes here: the clocks go forward from %1 to %2 that night")
            .arg(from.toString(QStringLiteral("HH:mm")), to.toString(QStringLiteral("HH:mm"))))};
}
