#pragma once

#include <QString>
#include <QStringList>

#include "base/result.h"

class PlayQueue;

/// Renaming a track's file in its folder, and carrying the new path into the lists, the
/// play queue and the spot files that name the old one. Day files and the played list
/// keep what they hold.

/// What a rename of the file itself gave.
struct TrackRename {
    Result result;         ///< an error when nothing was renamed
    QString newPath;       ///< the old path's folder and the typed name
    bool renamed = false;  ///< false also when the typed name is the old one
};

/// Gives the file at oldPath the name typed; the folder stays. Refused with the reason:
/// a name that is empty, "." or "..", or holds a folder separator or a control character;
/// a missing file; a name another file already has (never replaced, not even by a file
/// that appears meanwhile); any failure of the file system, with its message.
TrackRename RenameTrack(const QString& oldPath, const QString& typedName);

/// What `ReplacePathInLists` did.
struct ListRewrite {
    QStringList rewritten;  ///< lists that named the old path and now name the new one
    QStringList left;       ///< lists that could not be read or written: the old path may stay
    QStringList problems;   ///< one message for each list left
};

/// In each of the named lists of listsPath (ending in "/") whose file exists, every line
/// equal to oldPath (whole line, case included) becomes newPath. Only lists that held it
/// are written.
ListRewrite ReplacePathInLists(const QString& listsPath, const QStringList& listNames,
                               const QString& oldPath, const QString& newPath);

/// Queue entries (path alone or "path^list") and pool lines of the running program whose
/// path is exactly oldPath take newPath; the list name stays. Returns how many changed.
int ReplacePathInQueue(PlayQueue& queue, const QString& oldPath, const QString& newPath);

/// What `ReplacePathInSpots` did.
struct SpotRewrite {
    int filesRewritten = 0;
    QStringList problems;  ///< one message for each spot file that could not be read or written
};

/// Every line equal to oldPath in the 28 spot files of spotsPath (ending in "/") becomes
/// newPath. Files that hold no such line are left untouched (a missing one is not made).
SpotRewrite ReplacePathInSpots(const QString& spotsPath, const QString& oldPath,
                               const QString& newPath);

/// Where a renamed path is looked for besides the file itself.
struct RenamePlaces {
    QString listsPath;
    QStringList listNames;  ///< the list names the Lists tab shows
    QString spotsPath;
};

/// A rename and everything that follows it.
struct RenameOutcome {
    /// Error: the file was not renamed and nothing changed. Warning: it was, but some list
    /// or spot file still names the old path (the messages say which). Ok otherwise.
    Result result;
    QString newPath;
    bool renamed = false;
    ListRewrite lists;
    int queueEntries = 0;
    SpotRewrite spots;
    QStringList messages;  ///< for the operator, in the order things happened
};

/// "Rename": renames the file and, when it moved, rewrites the lists, the queue and the
/// spot files.
RenameOutcome RenameTrackEverywhere(const QString& oldPath, const QString& typedName,
                                    const RenamePlaces& places, PlayQueue& queue);
