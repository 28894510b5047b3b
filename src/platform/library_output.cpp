#include "platform/library_output.h"

#include <QFile>
#include <QFileInfo>

#include "base/station_error.h"
#include "platform/mpv_player_link.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

constexpr int kTrimEveryMs = 60'000;

#ifdef Q_OS_UNIX
QtMessageHandler g_qtHandler = nullptr;

// Qt's own handler writes to the log; a fatal message is the last word before the program
// ends, so it is told where the operator looks too.
void TellFatalMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) station_error::Print(text, station_error::Severity::Error);
    if (g_qtHandler) g_qtHandler(type, context, text);
}
#endif

}  // namespace

LibraryOutput::LibraryOutput() {
    m_trim.callOnTimeout([this] { output_log::KeepShort(m_path, output_log::kLimitBytes); });
}

QString LibraryOutput::KeepIn(const QString& path) {
#ifdef Q_OS_UNIX
    if (path.isEmpty()) return QStringLiteral("There is no folder for the log of the libraries");
    const QByteArray native = QFile::encodeName(path);
    // Appending, so that trimming the file lets the writes go on at its new end.
    const int log =
        ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
    if (log < 0)
        return QStringLiteral("The log %1 cannot be made: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    const int real = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    std::FILE* station = real >= 0 ? ::fdopen(real, "w") : nullptr;
    if (!station) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        if (real >= 0) ::close(real);
        ::close(log);
        return QStringLiteral("Standard error cannot be kept apart: %1").arg(why);
    }
    std::fflush(stderr);
    ::dup2(log, STDERR_FILENO);
    ::close(log);
    station_error::SetStream(station);
    g_qtHandler = qInstallMessageHandler(TellFatalMessages);
    m_path = path;
    m_trim.start(kTrimEveryMs);
    return {};
#else
    Q_UNUSED(path);
    return {};
#endif
}

QString LibraryOutput::InRuntimeFolder(const QString& name) {
    const QString folder = MpvPlayerLink::DefaultSocketFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

namespace output_log {

void KeepShort(const QString& path, qint64 limitBytes) {
    if (path.isEmpty() || QFileInfo(path).size() <= limitBytes) return;
    const QString old = path + QStringLiteral(".old");
    QFile::remove(old);
    QFile::copy(path, old);
    QFile::resize(path, 0);
}

}  // namespace output_log
