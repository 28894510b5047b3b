#include "app/favorites.h"

namespace {

QString FavoritesPath(const DataFolders& folders) {
    return folders.StartFolder + QLatin1String(kFavoritesFileName);
}

}  // namespace

ReadResult<QStringList> ReadFavorites(const DataFolders& folders) {
    return text_file::ReadLines(FavoritesPath(folders));
}

Result WriteFavorites(const DataFolders& folders, const QStringList& items) {
    return text_file::WriteLines(FavoritesPath(folders), items);
}
