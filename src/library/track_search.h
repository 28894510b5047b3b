#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The library's search over every list of the lists folder: the tracks whose titles hold
/// a search text, one row per track and list, sorted by title without regard to case.

/// One result: what the view shows (the title) and the track entry behind it.
struct SearchRow {
    QString title;
    QString path;      ///< the list line
    QString listName;  ///< the list that holds it
};

struct SearchQuery {
    QString text;            ///< `EditSearch1`; a text of 3 characters or fewer runs nothing
    QString narrowing;       ///< `EditSearch2`; empty narrows nothing
    bool greeklish = false;  ///< `GreeklishSearch`: fold Greek and also look for the Latin spelling
    bool includeCds = false;  ///< `CheckBoxSearchCDs`
};

struct SearchOutcome {
    bool ran = false;  ///< false: the text was too short and the view keeps what it showed
    QString latin;     ///< `Label21`: the Latin spelling of the text (Greeklish runs only)
    QList<SearchRow> rows;
    QStringList problems;  ///< lists that exist but could not be read
};

/// Whether the text is long enough to run a search.
bool IsSearchText(const QString& text);

/// `RunSearch`: reads every list of listsPath (ending in "/") in folder order, CD lists
/// only when included; missing files are skipped.
SearchOutcome RunTrackSearch(const QString& listsPath, const SearchQuery& query);
