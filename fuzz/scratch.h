#pragma once

// A harness's own folder for the files its reader opens, under $TMPDIR (run.sh gives each
// run one and removes it), and the input written there as a file.
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline const QString& ScratchFolder() {
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/fuzz-%1/").arg(getpid());
        if (!QDir().mkpath(path)) std::abort();
        return path;
    }();
    return folder;
}

inline QByteArray InputBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Replaces folder + name with the input; a harness that cannot write it cannot test.
inline QString WriteScratch(const QString& name, const std::uint8_t* data, std::size_t size,
                            const QString& folder = ScratchFolder()) {
    const QString path = folder + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}
