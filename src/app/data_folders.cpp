#include "app/data_folders.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

QString WindowCaption() {
    return QLatin1String(kApplicationTitle) + u' ' + QLatin1String(kVersionText);
}

DataFolders MakeDataFolders(const QString& startFolder) {
    // A relative (or empty) folder means one below the current directory, fixed now.
    QString start = QDir::cleanPath(QDir(QDir::fromNativeSeparators(startFolder)).absolutePath());
    if (!start.endsWith(u'/')) start += u'/';
    return {start, start + QStringLiteral("pro1/"), start + QStringLiteral("days1/"),
            start + QStringLiteral("hour1/"), start + QStringLiteral("spots1/")};
}

QStringList CreateDataFolders(const DataFolders& folders) {
    QStringList failures;
    for (const QString* path :
         {&folders.ListsPath, &folders.DaysPath, &folders.HoursPath, &folders.SpotsPath}) {
        if (QFileInfo(*path).isDir()) continue;
        // std::filesystem rather than QDir::mkdir, for the system's reason on failure.
        std::error_code error;
        std::filesystem::create_directory(std::filesystem::path(path->toStdU16String()), error);
        if (error) {
            failures.append(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(*path),
                                                         QString::fromStdString(error.message())));
        }
    }
    return failures;
}
