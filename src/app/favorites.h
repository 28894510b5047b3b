#pragma once

#include "app/data_folders.h"
#include "base/text_file.h"

/// The favourite search texts: the drop-down items of the search box, kept one a line in
/// "favorites.txt" in the start folder, read at start-up and written at close.

inline constexpr char kFavoritesFileName[] = "favorites.txt";

/// The stored items; none when the file is missing.
text_file::ReadResult ReadFavorites(const DataFolders& folders);
/// Replaces the file with the items; the system's message on failure, empty on success.
QString WriteFavorites(const DataFolders& folders, const QStringList& items);
