#pragma once

#include <QString>
#include <QStringList>

/// Comma-separated values as spreadsheets read them: a field holding a comma, a double
/// quote, CR or LF is put in double quotes, with each of its quotes doubled; any other
/// field stands as it is. A record is its fields joined by commas; the caller ends it.
namespace csv {

QString Field(const QString& text);
QString Record(const QStringList& fields);

}  // namespace csv
