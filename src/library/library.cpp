#include "library/library.h"

#include <QMetaObject>
#include <utility>

#include "base/thread_handoff.h"
#include "library/artist_index.h"
#include "library/list_shelf.h"
#include "library/track_search.h"
#include "schedule/list_file.h"

namespace {

constexpr int kFavouritesKept = 14;

bool HoldsTrackEntries(Library::Page page) {
    return page == Library::Page::Search || page == Library::Page::Artists;
}

// The tracks of one list by title; equal titles by their folder.
QList<TrackRow> AlphabeticRows(const QStringList& lines) {
    QStringList titles;
    QStringList folders;
    for (const QString& line : lines) {
        titles.append(TrackTitle(line));
        folders.append(line.left(line.size() - titles.last().size()));
    }
    QList<TrackRow> rows;
    rows.reserve(lines.size());
    for (const qsizetype i : ListBoxOrder(titles, folders)) rows.append({titles[i], lines[i]});
    return rows;
}

// The text after the first "^" of a row's entry.
QString ListOfEntry(const TrackRows& rows, int row) {
    return SplitTrackEntry(rows.Entry(row)).listName;
}

}  // namespace

void AddFavourite(QStringList& favourites, const QString& text) {
    favourites.prepend(text);
    if (favourites.size() > kFavouritesKept) favourites.removeAt(kFavouritesKept);
}

Library::Library(QString listsPath, Reads reads)
    : m_listsPath(std::move(listsPath)), m_reads(reads) {
    // Two at a time: a share that hangs holds one, the other keeps the pages answering.
    m_workers.setMaxThreadCount(2);
}

Library::~Library() {
    m_workers.clear();
    m_workers.waitForDone();
}

template <class ReadWork, class ApplyWork>
void Library::Start(ReadKind kind, ReadWork read, ApplyWork apply) {
    const int k = static_cast<int>(kind);
    const int generation = ++m_readsStarted[k];
    if (m_reads == Reads::Here) {
        m_readsDone[k] = generation;
        apply(read());
        return;
    }
    m_workers.start(HandOff::Wrap([this, k, generation, read, apply] {
        // The library waits for its workers before it goes, so it is still here. The value
        // read goes back to the library's thread.
        QMetaObject::invokeMethod(
            this, HandOff::Wrap([this, k, generation, apply, value = read()]() mutable {
                if (generation != m_readsStarted[k]) return;  // a newer one is under way
                m_readsDone[k] = generation;
                apply(std::move(value));
                Q_EMIT ReadDone();
            }),
            Qt::QueuedConnection);
    }));
}

bool Library::Reading(Page page) const {
    const auto under = [this](ReadKind kind) {
        const int k = static_cast<int>(kind);
        return m_readsDone[k] != m_readsStarted[k];
    };
    switch (page) {
        case Page::Dir:
            return under(ReadKind::Dir) || under(ReadKind::Subfolders);
        case Page::ListsAlphabetic:
            return under(ReadKind::ListNames) || under(ReadKind::List);
        case Page::Search:
            return under(ReadKind::Search);
        case Page::Artists:
            break;
    }
    return under(ReadKind::Artists) || under(ReadKind::ArtistTracks);
}

void Library::PageControl1Change(Page page) {
    m_page = page;
    if (page == Page::Artists) BuildArtistList();
}

TrackRows& Library::Rows(Page page) {
    return const_cast<TrackRows&>(std::as_const(*this).Rows(page));
}

const TrackRows& Library::Rows(Page page) const {
    switch (page) {
        case Page::Dir:
            return m_dir.Rows();
        case Page::ListsAlphabetic:
            return m_alphabeticTracks;
        case Page::Search:
            return m_searchResults;
        case Page::Artists:
            break;
    }
    return m_artistTracks;
}

bool Library::TrackRowsKeyDown(Page page, int key, bool ctrl) {
    if (!ctrl || (key != 65 && key != 97)) return false;
    Rows(page).SelectAll();
    return true;
}

