#pragma once

#include <QString>
#include <QStringList>

#include "base/result.h"

/// Lists, track entries and program values: the strings in which tracks and lists
/// travel through the station. A list is a file in the lists folder whose name is the
/// list name, one track path a line.

/// "/" or "\" (and ":" on Windows): what ends a path's folder part.
bool IsPathSeparator(QChar ch);
/// The file-name part of a path: the text after the last "/" or "\" (and ":" on Windows).
QString TrackTitle(const QString& path);
/// Where the title begins in the path: just after its last separator, or 0.
qsizetype TrackTitleStart(QStringView path);

struct TrackEntryParts {
    QString path;      ///< before the first "^", or the whole entry
    QString listName;  ///< after the first "^" (further "^" included), or empty
};
TrackEntryParts SplitTrackEntry(const QString& entry);
/// path + "^" + list name.
QString MakeTrackEntry(const QString& path, const QString& listName);

/// The list names of a program value: a value without "|" is one name ("" included);
/// otherwise each name is closed by a "|" and text after the last "|" is ignored
/// ("a|b|" and "a|b|c" give a, b; "|" gives one empty name). The scheduler plays at most
/// kMaxProgramLists of them; that cut is the caller's.
QStringList SplitProgramValue(const QString& value);
inline constexpr int kMaxProgramLists = 11;

/// A list whose name starts with "CD_" (case sensitive) is a CD list.
bool IsCdList(const QString& listName);

/// Whether a name typed by the operator stays inside its folder (no separator, not "."/"..").
bool IsSafeFileName(const QString& name);

/// The rule for a name under which a list is saved or put into a program: it may not be
/// empty, start with a dot (a hidden file is never listed), start or end with a blank (it
/// would pass for another list), or hold a path separator, "|" (it splits a program value)
/// or a control character (a line break shifts a day file). A bad name is an error with the
/// operator's message. Lists saved earlier under other names are still read as they are.
Result ListNameRefusal(const QString& name);

namespace list_file {
/// The lines of listsPath + name; no lines when there is no such file (or the name is
/// not a plain file name); an error with the system's message when it cannot be read.
ReadResult<QStringList> Read(const QString& listsPath, const QString& name);
/// Whether listsPath + name is a list: a plain file name of an ordinary file.
bool Exists(const QString& listsPath, const QString& name);
/// The same list's text whole, its line breaks included.
ReadResult<QString> ReadText(const QString& listsPath, const QString& name);
/// Replaces listsPath + name; an error with the system's message on failure. A name that
/// is not a plain file name is refused.
Result Write(const QString& listsPath, const QString& name, const QStringList& lines);
}  // namespace list_file
