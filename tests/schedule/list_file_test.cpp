#include "schedule/list_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "support/file_failure.h"

namespace {

class ListFileTest : public ::testing::Test {
protected:
    QString ListsPath() const { return m_dir.path() + u'/'; }

    void WriteBytes(const QString& name, const QByteArray& bytes) {
        QFile file(ListsPath() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadBytes(const QString& name) const {
        QFile file(ListsPath() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST(TrackTitle, IsTheTextAfterTheLastSeparator) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\Music\\Artist - Song.mp3", "Artist - Song.mp3"},
        {"/home/radio/Artist - Song.mp3", "Artist - Song.mp3"},
        {"\\\\server\\share/mixed\\a.mp3", "a.mp3"},
        {"C:\\Music\\", ""},
        {"/music/", ""},
        {"plain.mp3", "plain.mp3"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrackTitle(QString::fromUtf8(c.path)), QString::fromUtf8(c.title)) << c.path;
    }
}

TEST(TrackEntry, SplitsAtTheFirstCaret) {
    const auto two = SplitTrackEntry("C:\\a.mp3^Rock^Night");
    EXPECT_EQ(two.path, "C:\\a.mp3");
    EXPECT_EQ(two.listName, "Rock^Night");

    const auto none = SplitTrackEntry("/music/a.mp3");
    EXPECT_EQ(none.path, "/music/a.mp3");
    EXPECT_EQ(none.listName, QString());

    const auto made = SplitTrackEntry(MakeTrackEntry("/m/ά.mp3", "Λίστα"));
    EXPECT_EQ(made.path, "/m/ά.mp3");
    EXPECT_EQ(made.listName, "Λίστα");
}

TEST(ProgramValue, NamesAreClosedByBars) {
    const struct {
        const char* value;
        QStringList names;
    } cases[] = {
        {"a|b|", {"a", "b"}},      {"a|b", {"a"}},        {"|", {""}}, {"a", {"a"}},
        {"a||b|", {"a", "", "b"}}, {"a|b|c", {"a", "b"}}, {"", {""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitProgramValue(c.value), c.names) << c.value;
}

TEST(ListNames, CdListsStartWithUpperCaseCdUnderscore) {
    EXPECT_TRUE(IsCdList("CD_Best of"));
    EXPECT_TRUE(IsCdList("CD_"));
    EXPECT_FALSE(IsCdList("cd_Best of"));
    EXPECT_FALSE(IsCdList("xCD_Best of"));
    EXPECT_FALSE(IsCdList("CDs"));
    EXPECT_FALSE(IsCdList("Cd_x"));

    EXPECT_TRUE(IsSafeFileName("Rock 80s.txt"));
    EXPECT_TRUE(IsSafeFileName("a..b"));
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b"}) {
        EXPECT_FALSE(IsSafeFileName(bad)) << bad;
    }
}

TEST_F(ListFileTest, ReadsEveryLineEndingAndWritesCrLfBack) {
    WriteBytes("mixed", "one\rtwo\nthree\r\n\r\nlast");
    const auto read = list_file::Read(ListsPath(), "mixed");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.lines, QStringList({"one", "two", "three", "", "last"}));

    ASSERT_EQ(list_file::Write(ListsPath(), "mixed", read.lines), QString());
    EXPECT_EQ(ReadBytes("mixed"), QByteArray("one\r\ntwo\r\nthree\r\n\r\nlast\r\n"));
}

TEST_F(ListFileTest, BlankMiddleLineIsAnEntryWithEmptyPathAndTitle) {
    WriteBytes("three", "C:\\a.mp3\r\n\r\nC:\\c.mp3\r\n");
    const auto lines = list_file::Read(ListsPath(), "three").lines;
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(TrackTitle(lines[1]), QString());
}

TEST_F(ListFileTest, GreekWindows1253ListReadsAndWritesBackTheSameText) {
    const QStringList greek = {"C:\\Μουσική\\Βίσση - Δίδυμα φεγγάρια.mp3",
                               "D:\\Λαϊκά\\Νταλάρας - Ώρα ΐ.mp3"};
    WriteBytes("Ελληνικά", text_file::EncodeWindows1253(greek.join("\r\n")) + "\r\n");
    const auto read = list_file::Read(ListsPath(), "Ελληνικά");
    ASSERT_EQ(read.lines, greek);

    ASSERT_EQ(list_file::Write(ListsPath(), "Ελληνικά", read.lines), QString());
    EXPECT_EQ(list_file::Read(ListsPath(), "Ελληνικά").lines, greek);
}

TEST_F(ListFileTest, NamesThatAreNoListReadEmptyAndAreNotWritten) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder"));
    for (const char* name : {"missing", "", "folder", "../x"}) {
        const auto read = list_file::Read(ListsPath(), name);
        EXPECT_TRUE(read.ok()) << name;
        EXPECT_TRUE(read.lines.isEmpty()) << name;
    }
    EXPECT_FALSE(list_file::Write(ListsPath(), "../escape", {"x"}).isEmpty());
    EXPECT_FALSE(QFile::exists(m_dir.path() + "/../escape"));
}

TEST_F(ListFileTest, FailedWriteKeepsTheOldListWhole) {
    WriteBytes("Rock", "C:\\old.mp3\r\n");
    QString error;
    {
        file_failure::FileSizeLimit limit(32);
        error = list_file::Write(ListsPath(), "Rock", {QString(200, u'a'), "C:\\b.mp3"});
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(list_file::Read(ListsPath(), "Rock").lines, QStringList({"C:\\old.mp3"}));
}

}  // namespace
