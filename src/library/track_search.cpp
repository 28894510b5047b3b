#include "library/track_search.h"

#include <QDir>
#include <algorithm>

#include "library/greek_folding.h"
#include "schedule/list_file.h"

namespace {

QString KeyOf(const QString& text, bool greeklish) {
    const QString upper = UpperLatin(text);
    return greeklish ? MakeCapitalGreek(upper) : upper;
}

// The order of a sorted list box over "title|line^list": the title without case first,
// equal titles by the rest of the row.
bool ComesBefore(const SearchRow& a, const SearchRow& b) {
    const auto payload = [](const SearchRow& r) { return r.path + u'^' + r.listName; };
    if (const int c = a.title.compare(b.title, Qt::CaseInsensitive); c != 0) return c < 0;
    if (const int c = payload(a).compare(payload(b), Qt::CaseInsensitive); c != 0) return c < 0;
    return payload(a) < payload(b);
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

    const QDir folder(listsPath);
    // Hidden files and folders are not lists; the order is the folder's, without case.
    const QStringList names = folder.exists()
                                  ? folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)
                                  : QStringList();
    for (const QString& listName : names) {
        if (IsCdList(listName) && !query.includeCds) continue;
        const ReadResult<QStringList> read = list_file::Read(listsPath, listName);
        if (!read.ok()) {
            outcome.problems << read.message();
            continue;
        }
        for (const QString& line : read.value) {
            const QString title = TrackTitle(line);
            const QString nameKey = KeyOf(title, query.greeklish);
            const bool first = nameKey.contains(key1) ||
                               (!outcome.latin.isEmpty() && nameKey.contains(outcome.latin));
            // The narrowing text has no Latin alternative.
            const bool second = key2.isEmpty() || nameKey.contains(key2);
            if (first && second) outcome.rows.append({title, line, listName});
        }
    }
    std::stable_sort(outcome.rows.begin(), outcome.rows.end(), ComesBefore);
    return outcome;
}
