#include "app/track_length_command.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "media/mpeg_data.h"

namespace {

// Why a file cannot give a length, or an empty string when it can be read.
QString ReadProblem(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("no such file");
    if (info.isDir()) return QStringLiteral("is a folder");
    if (!info.isFile()) return QStringLiteral("is not a regular file");  // opening a FIFO waits
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    return {};
}

int Run(const QStringList& files, QTextStream& out, QTextStream* err) {
    int result = 0;
    for (const QString& path : files) {
        QString problem = ReadProblem(path);
        TMPEGData mpeg;
        if (problem.isEmpty()) {
            mpeg.ReadFromFile(path);
            // Junk, an empty file or a hole: a 0 there would pass for a very short track.
            if (!mpeg.IsValid())
                problem = QStringLiteral("no MPEG audio frame in its first %1 MB of audio")
                              .arg(kMostBytesBeforeFirstFrame / (1024 * 1024));
        }
        if (!problem.isEmpty()) {
            result = 1;
            if (err) *err << "stavox-mixer: " << path << ": " << problem << '\n';
        }
        out << mpeg.Duration << '\t' << path << '\n';
    }
    out.flush();
    if (err) err->flush();
    return result;
}

}  // namespace

int RunTrackLengthCommand(const QStringList& files, QTextStream& out, QTextStream& err) {
    return Run(files, out, &err);
}

int RunTrackLengthCommand(const QStringList& files, QTextStream& out) {
    return Run(files, out, nullptr);
}