QString Library::CurrentEntry(Page page) const {
    const TrackRows& rows = Rows(page);
    const QString entry = rows.Entry(rows.CurrentRow());
    if (page != Page::ListsAlphabetic || entry.isEmpty() || m_chosenListName.isEmpty())
        return entry;
    return MakeTrackEntry(entry, m_chosenListName);
}

TrackFile Library::TrackAt(Page page, int row) const {
    const TrackRows& rows = Rows(page);
    const QString entry = rows.Entry(row);
    return {rows.Title(row), HoldsTrackEntries(page) ? SplitTrackEntry(entry).path : entry};
}

std::optional<TrackFile> Library::CurrentTrack(Page page) const {
    const TrackRows& rows = Rows(page);
    const int row = rows.CurrentRow();
    if (row < 0) return std::nullopt;
    return TrackAt(page, row);
}

QList<TrackFile> Library::SelectedTitlesAndPaths(Page page) const {
    const TrackRows& rows = Rows(page);
    QList<TrackFile> tracks;
    for (const int row : rows.SelectedRows()) tracks.append(TrackAt(page, row));
    return tracks;
}

int Library::TrackRenamed(const QString& oldPath, const QString& newPath) {
    int changed = 0;
    for (const Page page : {Page::Dir, Page::ListsAlphabetic, Page::Search, Page::Artists}) {
        TrackRows& rows = Rows(page);
        for (int row = 0; row < rows.Count(); ++row) {
            if (TrackAt(page, row).path != oldPath) continue;
            // The list in which the track was found stays with it.
            const QString entry = rows.Entry(row);
            const qsizetype caret = HoldsTrackEntries(page) ? entry.indexOf(u'^') : -1;
            rows.SetRow(row, TrackTitle(newPath), caret < 0 ? newPath : newPath + entry.mid(caret));
            ++changed;
        }
    }
    return changed;
}

void Library::DirectoryOutline1Change(const QString& folder) {
    m_dir.DirectoryOutline1Change(folder);
    ReadDir(true);
}

void Library::FilterComboBox1Change(int index) {
    if (m_dir.FilterComboBox1Change(index)) ReadDir(false);
}

void Library::ReadDir(bool folderChosen) {
    // A folder's files read under a newer mask still come selected and counted.
    m_dirFolderChosen = m_dirFolderChosen || folderChosen;
    Start(
        ReadKind::Dir,
        [folder = m_dir.Folder(), mask = m_dir.MaskIndex()] { return ListDirFiles(folder, mask); },
        [this](QList<TrackRow> files) {
            m_dir.ShowFiles(std::move(files), std::exchange(m_dirFolderChosen, false));
        });
}

void Library::ReadSubfolderTracks(const QStringList& existingTitles,
                                  std::function<void(const QList<TrackFile>&)> take) {
    Start(
        ReadKind::Subfolders,
        [folder = m_dir.Folder(), existingTitles] {
            return AddSubfolderTracks(folder, existingTitles);
        },
        [take = std::move(take)](const QList<TrackFile>& found) { take(found); });
}

void Library::RefreshListNames() {
    Start(
        ReadKind::ListNames,
        [path = m_listsPath, cds = m_includeCdsAlphabetic] { return ListShelfNames(path, cds); },
        [this](QStringList names) {
            m_listNames = std::move(names);
            m_chosenList = -1;
            m_chosenListName.clear();
            m_alphabeticTracks.Replace({});
            // A chosen list read from the old names would show beside none chosen.
            const int k = static_cast<int>(ReadKind::List);
            m_readsDone[k] = ++m_readsStarted[k];
        });
}

void Library::CheckBoxIncludeCDsAlphabeticClick(bool checked) {
    m_includeCdsAlphabetic = checked;
    RefreshListNames();
}

