#include "app/as_run_file.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// One write for the whole line. A line cut short (a full disk, a size limit) is taken
// back, so the file only ever holds whole lines. Empty when the line is in the file.
QString AppendWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    const qint64 before = file.size();
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        // A short write sets no error of its own: the system's last one says why.
        const QString reason =
            written < 0 ? file.errorString() : QString::fromLocal8Bit(std::strerror(errno));
        file.resize(before);
        return reason;
    }
#ifndef _WIN32
    // Out of the system's cache too: the station computer may lose power at any moment.
    ::fsync(file.handle());
#endif
    return {};
}

// True when the file holds a last line without its end: a kill or a power cut in the middle
// of a write can cut one short.
bool EndsInCutLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
    file.seek(file.size() - 1);
    char last = '\n';
    return file.getChar(&last) && last != '\n';
}

}  // namespace

AsRunFile::AsRunFile(const QString& stationFolder)
    : m_folder(stationFolder + QStringLiteral("/asrun")) {}

bool AsRunFile::Append(const QString& line) {
    const QString path = m_folder + u'/' + line.left(10) + QStringLiteral(".log");
    QByteArray bytes = (line + u'\n').toUtf8();
    // Once a file, the line cut short before this run is ended first, so the new line
    // stays whole instead of being glued to it.
    if (path != m_checkedFile && EndsInCutLine(path)) bytes.prepend('\n');
    const QString reason = QDir().mkpath(m_folder) ? AppendWhole(path, bytes)
                                                   : QStringLiteral("the folder cannot be made");
    if (reason.isEmpty()) {
        m_checkedFile = path;
        m_failing = false;
        return true;
    }
    // Set before telling: a listener may log the message, which comes back here.
    if (!m_failing) {
        m_failing = true;
        Q_EMIT WriteFailed(
            QStringLiteral("The as-run log could not be written to %1: %2. The station plays on "
                           "and the log goes on as soon as the file can be written again.")
                .arg(QDir::toNativeSeparators(path), reason));
    }
    return false;
}
