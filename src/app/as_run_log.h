#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

/// The as-run log: one event a line, "YYYY-MM-DD HH:MM:SS.mmm", source, event and
/// detail separated by one TAB; a line without detail ends with its event. Sources are
/// "deck0", "deck1", "station" and "operator". Some events add a further field after the
/// detail (a scheduled spot's place), one more TAB on; readers of the detail never see it.
/// The text made fit for one field of a line of TAB-separated fields: tabs and line ends
/// (which a path or a list's name may hold) become spaces.
QString OneField(QString text);

class AsRunLog {
public:
    using Sink = std::function<void(const QString& line)>;
    explicit AsRunLog(Sink sink) : m_sink(std::move(sink)) {}

    static QString FormatLine(const QDateTime& when, const QString& source, const QString& event,
                              const QString& detail, const QString& further = {});
    void Write(const QDateTime& when, const QString& source, const QString& event,
               const QString& detail, const QString& further = {}) const {
        m_sink(FormatLine(when, source, event, detail, further));
    }

private:
    Sink m_sink;
};
