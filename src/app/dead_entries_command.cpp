#include "app/dead_entries_command.h"

#include <QTextStream>

#include "app/command_line.h"
#include "app/data_folders.h"
#include "housekeeping/dead_entries.h"

int RunDeadEntriesCommand(const CommandLine& cl, const QString& startFolder, QTextStream& out,
                          QTextStream& err) {
    const DataFolders folders = MakeDataFolders(startFolder);
    const DeadEntryKind kind =
        cl.deadEntries == QLatin1String("spots") ? DeadEntryKind::Spots : DeadEntryKind::Songs;
    const DeadEntryReport report =
        ScanForDeadEntries(kind, folders.ListsPath, folders.SpotsPath, DeadEntryMode::Report);
    for (const DeadEntry& entry : report.entries) {
        out << entry.fileName << '\t' << entry.path;
        if (entry.unreachable) out << "\tunreachable";
        out << '\n';
    }
    for (const QString& problem : report.problems) err << problem << '\n';
    out.flush();
    err.flush();
    // A file that could not be read is a finding too: the check is not clean. (3 is kept for
    // "no running station to talk to".)
    return report.entries.isEmpty() && report.problems.isEmpty() ? 0 : 1;
}
