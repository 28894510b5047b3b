#pragma once

#include <QString>
#include <QStringList>
#include <functional>

/// The lists folder as the library's views walk it: every ordinary file is a list, taken
/// in the order of its name without regard to case.

/// `FileListBox2`: the names of the ordinary files of listsPath, sorted by name without
/// case; hidden files are not lists. No names when the folder is missing.
QStringList ListShelfNames(const QString& listsPath);
/// The same names, CD lists only when included.
QStringList ListShelfNames(const QString& listsPath, bool includeCds);

/// Reads each list of listsPath (ending in "/") in shelf order and hands its name and lines
/// to visit; CD lists only when included. A list gone meanwhile is skipped without a word;
/// the messages of lists that could not be read are returned.
QStringList WalkListShelf(
    const QString& listsPath, bool includeCds,
    const std::function<void(const QString& name, const QStringList& lines)>& visit);
