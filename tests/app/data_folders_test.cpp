#include "app/data_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/favorites.h"
#include "support/file_failure.h"
#include "support/files.h"

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

    // The favourites: none while the file is missing, exactly the items once written.
    EXPECT_TRUE(ReadFavorites(folders).lines.isEmpty());
    const QStringList items = {"Βίσση", "madonna"};
    ASSERT_EQ(WriteFavorites(folders, items), QString());
    EXPECT_TRUE(QFile::exists(start.filePath("favorites.txt")));
    EXPECT_EQ(ReadFavorites(folders).lines, items);
}

TEST(DataFolders, AFolderThatCannotBeMadeIsReportedAndTheOthersAreStillMade) {
    QTemporaryDir start;
    WriteBytes(start.filePath("pro1"), "a file where a folder goes");
    const QStringList failures = CreateDataFolders(MakeDataFolders(start.path()));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("pro1")) << failures[0].toStdString();
    EXPECT_TRUE(QFileInfo(start.filePath("spots1")).isDir());

    const QString nowhere = file_failure::PathUnderRegularFile(start.path(), "station");
    EXPECT_EQ(CreateDataFolders(MakeDataFolders(nowhere)).size(), 4);
}

}  // namespace
