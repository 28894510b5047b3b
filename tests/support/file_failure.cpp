#include "support/file_failure.h"

#include <QFile>
#include <csignal>

namespace file_failure {

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_savedHandler);
}

QString PathUnderRegularFile(const QString& dir, const QString& name) {
    const QString blocker = dir + QStringLiteral("/blocker");
    QFile file(blocker);
    if (file.open(QIODevice::WriteOnly)) file.write("not a folder");
    return blocker + u'/' + name;
}

}  // namespace file_failure
