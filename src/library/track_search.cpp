#include "library/track_search.h"

#include <QStringMatcher>
#include <algorithm>
#include <vector>

#include "base/parallel_map.h"
#include "library/greek_folding.h"
#include "library/list_shelf.h"
#include "library/track_rows.h"
#include "schedule/list_file.h"

namespace {

QString KeyOf(QString text) {
    FoldForSearch(text);
    return text;
}

// Shorter skeletons ("aiai" gives "E") would find nearly every title.
constexpr qsizetype kShortestSkeleton = 3;

// The texts compared with each title's key.
struct SearchKeys {
    QString first;
    QString latin;     // the Latin spelling of the first text, an alternative when it differs
    QString skeleton;  // the first text's skeleton, compared with the titles' skeletons
    quint32 skeletonLetters = 0;
    QString second;
};

bool IsLineBreak(QChar c) { return c == u'\n' || c == u'\r'; }

qsizetype LineStart(const QString& text, qsizetype at) {
    while (at > 0 && !IsLineBreak(text.at(at - 1))) --at;
    return at;
}

qsizetype LineEnd(const QString& text, qsizetype at) {
    while (at < text.size() && !IsLineBreak(text.at(at))) ++at;
    return at;
}

// The starts of the lines whose titles hold key, found like grep does: the whole text
// is searched, and only the lines with a hit are looked at.
void CollectTitleHits(const QString& folded, const QString& key, std::vector<qsizetype>& starts) {
    const QStringMatcher matcher(key);  // its skip table serves every hit of the list
    qsizetype from = 0;
    for (qsizetype hit; (hit = matcher.indexIn(folded, from)) >= 0;) {
        const qsizetype start = LineStart(folded, hit);
        const qsizetype end = LineEnd(folded, hit);
        const qsizetype title =
            start + TrackTitleStart(QStringView(folded).sliced(start, end - start));
        if (hit + key.size() > end) {
            from = hit + 1;  // a key that holds a line break is in no title
        } else if (hit < title) {
            from = title;  // a hit in the folder part: the title may still hold one
        } else {
            starts.push_back(start);
            from = end;
        }
    }
}

// The starts of the lines whose titles' skeletons hold the key's. The skeletons of a
// list's titles that may hold it are written into one text, one a line, and searched like
// the folded text.
void CollectSkeletonHits(const QString& folded, const SearchKeys& keys,
                         std::vector<qsizetype>& starts) {
    // A skeleton is at most twice its title, and each has its line break.
    QString skeletons(2 * folded.size() + 1, Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(skeletons.data());
    char16_t* put = first;
    std::vector<qsizetype> skeletonStarts;
    std::vector<qsizetype> lineStarts;
    const QStringView text(folded);
    const quint32 letters = keys.skeletonLetters;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        if (const qsizetype cr = text.sliced(start, end - start).indexOf(u'\r'); cr >= 0)
            end = start + cr;
        const QStringView line = text.sliced(start, end - start);
        const QStringView title = line.sliced(TrackTitleStart(line));
        if (!title.isEmpty() && (SkeletonLettersMayGive(title) & letters) == letters) {
            skeletonStarts.push_back(put - first);
            lineStarts.push_back(start);
            put = WriteGreeklishSkeleton(title, put);
            *put++ = u'\n';
        }
        start = end + 1;
    }
    skeletons.truncate(put - first);
    const QString& key = keys.skeleton;
    const QStringMatcher matcher(key);
    for (qsizetype from = 0, hit; (hit = matcher.indexIn(skeletons, from)) >= 0;) {
        const auto next = std::upper_bound(skeletonStarts.begin(), skeletonStarts.end(), hit);
        from = next == skeletonStarts.end() ? skeletons.size() : *next;
        if (hit + key.size() < from)  // else the key holds a line break
            starts.push_back(lineStarts[next - skeletonStarts.begin() - 1]);
    }
}

void SearchList(const QString& listName, const QString& text, const SearchKeys& keys,
                QList<SearchRow>& rows) {
    const QString folded = KeyOf(text);
    std::vector<qsizetype> starts;
    CollectTitleHits(folded, keys.first, starts);
    if (!keys.latin.isEmpty()) CollectTitleHits(folded, keys.latin, starts);
    if (!keys.skeleton.isEmpty()) CollectSkeletonHits(folded, keys, starts);
    if (!keys.latin.isEmpty() || !keys.skeleton.isEmpty()) {
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    }
    for (const qsizetype start : starts) {
        const qsizetype end = LineEnd(folded, start);
        const qsizetype title =
            start + TrackTitleStart(QStringView(folded).sliced(start, end - start));
        // The narrowing text has no Latin alternative.
        if (!keys.second.isEmpty() &&
            !QStringView(folded).sliced(title, end - title).contains(keys.second))
            continue;
        rows.append({text.sliced(title, end - title), text.sliced(start, end - start), listName});
    }
}

}  // namespace

bool IsSearchText(const QString& text) { return text.size() > 3; }

SearchOutcome RunTrackSearch(const QString& listsPath, const SearchQuery& query) {
    SearchOutcome outcome;
    if (!IsSearchText(query.text)) return outcome;
    outcome.ran = true;
    SearchKeys keys;
    keys.first = KeyOf(query.text);
    keys.second = KeyOf(query.narrowing);
    if (query.greeklish) {
        outcome.latin = MakeGreeklish(keys.first);
        if (outcome.latin != keys.first) keys.latin = outcome.latin;
        keys.skeleton = GreeklishSkeleton(keys.first);
        if (keys.skeleton.size() < kShortestSkeleton) keys.skeleton.clear();
        keys.skeletonLetters = SkeletonLetters(keys.skeleton);
    }

    // Each list is read and searched on its own, so the lists are shared out among the
    // cores; the results are joined in the lists' order.
    struct ListHits {
        QList<SearchRow> rows;
        QString problem;
    };
    const QStringList names = ListShelfNames(listsPath, query.includeCds);
    const std::vector<ListHits> hits = MapInParallel<ListHits>(names.size(), [&](qsizetype i) {
        ListHits found;
        const ReadResult<QString> read = list_file::ReadText(listsPath, names[i]);
        if (read.ok())
            SearchList(names[i], read.value, keys, found.rows);
        else
            found.problem = read.message();
        return found;
    });
    for (const ListHits& list : hits) {
        outcome.rows += list.rows;
        if (!list.problem.isEmpty()) outcome.problems << list.problem;
    }
    // In the order of a sorted list box over "title|line^list".
    SortByListBoxOrder(
        outcome.rows, [](const SearchRow& row) { return row.title; },
        [](const SearchRow& row) { return MakeTrackEntry(row.path, row.listName); });
    return outcome;
}
