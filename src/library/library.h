#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <array>
#include <functional>
#include <optional>

#include "library/dir_view.h"
#include "library/track_rows.h"

/// The music library's four pages as the window and the station see them: "DIR", "Lists
/// Alphabetic", "Search" and "Artists", with one command per operator action. Every view
/// is built from the list files and folders when its command runs and keeps what it showed
/// until the next one. The reads of folders and lists, which can block on a slow share,
/// run on worker threads when the library is made so: the command returns at once, the
/// page shows that it is reading, and the result is applied later on the library's thread
/// (ReadDone) unless a newer read of the same view was asked for meanwhile. Problems()
/// holds the messages of lists that exist but could not be read by the last read done;
/// the views then show what could be read.

/// "+": the text goes to the top of the favourites; from 15 on, the one at index 14 goes.
void AddFavourite(QStringList& favourites, const QString& text);

class Library : public QObject {
    Q_OBJECT
public:
    enum class Page { Dir, ListsAlphabetic, Search, Artists };
    /// Where the reads run: at once inside the command (tools, tests of the pages' rules),
    /// or on worker threads (the station, whose thread must never wait for a share).
    enum class Reads { Here, OnWorkers };

    /// listsPath is the lists folder, ending in "/". Nothing is read until a command runs;
    /// start-up calls RefreshListNames.
    explicit Library(QString listsPath, Reads reads = Reads::Here);
    /// Waits for the reads under way; their results are dropped.
    ~Library() override;

    /// The page shown, "Lists Alphabetic" at first.
    Page CurrentPage() const { return m_page; }
    /// `PageControl1Change`: the Artists page builds its artist list.
    void PageControl1Change(Page page);
    /// Whether a read for the page's rows or names is under way.
    bool Reading(Page page) const;
    /// The messages of lists that exist but could not be read, from the last read done.
    const QStringList& Problems() const { return m_problems; }

    /// The track rows of a page: `FileListBox1`, `ListBoxFileProgr1`, `ListBoxListAll1`,
    /// `ListBoxArtistTracks`.
    TrackRows& Rows(Page page);
    const TrackRows& Rows(Page page) const;
    /// Ctrl with the key code 65 or 97 selects every row of the page; true when it did.
    bool TrackRowsKeyDown(Page page, int key, bool ctrl);

    /// What the insert command puts into the queue for the page's current row: the path on
    /// "DIR", the path and the chosen list on "Lists Alphabetic" (the path alone while no
    /// list is chosen), the track entry on the other pages. Empty when no row is current.
    QString CurrentEntry(Page page) const;
    /// The current row's title and path; nothing when no row is current.
    std::optional<TrackFile> CurrentTrack(Page page) const;
    /// The selected rows' titles and paths, top to bottom, for the add commands.
    QList<TrackFile> SelectedTitlesAndPaths(Page page) const;
    /// A track renamed on disk: every row of every page that names the old path exactly
    /// shows the new title and holds the new path, in its place; a track entry keeps its
    /// list. Returns how many rows changed.
    int TrackRenamed(const QString& oldPath, const QString& newPath);

    // "DIR"
    DirView& Dir() { return m_dir; }
    const DirView& Dir() const { return m_dir; }
    void DirectoryOutline1Change(const QString& folder);
    void FilterComboBox1Change(int index);
    /// "Add all sub-folders": `AddSubfolderTracks` of the chosen folder, read where the
    /// library reads; take gets the tracks on the library's thread. The DIR page reads
    /// meanwhile.
    void ReadSubfolderTracks(const QStringList& existingTitles,
                             std::function<void(const QList<TrackFile>&)> take);

    // "Lists Alphabetic"
    /// `ListBoxListsForFile`.
    const QStringList& AlphabeticListNames() const { return m_listNames; }
    /// `LabelListsAlphabetCount`.
    int ListsAlphabetCount() const { return static_cast<int>(m_listNames.size()); }
    /// The row of `ListBoxListsForFile` last clicked, -1 when none.
    int ChosenList() const { return m_chosenList; }
    bool IncludeCdsAlphabetic() const { return m_includeCdsAlphabetic; }
    /// `LabelTracksInFile`.
    int TracksInFile() const { return m_tracksInFile; }
    /// Reads the folder's names again (CD lists while included) and empties the track rows.
    void RefreshListNames();
    void CheckBoxIncludeCDsAlphabeticClick(bool checked);
    /// The tracks of the clicked list, sorted by title, each with its full path.
    void ListBoxListsForFileClick(int row);

