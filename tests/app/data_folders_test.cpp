#include "app/data_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/favorites.h"
#include "support/file_failure.h"
#include "support/files.h"

namespace {

// The folders below the start folder are made where missing, without moving the current
// directory; one that cannot be made is reported and the others are made all the same.
TEST(DataFolders, MissingFoldersAreMadeBelowTheStartFolderAndEachFailureIsReported) {
    QTemporaryDir start;
    ASSERT_TRUE(QDir(start.path()).mkdir("days1"));
    WriteBytes(start.filePath("pro1"), "a file where a folder goes");
    const QString cwd = QDir::currentPath();
    const DataFolders folders = MakeDataFolders(start.path());
    EXPECT_EQ(folders.StartFolder + "|" + folders.SpotsPath + "|" + MakeDataFolders("/").DaysPath,
              start.path() + "/|" + start.path() + "/spots1/|/days1/");
    const QStringList failures = CreateDataFolders(folders);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("pro1")) << failures[0].toStdString();
    EXPECT_EQ(QDir::currentPath(), cwd);
    for (const QString& path : {folders.DaysPath, folders.HoursPath, folders.SpotsPath})
        EXPECT_TRUE(QFileInfo(path).isDir()) << path.toStdString();
    const QString nowhere = file_failure::PathUnderRegularFile(start.path(), "station");
    EXPECT_EQ(CreateDataFolders(MakeDataFolders(nowhere)).size(), 4);
    // The favourites: none while the file is missing, exactly the items once written.
    EXPECT_TRUE(ReadFavorites(folders).value.isEmpty());
    const QStringList items = {"Βίσση", "madonna"};
    ASSERT_EQ(WriteFavorites(folders, items), Result::Ok());
    EXPECT_TRUE(QFile::exists(start.filePath("favorites.txt")));
    EXPECT_EQ(ReadFavorites(folders).value, items);
}

}  // namespace
