#include "library/track_search.h"

#include "library/greek_folding.h"
#include "library/list_shelf.h"
#include "library/track_rows.h"
#include "schedule/list_file.h"

namespace {

QString KeyOf(const QString& text, bool greeklish) {
    const QString upper = UpperLatin(text);
    return greeklish ? MakeCapitalGreek(upper) : upper;
}

// In the order of a sorted list box over "title|line^list".
void SortRows(QList<SearchRow>& rows) {
    QStringList titles;
    QStringList payloads;
    for (const SearchRow& row : rows) {
        titles.append(row.title);
        payloads.append(MakeTrackEntry(row.path, row.listName));
    }
    QList<SearchRow> sorted;
    sorted.reserve(rows.size());
    for (const qsizetype i : ListBoxOrder(titles, payloads)) sorted.append(std::move(rows[i]));
    rows = std::move(sorted);
}

}  // namespace

bool IsSearchText(const QString& text) { return text.size() > 3; }

SearchOutcome RunTrackSearch(const QString& listsPath, const SearchQuery& query) {
    SearchOutcome outcome;
    if (!IsSearchText(query.text)) return outcome;
    outcome.ran = true;
    const QString key1 = KeyOf(query.text, query.greeklish);
    const QString key2 = KeyOf(query.narrowing, query.greeklish);
    if (query.greeklish) outcome.latin = MakeGreeklish(key1);

    const auto visit = [&](const QString& listName, const QStringList& lines) {
        for (const QString& line : lines) {
            const QString title = TrackTitle(line);
            const QString nameKey = KeyOf(title, query.greeklish);
            const bool first = nameKey.contains(key1) ||
                               (!outcome.latin.isEmpty() && nameKey.contains(outcome.latin));
            // The narrowing text has no Latin alternative.
            const bool second = key2.isEmpty() || nameKey.contains(key2);
            if (first && second) outcome.rows.append({title, line, listName});
        }
    };
    outcome.problems = WalkListShelf(listsPath, query.includeCds, visit);
    SortRows(outcome.rows);
    return outcome;
}