    // "Search"
    const QString& SearchText() const { return m_searchText; }
    const QString& NarrowingText() const { return m_narrowingText; }
    bool IncludeCdsSearch() const { return m_includeCdsSearch; }
    /// `GreeklishSearch`, set by the station from its settings.
    bool GreeklishSearch() const { return m_greeklish; }
    void SetGreeklishSearch(bool on) { m_greeklish = on; }
    /// The Latin spelling of the last Greeklish search; empty until one runs.
    const QString& Label21() const { return m_label21; }
    /// `LabelTracksInSearch`.
    int TracksInSearch() const { return m_tracksInSearch; }
    /// `LabelListThatContains`: the list of the search result last clicked.
    const QString& ListThatContains() const { return m_listThatContains; }
    /// Each runs the search when the first text is longer than 3 characters; otherwise
    /// the results, count and `Label21` stay.
    void EditSearch1Change(const QString& text);
    void EditSearch2Change(const QString& text);
    void CheckBoxSearchCDsClick(bool checked);
    void ListBoxListAll1Click(int row);
    /// The drop-down of `EditSearch1`, newest first; the station loads and saves it.
    const QStringList& Favorites() const { return m_favorites; }
    void SetFavorites(const QStringList& favorites) { m_favorites = favorites; }
    /// "+": the first search text becomes a favourite.
    void SpeedButtonAddClick() { AddFavourite(m_favorites, m_searchText); }

    // "Artists"
    /// `ListBoxArtist`.
    const QStringList& Artists() const { return m_artists; }
    /// `LabelArtists`.
    int ArtistCount() const { return static_cast<int>(m_artists.size()); }
    /// The row of `ListBoxArtist` last clicked, -1 when none.
    int ChosenArtist() const { return m_chosenArtist; }
    bool IncludeCdsArtists() const { return m_includeCdsArtists; }
    /// `LabelArtistTracks`.
    int ArtistTracksCount() const { return m_artistTracks.Count(); }
    /// `LabelProgrThatContainsArtist`: the list of the artist's track last clicked.
    const QString& ProgrThatContainsArtist() const { return m_progrThatContainsArtist; }
    void CheckBoxCDsArtistsClick(bool checked);
    /// The clicked artist's tracks, title / "line^list".
    void ListBoxArtistClick(int row);
    void ListBoxArtistTracksClick(int row);

Q_SIGNALS:
    /// A read that ran on a worker was applied: the views changed.
    void ReadDone();

private:
    enum class ReadKind { ListNames, List, Search, Artists, ArtistTracks, Dir, Subfolders, Count };
    /// Runs read (which may touch nothing of the library) where the library reads, then
    /// apply with its result on the library's thread, unless a newer read of that kind
    /// was started meanwhile.
    template <class ReadWork, class ApplyWork>
    void Start(ReadKind kind, ReadWork read, ApplyWork apply);
    TrackFile TrackAt(Page page, int row) const;
    void RunSearch();
    void BuildArtistList();
    void ReadDir(bool folderChosen);

    const QString m_listsPath;
    const Reads m_reads;
    QThreadPool m_workers;
    static constexpr int kReadKinds = static_cast<int>(ReadKind::Count);
    std::array<int, kReadKinds> m_readsStarted{};
    std::array<int, kReadKinds> m_readsDone{};
    QStringList m_problems;
    bool m_dirFolderChosen = false;  // a folder's read is under way, maybe under a newer mask
    Page m_page = Page::ListsAlphabetic;
    DirView m_dir;

    QStringList m_listNames;
    int m_chosenList = -1;
    QString m_chosenListName;  // the list the alphabetic rows came from
    bool m_includeCdsAlphabetic = false;
    TrackRows m_alphabeticTracks;
    int m_tracksInFile = 0;

    QString m_searchText;
    QString m_narrowingText;
    bool m_includeCdsSearch = false;
    bool m_greeklish = false;
    QString m_label21;
    TrackRows m_searchResults;
    int m_tracksInSearch = 0;
    QString m_listThatContains;
    QStringList m_favorites;

    QStringList m_artists;
    int m_chosenArtist = -1;
    bool m_includeCdsArtists = false;
    TrackRows m_artistTracks;
    QString m_progrThatContainsArtist;
};
