#include "library/editor_adds.h"

#include <utility>

#include "schedule/list_editor.h"
#include "spots/spot_editor.h"

namespace {

EditorAdds Added(const ListEditor& editor, int added, Result result = Result::Ok()) {
    return {std::move(result), added, editor.TotalTracks(), false};
}

EditorAdds AddCurrentAsSpot(const std::optional<TrackFile>& current, SpotEditor& spots) {
    if (!current) return {};
    Result result = spots.AddSpot(current->path, current->title);
    const bool ok = result.ok();
    return {std::move(result), ok ? 1 : 0, 0, false};
}

}  // namespace

EditorAdds AddSelectionToEditor(ListEditor& editor, const QList<TrackFile>& selection) {
    int added = 0;
    for (const TrackFile& track : selection) {
        if (editor.ContainsTitle(track.title)) continue;
        Result appended = editor.AppendRow(track.title, track.path);
        if (!appended.ok()) return Added(editor, added, std::move(appended));
        ++added;
    }
    return Added(editor, added);
}

EditorAdds AddToProgram4Click(ListEditor& editor, const std::optional<TrackFile>& played) {
    if (!played) return Added(editor, 0);
    Result appended = editor.AppendRow(played->title, played->path);
    const bool ok = appended.ok();
    return Added(editor, ok ? 1 : 0, std::move(appended));
}

EditorAdds ButtonAddToProgrClick(CalendarAreaTab tab, const QList<TrackFile>& selection,
                                 const std::optional<TrackFile>& current, ListEditor& editor,
                                 SpotEditor& spots) {
    switch (tab) {
        case CalendarAreaTab::Lists: {
            EditorAdds adds = AddSelectionToEditor(editor, selection);
            adds.scrollToLast = true;
            return adds;
        }
        case CalendarAreaTab::Spots: {
            EditorAdds adds = AddCurrentAsSpot(current, spots);
            adds.totalTracks = editor.TotalTracks();
            return adds;
        }
        case CalendarAreaTab::Calendar:
            break;
    }
    return Added(editor, 0);
}
