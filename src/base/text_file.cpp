#include "base/text_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace text_file {

namespace {

// The upper half of Windows-1253. The five C1 holes map to themselves and 0xAA, 0xD2,
// 0xFF to the private-use characters Windows gives them, so every byte survives.
constexpr std::array<char16_t, 128> kWindows1253Upper = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x0088, 0x2030, 0x008A, 0x2039, 0x008C, 0x008D, 0x008E, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x009A, 0x203A, 0x009C, 0x009D, 0x009E, 0x009F,  // 0x98
    0x00A0, 0x0385, 0x0386, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0xF8F9, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x2015,  // 0xA8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x0384, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0388, 0x0389, 0x038A, 0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F,  // 0xB8
    0x0390, 0x0391, 0x0392, 0x0393, 0x0394, 0x0395, 0x0396, 0x0397,  // 0xC0
    0x0398, 0x0399, 0x039A, 0x039B, 0x039C, 0x039D, 0x039E, 0x039F,  // 0xC8
    0x03A0, 0x03A1, 0xF8FA, 0x03A3, 0x03A4, 0x03A5, 0x03A6, 0x03A7,  // 0xD0
    0x03A8, 0x03A9, 0x03AA, 0x03AB, 0x03AC, 0x03AD, 0x03AE, 0x03AF,  // 0xD8
    0x03B0, 0x03B1, 0x03B2, 0x03B3, 0x03B4, 0x03B5, 0x03B6, 0x03B7,  // 0xE0
    0x03B8, 0x03B9, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BE, 0x03BF,  // 0xE8
    0x03C0, 0x03C1, 0x03C2, 0x03C3, 0x03C4, 0x03C5, 0x03C6, 0x03C7,  // 0xF0
    0x03C8, 0x03C9, 0x03CA, 0x03CB, 0x03CC, 0x03CD, 0x03CE, 0xF8FB,  // 0xF8
};

Result ReadFailure(const QString& path, const QFileDevice& file) {
    return Result::Error(QStringLiteral("%1 could not be read: %2").arg(path, file.errorString()));
}

Result WriteFailure(const QString& path, const QFileDevice& file) {
    return Result::Error(
        QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
}

}  // namespace

QString DecodeWindows1253(const QByteArray& bytes) {
    // One character a byte: filled in place, lists of thousands of lines are decoded often.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte < 0x80 ? char16_t(byte) : kWindows1253Upper[byte - 0x80];
    }
    return text;
}

QByteArray EncodeWindows1253(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit < 0x80) {
            bytes.append(static_cast<char>(unit));
            continue;
        }
        char out = '?';
        for (std::size_t i = 0; i < kWindows1253Upper.size(); ++i) {
            if (kWindows1253Upper[i] == unit) {
                out = static_cast<char>(0x80 + i);
                break;
            }
        }
        bytes.append(out);
    }
    return bytes;
}

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return DecodeWindows1253(bytes);
}

QByteArray EncodeText(const QString& text) {
#ifdef Q_OS_WIN
    QStringEncoder ansi(QStringEncoder::System);
    return ansi.encode(text);
#else
    return text.toUtf8();
#endif
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text.at(i);
        if (ch != u'\r' && ch != u'\n') continue;
        lines.append(text.mid(start, i - start));
        if (ch == u'\r' && i + 1 < size && text.at(i + 1) == u'\n') ++i;
        start = i + 1;
    }
    if (start < size) lines.append(text.mid(start));
    return lines;
}

ReadResult<QStringList> ReadLines(const QString& path) {
    ReadResult<QString> text = ReadText(path);
    if (!text.ok()) return {static_cast<Result&>(text)};
    return {Result::Ok(), SplitLines(text.value)};
}

