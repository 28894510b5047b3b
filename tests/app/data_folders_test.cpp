#include "app/data_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/favorites.h"
#include "support/file_failure.h"

namespace {

TEST(DataFolders, CreatesMissingFoldersBelowTheStartFolderWithoutMovingTheCurrentDirectory) {
    QTemporaryDir start;
    ASSERT_TRUE(QDir(start.path()).mkdir("days1"));
    const QString cwd = QDir::currentPath();
    const DataFolders folders = MakeDataFolders(start.path());
    EXPECT_EQ(folders.StartFolder, start.path() + "/");
    EXPECT_EQ(folders.SpotsPath, start.path() + "/spots1/");
    EXPECT_EQ(CreateDataFolders(folders), QStringList());
    EXPECT_EQ(QDir::currentPath(), cwd);
    for (const QString& path :
         {folders.ListsPath, folders.DaysPath, folders.HoursPath, folders.SpotsPath}) {
        EXPECT_TRUE(QFileInfo(path).isDir()) << path.toStdString();
    }
    EXPECT_EQ(MakeDataFolders("/").DaysPath, "/days1/");
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
    EXPECT_TRUE(ReadFavorites(folders).value.isEmpty());
    const QStringList items = {"Βίσση", "madonna"};
    ASSERT_EQ(WriteFavorites(folders, items), Result::Ok());
    EXPECT_TRUE(QFile::exists(start.filePath("favorites.txt")));
    EXPECT_EQ(ReadFavorites(folders).value, items);
}

}  // namespace
