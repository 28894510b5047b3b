#include "library/editor_adds.h"

#include <utility>

#include "schedule/list_editor.h"
#include "schedule/list_file.h"
#include "spots/spot_schedule.h"

namespace {

EditorAdds Added(const ListEditor& editor, int added, Result result = Result::Ok()) {
    return {std::move(result), added, editor.TotalTracks(), false};
}

EditorAdds AddCurrentRowAsSpot(const PageRows& page, SpotSchedule& spots) {
    if (page.currentRow < 0 || page.currentRow >= page.rows.size()) return {};
    const PageRow& row = page.rows[page.currentRow];
    Result result = spots.AddSpot(PagePath(page.page, row.payload), row.title);
    const bool ok = result.ok();
    return {std::move(result), ok ? 1 : 0, 0, false};
}

}  // namespace

QString PagePath(LibraryPage page, const QString& payload) {
    const bool entries = page == LibraryPage::Search || page == LibraryPage::Artists;
    return entries ? SplitTrackEntry(payload).path : payload;
}

EditorAdds AddSelectionToEditor(ListEditor& editor, const PageRows& page) {
    int added = 0;
    for (const PageRow& row : page.rows) {
        if (!row.selected || editor.ContainsTitle(row.title)) continue;
        Result appended = editor.AppendRow(row.title, PagePath(page.page, row.payload));
        if (!appended.ok()) return Added(editor, added, std::move(appended));
        ++added;
    }
    return Added(editor, added);
}

EditorAdds AddToProgram4Click(ListEditor& editor, const std::optional<TrackPick>& played) {
    if (!played) return Added(editor, 0);
    Result appended = editor.AppendRow(played->title, played->path);
    const bool ok = appended.ok();
    return Added(editor, ok ? 1 : 0, std::move(appended));
}

EditorAdds ButtonAddToProgrClick(CalendarAreaTab tab, const PageRows& page, ListEditor& editor,
                                 SpotSchedule& spots) {
    switch (tab) {
        case CalendarAreaTab::Lists: {
            EditorAdds adds = AddSelectionToEditor(editor, page);
            adds.scrollToLast = true;
            return adds;
        }
        case CalendarAreaTab::Spots: {
            EditorAdds adds = AddCurrentRowAsSpot(page, spots);
            adds.totalTracks = editor.TotalTracks();
            return adds;
        }
        case CalendarAreaTab::Calendar:
            break;
    }
    return Added(editor, 0);
}