ReadResult<QString> ReadText(const QString& path) {
    // Lists of a hundred thousand tracks stay far below this; an audio or video file
    // saved in the wrong folder does not, and is never loaded whole.
    constexpr qint64 kLargestTextFile = 32 * 1024 * 1024;
    const QFileInfo info(path);
    if (!info.exists()) return {};
    if (info.isFile() && info.size() > kLargestTextFile)
        return {Result::Error(QStringLiteral("%1 is too large to be a text file").arg(path))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {ReadFailure(path, file)};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return {ReadFailure(path, file)};
    if (bytes.contains('\0'))
        return {Result::Error(QStringLiteral("%1 is not a text file").arg(path))};
    return {Result::Ok(), DecodeText(bytes)};
}

namespace {

constexpr char kSaveLeftoverPrefix[] = ".";
constexpr char kSaveLeftoverSuffix[] = ".saving";
constexpr int kSaveLeftoverAgeSeconds = 60;

#ifdef _WIN32
Result Replace(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Unbuffered, so a short write (disk full, size limit) shows in the count written:
    // buffered, a truncated file can be committed as a success. Writing on after a short
    // write makes the system say why it stopped.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return WriteFailure(path, file);
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            Result error = WriteFailure(path, file);
            file.cancelWriting();
            return error;
        }
        written += n;
    }
    if (!file.commit()) return WriteFailure(path, file);
    return Result::Ok();
}
#else
Result SystemFailure(const QString& path) {
    return Result::Error(QStringLiteral("%1 could not be written: %2")
                             .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
}

// A link is replaced at its end, as an editor would.
QString LinkEnd(const QString& path) {
    QFileInfo file(path);
    for (int depth = 0; depth < 32 && file.isSymLink(); ++depth) file.setFile(file.symLinkTarget());
    return file.isSymLink() ? path : file.filePath();
}

// Writes every byte, flushes it to the disk and gives the file the old one's permissions.
Result Fill(QFile& file, const QString& path, const QByteArray& bytes) {
    // Unbuffered, so a short write (disk full, size limit) shows in the count written.
    // Writing on after a short write makes the system say why it stopped.
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) return WriteFailure(path, file);
        written += n;
    }
    if (::fsync(file.handle()) != 0) return SystemFailure(path);
    const QFileInfo old(path);
    if (old.exists()) file.setPermissions(old.permissions());
    return Result::Ok();
}

// The new text goes to a hidden file beside the old one, which is renamed over it once
// whole: a kill, a power cut or a full disk leaves the old file as it was and, at worst, a
// hidden leftover, which no list or file view shows and RemoveSaveLeftovers clears.
Result Replace(const QString& target, const QByteArray& bytes) {
    const QString path = LinkEnd(target);
    const QFileInfo old(path);
    if (old.exists() && !old.isWritable())
        return Result::Error(QStringLiteral("%1 could not be written: it is read-only").arg(path));
    QFile file(old.absolutePath() + u'/' + kSaveLeftoverPrefix + old.fileName() + u'.' +
               QString::number(QRandomGenerator::global()->generate(), 36) + kSaveLeftoverSuffix);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return WriteFailure(path, file);
    Result filled = Fill(file, path, bytes);
    file.close();
    if (filled.ok() && std::rename(QFile::encodeName(file.fileName()).constData(),
                                   QFile::encodeName(path).constData()) == 0)
        return filled;
    if (filled.ok()) filled = SystemFailure(path);
    file.remove();
    return filled;
}
#endif

}  // namespace

Result WriteLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += EncodeText(line);
        bytes += "\r\n";
    }
    return Replace(path, bytes);
}

Result WriteBytes(const QString& path, const QByteArray& bytes) { return Replace(path, bytes); }

int RemoveSaveLeftovers(const QString& folder) {
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-kSaveLeftoverAgeSeconds);
    int removed = 0;
    const QDir dir(folder);
    const QString pattern = QString(kSaveLeftoverPrefix) + u'*' + kSaveLeftoverSuffix;
    for (const QFileInfo& file : dir.entryInfoList({pattern}, QDir::Files | QDir::Hidden)) {
        if (file.lastModified() < settled && QFile::remove(file.filePath())) ++removed;
    }
    return removed;
}

}  // namespace text_file
