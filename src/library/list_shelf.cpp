#include "library/list_shelf.h"

#include <QDir>

#include "schedule/list_file.h"

QStringList ListShelfNames(const QString& listsPath) {
    const QDir folder(listsPath);
    if (!folder.exists()) return {};
    return folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QStringList ListShelfNames(const QString& listsPath, bool includeCds) {
    QStringList names = ListShelfNames(listsPath);
    if (!includeCds) names.removeIf([](const QString& name) { return IsCdList(name); });
    return names;
}

QStringList WalkListShelf(
    const QString& listsPath, bool includeCds,
    const std::function<void(const QString& name, const QStringList& lines)>& visit) {
    QStringList problems;
    for (const QString& name : ListShelfNames(listsPath, includeCds)) {
        // A missing file reads as no lines.
        const ReadResult<QStringList> read = list_file::Read(listsPath, name);
        if (read.ok())
            visit(name, read.value);
        else
            problems.append(read.message());
    }
    return problems;
}
