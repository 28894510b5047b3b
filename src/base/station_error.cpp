#include "base/station_error.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace station_error {
namespace {

std::FILE* g_stream = nullptr;

// The service manager names the journal's stream by its device and inode ("DEV:INODE");
// a stream handed on to something else (a pipe, a file) no longer matches.
bool WritesToJournal(std::FILE* stream) {
#ifndef _WIN32
    const QByteArray journal = qgetenv("JOURNAL_STREAM");
    struct stat st {};
    if (journal.isEmpty() || ::fstat(::fileno(stream), &st) != 0) return false;
    return journal ==
           QByteArray::number(quint64(st.st_dev)) + ':' + QByteArray::number(quint64(st.st_ino));
#else
    Q_UNUSED(stream);
    return false;
#endif
}

// The syslog priorities: err, warning, info.
QByteArray JournalPrefix(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "<3>";
        case Severity::Warning:
            return "<4>";
        case Severity::Info:
            break;
    }
    return "<6>";
}

}  // namespace

std::FILE* Stream() { return g_stream ? g_stream : stderr; }

void SetStream(std::FILE* stream) { g_stream = stream; }

void Print(const QString& line, Severity severity) {
    std::FILE* out = Stream();
    QByteArray text = line.toLocal8Bit();
    if (WritesToJournal(out)) {
        const QByteArray prefix = JournalPrefix(severity);
        text.replace('\n', '\n' + prefix).prepend(prefix);
    }
    std::fprintf(out, "%s\n", text.constData());
    std::fflush(out);
}

}  // namespace station_error
