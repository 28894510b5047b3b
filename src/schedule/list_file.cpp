#include "schedule/list_file.h"

#include <QFileInfo>
#include <algorithm>

#include "base/text_file.h"

bool IsPathSeparator(QChar ch) {
#ifdef Q_OS_WIN
    if (ch == u':') return true;
#endif
    return ch == u'/' || ch == u'\\';
}

QString TrackTitle(const QString& path) { return path.mid(TrackTitleStart(path)); }

qsizetype TrackTitleStart(QStringView path) {
    // Only the characters that may be a separator are asked about: the search runs this
    // over every title of the library.
    for (qsizetype i = path.size(); i > 0; --i) {
        const char16_t c = path[i - 1].unicode();
        if ((c == u'/' || c == u'\\' || c == u':') && IsPathSeparator(c)) return i;
    }
    return 0;
}

TrackEntryParts SplitTrackEntry(const QString& entry) {
    const qsizetype caret = entry.indexOf(u'^');
    if (caret < 0) return {entry, QString()};
    return {entry.left(caret), entry.mid(caret + 1)};
}

QString MakeTrackEntry(const QString& path, const QString& listName) {
    return path + u'^' + listName;
}

QStringList SplitProgramValue(const QString& value) {
    if (!value.contains(u'|')) return {value};
    // Each name is closed by its own "|"; whatever follows the last one is not a name.
    QStringList names;
    qsizetype start = 0;
    for (qsizetype bar = value.indexOf(u'|'); bar >= 0; bar = value.indexOf(u'|', start)) {
        names.append(value.mid(start, bar - start));
        start = bar + 1;
    }
    return names;
}

bool IsCdList(const QString& listName) { return listName.startsWith(QLatin1String("CD_")); }

bool IsSafeFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar ch : name) {
        if (IsPathSeparator(ch) || ch.isNull()) return false;
    }
    return true;
}

Result ListNameRefusal(const QString& name) {
    const auto holds = [&name](auto test) { return std::any_of(name.begin(), name.end(), test); };
    QString fault;
    if (name.isEmpty()) {
        fault = QStringLiteral("it is empty");
    } else if (name.front() == u'.') {
        fault = QStringLiteral("it starts with a dot");
    } else if (name.front().isSpace() || name.back().isSpace()) {
        fault = QStringLiteral("it starts or ends with a blank");
    } else if (holds(IsPathSeparator)) {
        fault = QStringLiteral("it holds a path separator");
    } else if (name.contains(u'|')) {
        fault = QStringLiteral("it holds \"|\"");
    } else if (holds([](QChar ch) { return ch.category() == QChar::Other_Control; })) {
        fault = QStringLiteral("it holds a control character");
    }
    if (fault.isEmpty()) return Result::Ok();
    return Result::Error(QStringLiteral("\"%1\" cannot be a list name: %2.").arg(name, fault));
}

namespace list_file {

ReadResult<QStringList> Read(const QString& listsPath, const QString& name) {
    ReadResult<QString> text = ReadText(listsPath, name);
    if (!text.ok()) return {static_cast<Result&>(text)};
    return {Result::Ok(), text_file::SplitLines(text.value)};
}

bool Exists(const QString& listsPath, const QString& name) {
    // Only an ordinary file in the folder is a list; any other name (empty, a folder,
    // a path leading elsewhere) names no list.
    return IsSafeFileName(name) && QFileInfo(listsPath + name).isFile();
}

ReadResult<QString> ReadText(const QString& listsPath, const QString& name) {
    // A name that names no list reads as an empty one.
    if (!Exists(listsPath, name)) return {};
    return text_file::ReadText(listsPath + name);
}

Result Write(const QString& listsPath, const QString& name, const QStringList& lines) {
    if (!IsSafeFileName(name))
        return Result::Error(QStringLiteral("Invalid list name: \"%1\"").arg(name));
    return text_file::WriteLines(listsPath + name, lines);
}

}  // namespace list_file
