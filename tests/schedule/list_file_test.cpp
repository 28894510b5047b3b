#include "schedule/list_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/text_file.h"
#include "support/files.h"

namespace {

TEST(ListFile, TitlesEntriesProgramValuesAndAGreekWindows1253ListWrittenBackAsUtf8CrLf) {
    const QString titles[][2] = {
        {"C:\\Music\\Artist - Song.mp3", "Artist - Song.mp3"},
        {"/home/radio/a.mp3", "a.mp3"},
        {"C:\\Music\\", ""},
        {"plain.mp3", "plain.mp3"},
    };
    for (const auto& [path, title] : titles)
        EXPECT_EQ(TrackTitle(path), title) << path.toStdString();
    const auto entry = SplitTrackEntry("C:\\a.mp3^Rock^Night");
    EXPECT_EQ(entry.path, "C:\\a.mp3");
    EXPECT_EQ(entry.listName, "Rock^Night");
    EXPECT_EQ(SplitTrackEntry("/music/a.mp3").listName, QString());
    EXPECT_EQ(SplitProgramValue("a|b|"), QStringList({"a", "b"}));
    EXPECT_EQ(SplitProgramValue("a|b"), QStringList({"a"}));
    EXPECT_EQ(SplitProgramValue("|"), QStringList({""}));
    EXPECT_EQ(SplitProgramValue("a"), QStringList({"a"}));
    EXPECT_TRUE(IsCdList("CD_Best of"));
    for (const char* ordinary : {"cd_Best of", "xCD_Best of", "CDs"})
        EXPECT_FALSE(IsCdList(ordinary));
    QTemporaryDir dir;
    const QString lists = dir.path() + u'/';
    const QStringList greek = {"C:\\Μουσική\\Βίσση - Δίδυμα.mp3", "D:\\Λαϊκά\\Ώρα ΐ.mp3", "",
                               "last"};
    const QString text = greek[0] + "\r" + greek[1] + "\n\r\n" + greek[3];
    WriteBytes(lists + "Ελληνικά", text_file::EncodeWindows1253(text));
    ASSERT_EQ(list_file::Read(lists, "Ελληνικά").value, greek);
    ASSERT_EQ(list_file::Write(lists, "Ελληνικά", greek), Result::Ok());
    EXPECT_EQ(ReadBytes(lists + "Ελληνικά"), (greek.join("\r\n") + "\r\n").toUtf8());
    // Names that are no list read empty and are not written.
    for (const char* name : {"missing", "", ".", "../x"}) {
        const auto read = list_file::Read(lists, name);
        EXPECT_TRUE(read.ok() && read.value.isEmpty()) << name;
    }
    EXPECT_FALSE(list_file::Write(lists, "../escape", {"x"}).ok());
    EXPECT_FALSE(QFile::exists(dir.path() + "/../escape"));
}

}  // namespace
