#include "base/text_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/file_failure.h"

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(TextFile, SplitsAtCrLfOrCrLfAndKeepsALastLineWithoutEnding) {
    const struct {
        const char* text;
        QStringList lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR are two endings
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_file::SplitLines(QString::fromLatin1(c.text)), c.lines) << c.text;
    }
}

TEST(TextFile, DecodesUtf8WhenValidAndWindows1253Otherwise) {
    const QString greek = QStringLiteral("Ελληνικά ώρα ΐΰ €");
    EXPECT_EQ(text_file::DecodeText(greek.toUtf8()), greek);
    const QByteArray ansi = text_file::EncodeWindows1253(greek);
    EXPECT_EQ(ansi.size(), greek.size());
    EXPECT_EQ(text_file::DecodeText(ansi), greek);
    // "Α" is 0xC1 in Windows-1253, a byte that never starts valid UTF-8 on its own.
    EXPECT_EQ(text_file::DecodeText(QByteArray("\xC1-B")), QStringLiteral("Α-B"));
    // A UTF-8 byte order mark is not part of the text.
    EXPECT_EQ(text_file::DecodeText(QByteArray("\xEF\xBB\xBFx")), QStringLiteral("x"));
}

TEST(TextFile, EveryWindows1253ByteSurvivesDecodingAndEncoding) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    const QString text = text_file::DecodeWindows1253(all);
    EXPECT_EQ(text_file::EncodeWindows1253(text), all);
    EXPECT_EQ(text.toUtf8().size() > all.size(), true);
    EXPECT_EQ(text_file::EncodeWindows1253(QStringLiteral("Я")), QByteArray("?"));
}

TEST(TextFile, WritesCrLfAfterEveryLineAndReadsItBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("list");
    const QStringList lines = {"C:\\Μουσική\\a.mp3", "", "/music/b.mp3"};
    ASSERT_EQ(text_file::WriteLines(path, lines), QString());
    EXPECT_EQ(ReadBytes(path),
              QStringLiteral("C:\\Μουσική\\a.mp3\r\n\r\n/music/b.mp3\r\n").toUtf8());
    const auto read = text_file::ReadLines(path);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.lines, lines);

    ASSERT_EQ(text_file::WriteLines(path, {}), QString());
    EXPECT_EQ(ReadBytes(path), QByteArray());
}

TEST(TextFile, MissingFileIsEmptyButAnUnreadableOneReportsTheSystemMessage) {
    QTemporaryDir dir;
    const auto missing = text_file::ReadLines(dir.filePath("none"));
    EXPECT_TRUE(missing.ok());
    EXPECT_TRUE(missing.lines.isEmpty());

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const auto folder = text_file::ReadLines(dir.filePath("folder"));
    EXPECT_FALSE(folder.ok());
    EXPECT_TRUE(folder.lines.isEmpty());
}

TEST(TextFile, FailedWriteReportsTheSystemMessageAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString nowhere = file_failure::PathUnderRegularFile(dir.path(), "list");
    EXPECT_FALSE(text_file::WriteLines(nowhere, {"x"}).isEmpty());
    EXPECT_FALSE(QFile::exists(nowhere));

    const QString path = dir.filePath("list");
    const QByteArray old = "old 1\r\nold 2\r\n";
    WriteBytes(path, old);
    QString error;
    {
        file_failure::FileSizeLimit limit(64);
        error = text_file::WriteLines(path, {QString(1000, u'x'), "new"});
    }
    EXPECT_EQ(error, QStringLiteral("File too large"));
    EXPECT_EQ(ReadBytes(path), old);
    // No half-written temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"blocker", "list"}));
}

}  // namespace
