#include "library/track_rename.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "playback/play_queue.h"
#include "schedule/list_file.h"
#include "spots/spot_file.h"

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#endif

namespace {

bool IsControl(QChar ch) {
    return ch.category() == QChar::Other_Control || ch == QChar::LineSeparator ||
           ch == QChar::ParagraphSeparator;
}

Result NameRefusal(const QString& name) {
    if (name.trimmed().isEmpty()) return Result::Error(QStringLiteral("The new name is empty."));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return Result::Error(QStringLiteral("\"%1\" is not a file name.").arg(name));
    if (std::any_of(name.begin(), name.end(), IsPathSeparator)) {
        return Result::Error(
            QStringLiteral("The new name \"%1\" holds a folder separator; a rename keeps the "
                           "track in its folder.")
                .arg(name));
    }
    if (std::any_of(name.begin(), name.end(), IsControl)) {
        return Result::Error(
            QStringLiteral("The new name holds a line break or another control character."));
    }
    return Result::Ok();
}

Result RenameFailure(const QString& from, const QString& to, const QString& reason) {
    return Result::Error(
        QStringLiteral("Cannot rename \"%1\" to \"%2\": %3").arg(from, to, reason));
}

#ifdef Q_OS_LINUX
// rename() would silently replace a file that takes the new name between the check and the
// move; these never replace one.
Result MoveWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return Result::Ok();
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // A file system without that flag: a second name (refused when taken), then the
        // first one goes.
        if (::link(source.constData(), target.constData()) == 0) {
            if (::unlink(source.constData()) == 0) return Result::Ok();
            error = errno;
            ::unlink(target.constData());
        } else {
            error = errno;
        }
    }
    return RenameFailure(from, to, qt_error_string(error));
}
#else
// QFile::rename refuses a target that exists and the native move it uses never replaces one.
Result MoveWithoutReplacing(const QString& from, const QString& to) {
    QFile file(from);
    if (file.rename(to)) return Result::Ok();
    return RenameFailure(from, to, file.errorString());
}
#endif

// The folder part as this system reads the path: on Linux a "\\" is part of a file name
// ("AC\\DC.mp3"), while lists written on Windows use it between folders.
QString FolderPart(const QString& path) {
#ifdef Q_OS_WIN
    return path.left(path.size() - TrackTitle(path).size());
#else
    return path.left(path.lastIndexOf(u'/') + 1);
#endif
}

// Replaces every line equal to oldLine; returns how many.
int ReplaceLines(QStringList& lines, const QString& oldLine, const QString& newLine) {
    int replaced = 0;
    for (QString& line : lines) {
        if (line != oldLine) continue;
        line = newLine;
        ++replaced;
    }
    return replaced;
}

}  // namespace

TrackRename RenameTrack(const QString& oldPath, const QString& typedName) {
    TrackRename rename;
    rename.result = NameRefusal(typedName);
    if (!rename.result.ok()) return rename;
    rename.newPath = FolderPart(oldPath) + typedName;
    if (rename.newPath == oldPath) return rename;

    if (!QFileInfo(oldPath).isFile()) {
        rename.result = Result::Error(QStringLiteral("The file \"%1\" is not there.").arg(oldPath));
        return rename;
    }
    // On a file system that ignores case, a new spelling of the name finds the file itself.
    const QFileInfo target(rename.newPath);
    const bool taken = target.exists() || target.isSymLink();
    if (taken && target != QFileInfo(oldPath)) {
        rename.result = Result::Error(
            QStringLiteral("Another file is already named \"%1\"; nothing was renamed.")
                .arg(typedName));
        return rename;
    }
    rename.result = MoveWithoutReplacing(oldPath, rename.newPath);
    rename.renamed = rename.result.ok();
    return rename;
}

ListRewrite ReplacePathInLists(const QString& listsPath, const QStringList& listNames,
                               const QString& oldPath, const QString& newPath) {
    ListRewrite rewrite;
    for (const QString& name : listNames) {
        ReadResult<QStringList> read = list_file::Read(listsPath, name);
        Result outcome = read;
        if (read.ok() && ReplaceLines(read.value, oldPath, newPath) == 0) continue;
        if (read.ok()) outcome = list_file::Write(listsPath, name, read.value);
        if (outcome.ok()) {
            rewrite.rewritten.append(name);
            continue;
        }
        rewrite.left.append(name);
        rewrite.problems.append(QStringLiteral("The list \"%1\" may still name the old path: %2")
                                    .arg(name, outcome.message()));
    }
    return rewrite;
}

int ReplacePathInQueue(PlayQueue& queue, const QString& oldPath, const QString& newPath) {
    return queue.ReplacePath(oldPath, newPath);
}

SpotRewrite ReplacePathInSpots(const QString& spotsPath, const QString& oldPath,
                               const QString& newPath) {
    SpotRewrite rewrite;
    for (int weekday = 0; weekday < 7; ++weekday) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            ReadResult<QStringList> read = spot_file::Read(spotsPath, weekday, quarter);
            Result outcome = read;
            if (read.ok() && ReplaceLines(read.value, oldPath, newPath) == 0) continue;
            if (read.ok()) outcome = spot_file::Write(spotsPath, weekday, quarter, read.value);
            if (outcome.ok()) {
                ++rewrite.filesRewritten;
                continue;
            }
            rewrite.problems.append(QStringLiteral("A spot file may still name the old path: %1")
                                        .arg(outcome.message()));
        }
    }
    return rewrite;
}

RenameOutcome RenameTrackEverywhere(const QString& oldPath, const QString& typedName,
                                    const RenamePlaces& places, PlayQueue& queue) {
    RenameOutcome outcome;
    const TrackRename rename = RenameTrack(oldPath, typedName);
    outcome.result = rename.result;
    outcome.newPath = rename.newPath;
    outcome.renamed = rename.renamed;
    if (!rename.renamed) {
        if (!rename.result.ok()) outcome.messages.append(rename.result.message());
        return outcome;
    }
    outcome.lists = ReplacePathInLists(places.listsPath, places.listNames, oldPath, rename.newPath);
    outcome.queueEntries = ReplacePathInQueue(queue, oldPath, rename.newPath);
    outcome.spots = ReplacePathInSpots(places.spotsPath, oldPath, rename.newPath);
    outcome.messages = outcome.lists.problems + outcome.spots.problems;
    if (!outcome.messages.isEmpty()) {
        outcome.result =
            Result::Warning(QStringLiteral("The file was renamed to \"%1\", but:\n%2")
                                .arg(typedName, outcome.messages.join(QLatin1Char('\n'))));
    }
    return outcome;
}
