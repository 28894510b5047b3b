#include "base/text_file.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/file_failure.h"
#include "support/files.h"

namespace {

// Lines split at CR LF, LF or CR; UTF-8 read when valid, Windows-1253 otherwise.
TEST(TextFile, SplitsDecodesReadsMissingAsEmptyRefusesBinaryAndAFailedWriteKeepsTheOld) {
    const std::pair<const char*, QStringList> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}},         {"a\rb\r", {"a", "b"}},
        {"a\n\rb", {"a", "", "b"}}, {"a\r\r\nb", {"a", "", "b"}}, {"", {}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(text_file::SplitLines(QString::fromLatin1(text)), lines) << text;
    const QString greek = QStringLiteral("Ελληνικά ώρα ΐΰ €");
    EXPECT_EQ(text_file::DecodeText(greek.toUtf8()), greek);
    EXPECT_EQ(text_file::DecodeText(text_file::EncodeWindows1253(greek)), greek);
    // Every byte, the code page's holes included, comes back as it was.
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    EXPECT_EQ(text_file::EncodeWindows1253(text_file::DecodeWindows1253(all)), all);
    QTemporaryDir dir;
    const auto missing = text_file::ReadLines(dir.filePath("none"));
    EXPECT_TRUE(missing == Result::Ok() && missing.value.isEmpty());
    const auto folder = text_file::ReadLines(dir.path());
    EXPECT_TRUE(!folder.ok() && folder.message().startsWith(dir.path() + " could not be read: "))
        << folder.message().toStdString();
    const QString junk = dir.filePath("junk");
    WriteBytes(junk, QByteArray("/m/a.mp3\r\nID3\x03\0\0\xff\xfb", 17));
    const auto binary = text_file::ReadLines(junk);
    EXPECT_TRUE(binary.value.isEmpty());
    EXPECT_EQ(binary, Result::Error(junk + " is not a text file"));
    ASSERT_TRUE(QFile::resize(junk, 33 * 1024 * 1024));  // a sparse file: no disk is spent
    EXPECT_EQ(text_file::ReadLines(junk), Result::Error(junk + " is too large to be a text file"));
    // A failed write reports the system's message and keeps the old file.
    const QString nowhere = file_failure::PathUnderRegularFile(dir.path(), "list");
    const Result refused = text_file::WriteLines(nowhere, {"x"});
    EXPECT_TRUE(!refused.ok() && refused.message().startsWith(nowhere + " could not be written: "));
    const QString path = dir.filePath("list");
    ASSERT_EQ(text_file::WriteLines(path, {"old 1", "old 2"}), Result::Ok());
    Result error;
    {
        file_failure::FileSizeLimit limit(64);
        error = text_file::WriteLines(path, {QString(1000, u'x'), "new"});
    }
    EXPECT_EQ(error, Result::Error(path + " could not be written: File too large"));
    EXPECT_EQ(ReadBytes(path), QByteArray("old 1\r\nold 2\r\n"));
    // No half-written temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"blocker", "junk", "list"}));
}

// A save goes through a hidden file beside its own: it keeps the old file's permissions,
// replaces a link's end, and what a kill left of it is cleared once it is a minute old.
TEST(TextFile, ASaveKeepsPermissionsFollowsLinksAndItsStaleLeftoversAreCleared) {
    QTemporaryDir dir;
    const QString list = dir.filePath("Rock"), link = dir.filePath("link");
    WriteBytes(list, "old\r\n");
    const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    ASSERT_TRUE(QFile::setPermissions(list, shared) && QFile::link(list, link));
    ASSERT_EQ(text_file::WriteLines(link, {"new"}), Result::Ok());
    EXPECT_EQ(ReadBytes(list), "new\r\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFile::permissions(list) & ~QFile::ReadUser & ~QFile::WriteUser, shared);
    const struct {
        const char* name;
        int ageSeconds;
        bool removed;
    } files[] = {
        {".Rock.k3x9q1.saving", 120, true},
        {".Rock.k3x9q2.saving", 5, false},
        {".hidden", 120, false},
        {"Rock.saving", 120, false},
        {".Rock.k3x9q1.saving.mp3", 120, false},
    };
    for (const auto& file : files) {
        QFile made(dir.filePath(file.name));
        ASSERT_TRUE(made.open(QIODevice::WriteOnly));
        made.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-file.ageSeconds),
                         QFileDevice::FileModificationTime);
    }
    EXPECT_EQ(text_file::RemoveSaveLeftovers(dir.path()), 1);
    for (const auto& file : files)
        EXPECT_EQ(QFile::exists(dir.filePath(file.name)), !file.removed) << file.name;
}

}  // namespace
