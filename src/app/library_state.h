#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class Station;

/// The library's pages, in the order of their tabs: "DIR", "Lists Alphabetic", "Search",
/// "Artists". Commands name them by number from 1 in this order.
enum class LibraryPage { Dir, ListsAlphabetic, Search, Artists };

/// One page's track rows and the operator's choice in them. The titles are the core's
/// own list, shared: a state of tens of thousands of rows is not a copy of them.
struct LibraryTrackView {
    QStringList titles;
    /// Changes whenever a row's title or entry changes: the view lays out its rows again.
    int revision = 0;
    QList<int> selected;  ///< rows counted from 0, top to bottom
    int current = -1;     ///< from 0; -1 when no row is current
    /// Changes when the core itself set the selection (new rows, a folder chosen), not
    /// when it took the operator's: only then does the view show it back.
    int selectionRevision = 0;
    /// A read of the page's folder or lists is under way; the rows are those of the last.
    bool reading = false;
    // The current row's track, for "Show Path" and "Rename".
    QString currentTitle;
    QString currentPath;
    QString currentList;  ///< the list it was found in (Search and Artists)
};

/// What the window shows of the library, as plain values read off the core.
struct LibraryState {
    LibraryPage page = LibraryPage::ListsAlphabetic;
    std::array<LibraryTrackView, 4> views;
    /// The messages of lists that could not be read by the last read done.
    QStringList problems;
    // DIR
    QString folder;
    QStringList masks;  ///< the rows of the mask's box
    int maskIndex = 0;
    int tracksInDir = 0;
    // Lists Alphabetic
    QStringList listNames;
    int chosenList = -1;
    bool includeCdsAlphabetic = false;
    int tracksInFile = 0;
    // Search
    QString searchText;
    QString narrowingText;
    bool includeCdsSearch = false;
    QString label21;
    int tracksInSearch = 0;
    QString listThatContains;
    QStringList favourites;
    // Artists
    QStringList artists;
    int chosenArtist = -1;
    bool includeCdsArtists = false;
    int artistTracks = 0;
    QString progrThatContainsArtist;

    const LibraryTrackView& View(LibraryPage p) const { return views[static_cast<int>(p)]; }
};

/// Read on the core's thread.
LibraryState LibraryStateOf(const Station& station);
