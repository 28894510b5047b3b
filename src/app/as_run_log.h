#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

/// The as-run log: one event a line, "YYYY-MM-DD HH:MM:SS.mmm", source, event and
/// detail separated by one TAB; a line without detail ends with its event. Sources are
/// "deck0", "deck1", "station", "operator" and "monitor". Some events add further fields after
/// the detail (a scheduled spot's place; a hand-over's measures), one more TAB each; readers
/// of the detail never see them.
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
    /// A line of the detail and as many further fields as given.
    void Write(const QDateTime& when, const QString& source, const QString& event,
               const QStringList& fields) const;

private:
    Sink m_sink;
};
