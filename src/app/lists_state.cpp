#include "app/lists_state.h"

#include "app/station.h"

ListsState ListsStateOf(const Station& station) {
    const ListEditor& lists = station.Lists();
    ListsState state;
    state.names = lists.ListNames();
    state.chosen = lists.ChosenListIndex();
    state.includeCds = lists.IncludeCds();
    state.newName = lists.NewProgramName();
    state.titles.reserve(lists.TotalTracks());
    state.paths.reserve(lists.TotalTracks());
    for (int row = 0; row < lists.TotalTracks(); ++row) {
        const ListEditor::Row& entry = lists.Rows()[std::size_t(row)];
        state.titles.append(entry.title);
        state.paths.append(entry.path);
        if (entry.selected) state.selected.append(row);
    }
    state.currentRow = lists.CurrentRow();
    state.deleteQuestion = lists.DeleteListQuestion();
    state.folder = station.Folders().ListsPath;
    state.unusedEntries = station.LastDeadEntryLines();
    state.unusedRemovable = station.LastDeadEntriesRemovable();
    return state;
}
