#include "app/search_command.h"

#include <QTextStream>

#include "app/command_line.h"
#include "app/data_folders.h"
#include "library/track_search.h"

int RunSearchCommand(const CommandLine& cl, const QString& startFolder, QTextStream& out,
                     QTextStream& err) {
    SearchQuery query;
    query.text = cl.searchText;
    query.narrowing = cl.searchNarrowing;
    query.greeklish = cl.searchGreeklish;
    query.includeCds = cl.searchCds;
    const SearchOutcome outcome = RunTrackSearch(MakeDataFolders(startFolder).ListsPath, query);
    for (const QString& problem : outcome.problems) err << problem << '\n';
    if (outcome.ran && query.greeklish) out << "# latin: " << outcome.latin << '\n';
    for (const SearchRow& row : outcome.rows)
        out << row.title << '\t' << row.path << '\t' << row.listName << '\n';
    out.flush();
    err.flush();
    return 0;
}