void Library::ListBoxListsForFileClick(int row) {
    if (row < 0 || row >= m_listNames.size()) return;
    m_chosenList = row;
    m_chosenListName = m_listNames.at(row);
    struct Read {
        QList<TrackRow> rows;
        QStringList problems;
    };
    Start(
        ReadKind::List,
        [path = m_listsPath, name = m_chosenListName] {
            const ReadResult<QStringList> read = list_file::Read(path, name);
            // Sorted on the worker too: a list may hold thousands of tracks.
            if (read.ok()) return Read{AlphabeticRows(read.value), {}};
            return Read{{}, {read.message()}};
        },
        [this](Read read) {
            m_alphabeticTracks.Replace(std::move(read.rows));
            m_tracksInFile = m_alphabeticTracks.Count();
            m_problems = std::move(read.problems);
        });
}

void Library::EditSearch1Change(const QString& text) {
    m_searchText = text;
    RunSearch();
}

void Library::EditSearch2Change(const QString& text) {
    m_narrowingText = text;
    RunSearch();
}

void Library::CheckBoxSearchCDsClick(bool checked) {
    m_includeCdsSearch = checked;
    RunSearch();
}

void Library::ListBoxListAll1Click(int row) {
    if (row < 0 || row >= m_searchResults.Count()) return;
    m_searchResults.SetCurrentRow(row);
    m_listThatContains = ListOfEntry(m_searchResults, row);
}

void Library::RunSearch() {
    const SearchQuery query{m_searchText, m_narrowingText, m_greeklish, m_includeCdsSearch};
    // A text too short runs nothing, and a search of a longer one still under way lands.
    if (!IsSearchText(query.text)) return;
    struct Found {
        QString latin;
        QList<TrackRow> rows;
        QStringList problems;
    };
    Start(
        ReadKind::Search,
        [path = m_listsPath, query] {
            SearchOutcome outcome = RunTrackSearch(path, query);
            Found found{outcome.latin, {}, std::move(outcome.problems)};
            found.rows.reserve(outcome.rows.size());
            for (const SearchRow& row : outcome.rows)
                found.rows.append({row.title, MakeTrackEntry(row.path, row.listName)});
            return found;
        },
        [this, greeklish = query.greeklish](Found found) {
            if (greeklish) m_label21 = found.latin;
            m_searchResults.Replace(std::move(found.rows));
            m_tracksInSearch = m_searchResults.Count();
            m_problems = std::move(found.problems);
        });
}

void Library::CheckBoxCDsArtistsClick(bool checked) {
    m_includeCdsArtists = checked;
    BuildArtistList();
}

void Library::BuildArtistList() {
    Start(
        ReadKind::Artists,
        [path = m_listsPath, cds = m_includeCdsArtists] { return ::BuildArtistList(path, cds); },
        [this](ArtistList built) {
            m_artists = std::move(built.artists);
            m_chosenArtist = -1;
            m_artistTracks.Replace({});
            m_problems = std::move(built.problems);
            // An artist's tracks read from the old names would show beside none chosen.
            const int k = static_cast<int>(ReadKind::ArtistTracks);
            m_readsDone[k] = ++m_readsStarted[k];
        });
}

void Library::ListBoxArtistClick(int row) {
    if (row < 0 || row >= m_artists.size()) return;
    m_chosenArtist = row;
    Start(
        ReadKind::ArtistTracks,
        [path = m_listsPath, cds = m_includeCdsArtists, artist = m_artists.at(row)] {
            return ShowArtistTracks(path, cds, artist);
        },
        [this](ArtistTracks shown) {
            m_artistTracks.Replace(std::move(shown.rows));
            m_progrThatContainsArtist.clear();
            m_problems = std::move(shown.problems);
        });
}

void Library::ListBoxArtistTracksClick(int row) {
    if (row < 0 || row >= m_artistTracks.Count()) return;
    m_artistTracks.SetCurrentRow(row);
    m_progrThatContainsArtist = ListOfEntry(m_artistTracks, row);
}
