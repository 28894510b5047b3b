#include "app/library_state.h"

#include "app/station.h"
#include "schedule/list_file.h"

namespace {

static_assert(static_cast<int>(LibraryPage::Artists) == static_cast<int>(Library::Page::Artists) &&
              static_cast<int>(LibraryPage::Search) == static_cast<int>(Library::Page::Search));

LibraryTrackView ViewOf(const Library& library, Library::Page page) {
    const TrackRows& rows = library.Rows(page);
    LibraryTrackView view;
    view.titles = rows.Titles();
    view.revision = rows.Revision();
    view.selected = rows.SelectedRows();
    view.current = rows.CurrentRow();
    view.selectionRevision = rows.SelectionRevision();
    view.reading = library.Reading(page);
    if (const std::optional<TrackFile> track = library.CurrentTrack(page)) {
        view.currentTitle = track->title;
        view.currentPath = track->path;
        if (page == Library::Page::Search || page == Library::Page::Artists)
            view.currentList = SplitTrackEntry(library.CurrentEntry(page)).listName;
    }
    return view;
}

}  // namespace

LibraryState LibraryStateOf(const Station& station) {
    const Library& library = station.MusicLibrary();
    LibraryState state;
    state.page = LibraryPage(library.CurrentPage());
    for (const Library::Page page : {Library::Page::Dir, Library::Page::ListsAlphabetic,
                                     Library::Page::Search, Library::Page::Artists})
        state.views[static_cast<int>(page)] = ViewOf(library, page);
    state.problems = library.Problems();
    state.folder = library.Dir().Folder();
    state.masks = DirView::MaskNames();
    state.maskIndex = library.Dir().MaskIndex();
    state.tracksInDir = library.Dir().TracksInDir();
    state.listNames = library.AlphabeticListNames();
    state.chosenList = library.ChosenList();
    state.includeCdsAlphabetic = library.IncludeCdsAlphabetic();
    state.tracksInFile = library.TracksInFile();
    state.searchText = library.SearchText();
    state.narrowingText = library.NarrowingText();
    state.includeCdsSearch = library.IncludeCdsSearch();
    state.label21 = library.Label21();
    state.tracksInSearch = library.TracksInSearch();
    state.listThatContains = library.ListThatContains();
    state.favourites = library.Favorites();
    state.artists = library.Artists();
    state.chosenArtist = library.ChosenArtist();
    state.includeCdsArtists = library.IncludeCdsArtists();
    state.artistTracks = library.ArtistTracksCount();
    state.progrThatContainsArtist = library.ProgrThatContainsArtist();
    return state;
}
