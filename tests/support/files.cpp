#include "support/files.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include "app/command_line.h"
#include "app/week_preview.h"

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

namespace {

QStringList TreeOf(const QString& folder, QDir::Filters filters) {
    QStringList entries;
    QDirIterator it(folder, filters | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries << it.filePath() + " " + QString::number(it.fileInfo().size()) + " " +
                       it.fileInfo().lastModified().toString(Qt::ISODateWithMs);
    }
    entries.sort();
    return entries;
}

}  // namespace

QStringList FolderTree(const QString& folder) { return TreeOf(folder, QDir::AllEntries); }

QStringList FileTree(const QString& folder) { return TreeOf(folder, QDir::Files); }

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
    return env;
}

QList<AsRunLine> ParseAsRunLog(const QStringList& lines) {
    QList<AsRunLine> parsed;
    for (const QString& line : lines) {
        const QStringList f = line.split('\t');
        EXPECT_EQ(f.size(), 4) << line.toStdString();
        if (f.size() != 4) continue;
        parsed.append({QDateTime::fromString(f[0], "yyyy-MM-dd HH:mm:ss.zzz"), f[1], f[2], f[3]});
    }
    return parsed;
}

QList<AsRunLine> PreviewLog(const QString& startFolder, const QString& start,
                            const QString& duration) {
    const CommandLine cl = ParseCommandLine({"--simulate", start, "--for", duration});
    EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
    QStringList lines;
    EXPECT_EQ(RunWeekPreview(cl, startFolder, nullptr, [&](const QString& l) { lines << l; }), 0);
    return ParseAsRunLog(lines);
}
