#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

/// The as-run log: one event a line, "YYYY-MM-DD HH:MM:SS.mmm", source, event and
/// detail separated by one TAB; a line without detail ends with its event. Sources are
/// "deck0", "deck1", "station" and "operator".
class AsRunLog {
public:
    using Sink = std::function<void(const QString& line)>;
    explicit AsRunLog(Sink sink) : m_sink(std::move(sink)) {}

    static QString FormatLine(const QDateTime& when, const QString& source, const QString& event,
                              const QString& detail);
    void Write(const QDateTime& when, const QString& source, const QString& event,
               const QString& detail) const {
        m_sink(FormatLine(when, source, event, detail));
    }

private:
    Sink m_sink;
};
