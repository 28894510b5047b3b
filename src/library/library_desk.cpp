#include "library/library_desk.h"

#include "playback/playback_engine.h"
#include "schedule/list_editor.h"
#include "schedule/list_file.h"
#include "spots/spot_editor.h"
#include "spots/spot_schedule.h"

namespace {

std::optional<QString> EntryOrNothing(const QString& entry) {
    if (entry.isEmpty()) return std::nullopt;
    return entry;
}

Result ResultOf(EditorAdds adds) { return std::move(adds.result); }

}  // namespace

LibraryDesk::LibraryDesk(Places places, Library& library, PlaybackEngine& engine, ListEditor& lists,
                         SpotEditor& spotsTab, SpotSchedule& nextSpots)
    : m_places(std::move(places)),
      m_library(library),
      m_engine(engine),
      m_lists(lists),
      m_spotsTab(spotsTab),
      m_nextSpots(nextSpots) {}

void LibraryDesk::ButtonUpPlay1Click() {
    QueueEditor(m_engine.QueueForLoader()).ButtonUpPlay1Click();
}

void LibraryDesk::ButtonDownPlay1Click() {
    QueueEditor(m_engine.QueueForLoader()).ButtonDownPlay1Click();
}

void LibraryDesk::ButtonPlayDel1Click() {
    QueueEditor(m_engine.QueueForLoader()).ButtonPlayDel1Click();
}

void LibraryDesk::InsertIntoQueue(Library::Page page) {
    if (const QString entry = m_library.CurrentEntry(page); !entry.isEmpty())
        m_engine.QueueForLoader().InsertIntoQueue(entry);
}

void LibraryDesk::InsertEditorRow() {
    if (const std::optional<QString> entry = m_lists.PlayNowEntry())
        m_engine.QueueForLoader().InsertIntoQueue(*entry);
}

void LibraryDesk::PlayAtOnce(Library::Page page) {
    ::PlayAtOnce(m_engine, EntryOrNothing(m_library.CurrentEntry(page)));
}

void LibraryDesk::AddToPlayList(Library::Page page) {
    const TrackRows& rows = m_library.Rows(page);
    int count = 0;
    if (page == Library::Page::ListsAlphabetic) {
        QList<TrackFile> picks;
        for (const int row : rows.SelectedRows()) picks.append({rows.Title(row), rows.Entry(row)});
        count = m_selection.ButtonAddFromFileToPlayListClick(picks);
    } else if (page == Library::Page::Search && rows.CurrentRow() >= 0) {
        const int row = rows.CurrentRow();
        count = m_selection.AddToPlaylist3Click(TrackFile{rows.Title(row), rows.Entry(row)});
    } else {
        return;  // no such command, or no row to take
    }
    ShowSelectionCount(count);
}

void LibraryDesk::AddEditorRowsToPlayList() {
    QList<TrackFile> picks;
    for (const ListEditor::Row& row : m_lists.Rows())
        if (row.selected) picks.append({row.title, row.path});
    ShowSelectionCount(m_selection.AddToPlayList1Click(picks));
}

// The count of tracks to play makes way for the selection list's size until it changes.
void LibraryDesk::ShowSelectionCount(int rows) {
    m_engine.QueueForLoader().ShowSelectionCount(rows);
}

Result LibraryDesk::AddToProgram(Library::Page page) {
    return ResultOf(AddSelectionToEditor(m_lists, m_library.SelectedTitlesAndPaths(page)));
}

Result LibraryDesk::AddPlayedToProgram() {
    const PlayedList& played = m_engine.Played();
    const int row = played.SelectedRow;
    std::optional<TrackFile> pick;
    if (row >= 0 && row < played.Count())
        pick = TrackFile{played.Titles()[row], played.PathAt(row)};
    return ResultOf(AddToProgram4Click(m_lists, pick));
}

EditorAdds LibraryDesk::ButtonAddToProgrClick(CalendarAreaTab tab) {
    const Library::Page page = m_library.CurrentPage();
    return ::ButtonAddToProgrClick(tab, m_library.SelectedTitlesAndPaths(page),
                                   m_library.CurrentTrack(page), m_lists, m_spotsTab);
}

void LibraryDesk::BitBtnAddFromDirAllToProgClick() {
    QStringList titles;
    for (const ListEditor::Row& row : m_lists.Rows()) titles << row.title;
    // The editor refuses only while locked, which its command was checked against.
    m_library.ReadSubfolderTracks(
        titles, [this](const QList<TrackFile>& found) { AddSelectionToEditor(m_lists, found); });
}

QString LibraryDesk::RenameSuggestion(Library::Page page) const {
    const std::optional<TrackFile> track = m_library.CurrentTrack(page);
    return track ? track->title : QString();
}

Result LibraryDesk::Rename(Library::Page page, const QString& typedName) {
    const std::optional<TrackFile> track = m_library.CurrentTrack(page);
    if (!track) return Result::Ok();
    return RenameFile(track->path, typedName).result;
}

Result LibraryDesk::RenameEditorRow(const QString& typedName) {
    const int row = m_lists.CurrentRow();
    if (row < 0) return Result::Ok();
    const RenameOutcome outcome = RenameFile(m_lists.Rows()[row].path, typedName);
    if (!outcome.renamed) return outcome.result;
    // The chosen list is read again from its file, which now names the new path.
    if (const int chosen = m_lists.ChosenListIndex(); chosen >= 0)
        if (Result reloaded = m_lists.ListBoxFileListBoxClick(chosen); !reloaded.ok())
            return reloaded;
    return outcome.result;
}

RenameOutcome LibraryDesk::RenameFile(const QString& oldPath, const QString& typedName) {
    const RenamePlaces places{m_places.listsPath, m_lists.ListNames(), m_places.spotsPath};
    RenameOutcome outcome =
        RenameTrackEverywhere(oldPath, typedName, places, m_engine.QueueForLoader());
    if (outcome.renamed) {
        m_spotsTab.SpotFileRenamed(oldPath, outcome.newPath);
        m_nextSpots.SpotFileRenamed(oldPath, outcome.newPath);
        m_library.TrackRenamed(oldPath, outcome.newPath);
        // The list being edited names the new path too, so a Save never writes the old one.
        for (int row = 0; row < m_lists.TotalTracks(); ++row)
            if (m_lists.Rows()[row].path == oldPath)
                m_lists.TrackRenamed(row, TrackTitle(outcome.newPath), outcome.newPath);
        m_engine.QueueForLoader().ShowNextTracks();
    }
    return outcome;
}
