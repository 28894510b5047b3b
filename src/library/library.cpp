#include "library/library.h"

#include <utility>

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

Library::Library(QString listsPath) : m_listsPath(std::move(listsPath)) {}

QStringList Library::PageControl1Change(Page page) {
    m_page = page;
    return page == Page::Artists ? BuildArtistList() : QStringList();
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

void Library::RefreshListNames() {
    m_listNames.clear();
    for (const QString& name : ListShelfNames(m_listsPath))
        if (m_includeCdsAlphabetic || !IsCdList(name)) m_listNames.append(name);
    m_chosenList = -1;
    m_chosenListName.clear();
    m_alphabeticTracks.Replace({});
}

void Library::CheckBoxIncludeCDsAlphabeticClick(bool checked) {
    m_includeCdsAlphabetic = checked;
    RefreshListNames();
}

QStringList Library::ListBoxListsForFileClick(int row) {
    if (row < 0 || row >= m_listNames.size()) return {};
    m_chosenList = row;
    m_chosenListName = m_listNames.at(row);
    const ReadResult<QStringList> read = list_file::Read(m_listsPath, m_chosenListName);
    m_alphabeticTracks.Replace(read.ok() ? AlphabeticRows(read.value) : QList<TrackRow>());
    m_tracksInFile = m_alphabeticTracks.Count();
    return read.ok() ? QStringList() : QStringList{read.message()};
}

QStringList Library::EditSearch1Change(const QString& text) {
    m_searchText = text;
    return RunSearch();
}

QStringList Library::EditSearch2Change(const QString& text) {
    m_narrowingText = text;
    return RunSearch();
}

QStringList Library::CheckBoxSearchCDsClick(bool checked) {
    m_includeCdsSearch = checked;
    return RunSearch();
}

void Library::ListBoxListAll1Click(int row) {
    if (row < 0 || row >= m_searchResults.Count()) return;
    m_searchResults.SetCurrentRow(row);
    m_listThatContains = ListOfEntry(m_searchResults, row);
}

QStringList Library::RunSearch() {
    const SearchOutcome outcome = RunTrackSearch(
        m_listsPath, {m_searchText, m_narrowingText, m_greeklish, m_includeCdsSearch});
    if (!outcome.ran) return {};
    if (m_greeklish) m_label21 = outcome.latin;
    QList<TrackRow> rows;
    rows.reserve(outcome.rows.size());
    for (const SearchRow& found : outcome.rows)
        rows.append({found.title, MakeTrackEntry(found.path, found.listName)});
    m_searchResults.Replace(std::move(rows));
    m_tracksInSearch = m_searchResults.Count();
    return outcome.problems;
}

QStringList Library::CheckBoxCDsArtistsClick(bool checked) {
    m_includeCdsArtists = checked;
    return BuildArtistList();
}

QStringList Library::BuildArtistList() {
    ArtistList built = ::BuildArtistList(m_listsPath, m_includeCdsArtists);
    m_artists = std::move(built.artists);
    m_chosenArtist = -1;
    m_artistTracks.Replace({});
    return built.problems;
}

QStringList Library::ListBoxArtistClick(int row) {
    if (row < 0 || row >= m_artists.size()) return {};
    m_chosenArtist = row;
    ArtistTracks shown = ShowArtistTracks(m_listsPath, m_includeCdsArtists, m_artists.at(row));
    m_artistTracks.Replace(std::move(shown.rows));
    m_progrThatContainsArtist.clear();
    return shown.problems;
}

void Library::ListBoxArtistTracksClick(int row) {
    if (row < 0 || row >= m_artistTracks.Count()) return;
    m_artistTracks.SetCurrentRow(row);
    m_progrThatContainsArtist = ListOfEntry(m_artistTracks, row);
}
