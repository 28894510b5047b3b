#pragma once

#include <QString>
#include <QStringList>

/// The program's identity and where its data lives: four folders below the folder that
/// was current at start-up. Every path is built once from that folder, so nothing later
/// depends on the process's current directory.

inline constexpr char kVersionText[] = "2.17";
inline constexpr char kApplicationTitle[] = "Stavox Mixer";
/// "Stavox Mixer 2.17".
QString WindowCaption();

struct DataFolders {
    QString StartFolder;  ///< ends in "/"; files such as "favorites.txt" are appended
    QString ListsPath;    ///< StartFolder + "pro1/"
    QString DaysPath;     ///< StartFolder + "days1/"
    QString HoursPath;    ///< StartFolder + "hour1/"
    QString SpotsPath;    ///< StartFolder + "spots1/"
};

/// The paths below startFolder (the current directory, read once by the caller).
DataFolders MakeDataFolders(const QString& startFolder);

/// Creates the missing folders "pro1", "days1", "hour1", "spots1", in that order, without
/// changing the current directory. A folder that cannot be made does not stop the others;
/// the result holds one message per failure for the caller to show or ignore.
QStringList CreateDataFolders(const DataFolders& folders);
