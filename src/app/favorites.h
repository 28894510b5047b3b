#pragma once

#include "app/data_folders.h"
#include "base/text_file.h"

/// The favourite search texts: the drop-down items of the search box, kept one a line in
/// "favorites.txt" in the start folder, read at start-up and written at close.

inline constexpr char kFavoritesFileName[] = "favorites.txt";

/// The stored items; none when the file is missing.
ReadResult<QStringList> ReadFavorites(const DataFolders& folders);
/// Replaces the file with the items; an error with the system's message on failure.
Result WriteFavorites(const DataFolders& folders, const QStringList& items);
