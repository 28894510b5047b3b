#include "support/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

QStringList FileTree(const QString& folder, bool withFolders) {
    QStringList entries;
    QDirIterator it(
        folder,
        (withFolders ? QDir::AllEntries : QDir::Files) | QDir::NoDotAndDotDot | QDir::Hidden,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries << it.filePath() + " " + QString::number(it.fileInfo().size()) + " " +
                       it.fileInfo().lastModified().toString(Qt::ISODateWithMs);
    }
    entries.sort();
    return entries;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const QString& value)
    : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    qputenv(name, value.toLocal8Bit());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    if (m_wasSet)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

QProcessEnvironment PrivateHomeEnvironment(const QString& home) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/.config");
    env.insert("XDG_CACHE_HOME", home + "/.cache");  // the analyses a station keeps
    // The decks' sockets, the station lock and the control socket live there: a station a
    // test starts never meets the user's own station.
    const QString runtime = home + "/run";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert("XDG_RUNTIME_DIR", runtime);
    return env;
}
