#include "app/data_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/favorites.h"
#include "support/file_failure.h"

namespace {

TEST(DataFolders, PathsHangBelowTheStartFolderEachEndingInASlash) {
    const DataFolders folders = MakeDataFolders("/srv/station");
    EXPECT_EQ(folders.StartFolder, "/srv/station/");
    EXPECT_EQ(folders.ListsPath, "/srv/station/pro1/");
    EXPECT_EQ(folders.DaysPath, "/srv/station/days1/");
    EXPECT_EQ(folders.HoursPath, "/srv/station/hour1/");
    EXPECT_EQ(folders.SpotsPath, "/srv/station/spots1/");
    EXPECT_EQ(MakeDataFolders("/srv/station/").ListsPath, "/srv/station/pro1/");
    EXPECT_EQ(MakeDataFolders("/").DaysPath, "/days1/");
    EXPECT_EQ(WindowCaption(), "Stavox Mixer 2.17");
}

TEST(DataFolders, CreatesMissingFoldersWithoutMovingTheCurrentDirectory) {
    QTemporaryDir start;
    ASSERT_TRUE(QDir(start.path()).mkdir("days1"));
    QFile list(start.filePath("days1/0"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.close();

    const QString cwd = QDir::currentPath();
    ASSERT_NE(cwd, start.path());
    const DataFolders folders = MakeDataFolders(start.path());
    EXPECT_EQ(CreateDataFolders(folders), QStringList());
    EXPECT_EQ(QDir::currentPath(), cwd);
    for (const char* name : {"pro1", "days1", "hour1", "spots1"}) {
        EXPECT_TRUE(QFileInfo(start.filePath(name)).isDir()) << name;
    }
    EXPECT_TRUE(QFile::exists(start.filePath("days1/0")));
    // A second start finds everything in place.
    EXPECT_EQ(CreateDataFolders(folders), QStringList());
}

TEST(DataFolders, AFolderThatCannotBeMadeIsReportedAndTheOthersAreStillMade) {
    QTemporaryDir start;
    QFile blocker(start.filePath("pro1"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QStringList failures = CreateDataFolders(MakeDataFolders(start.path()));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("pro1")) << failures[0].toStdString();
    EXPECT_TRUE(QFileInfo(start.filePath("spots1")).isDir());

    const QString nowhere = file_failure::PathUnderRegularFile(start.path(), "station");
    EXPECT_EQ(CreateDataFolders(MakeDataFolders(nowhere)).size(), 4);
}

TEST(Favorites, MissingFileHasNoItemsAndCloseWritesExactlyTheItems) {
    QTemporaryDir start;
    const DataFolders folders = MakeDataFolders(start.path());
    const auto none = ReadFavorites(folders);
    EXPECT_TRUE(none.ok());
    EXPECT_TRUE(none.lines.isEmpty());

    const QStringList items = {"Βίσση", "madonna", ""};
    ASSERT_EQ(WriteFavorites(folders, items), QString());
    EXPECT_TRUE(QFile::exists(start.filePath("favorites.txt")));
    EXPECT_EQ(ReadFavorites(folders).lines, items);
    ASSERT_EQ(WriteFavorites(folders, {"one"}), QString());
    EXPECT_EQ(ReadFavorites(folders).lines, QStringList({"one"}));
}

}  // namespace
