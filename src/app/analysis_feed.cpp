#include "app/analysis_feed.h"

#include <QSet>

#include "library/list_shelf.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"

namespace {

// Adds the tracks of the lines not met before.
void AddTracks(const QStringList& lines, QSet<QString>& met, QStringList& paths) {
    for (const QString& line : lines) {
        const QString path = SplitTrackEntry(line).path.trimmed();
        if (!path.isEmpty() && !met.contains(path)) {
            met.insert(path);
            paths << path;
        }
    }
}

}  // namespace

QStringList ComingProgramPaths(const QString& daysPath, const QString& listsPath,
                               const QDateTime& now) {
    QSet<QString> metTracks, metLists;
    QStringList paths;
    for (int day = 0; day < 2; ++day) {
        const QDate date = now.date().addDays(day);
        const ReadResult<QStringList> slots =
            day_program::ReadDay(daysPath, day_program::WeekdayNumber(date));
        const int from =
            day == 0 ? day_program::SlotOfTime(now.time().hour(), now.time().minute()) : 0;
        for (int slot = from; slot < slots.value.size(); ++slot) {
            for (const QString& list : SplitProgramValue(slots.value[slot])) {
                if (list.isEmpty() || list == day_program::kNullSlot ||
                    list == day_program::kSameSlot || metLists.contains(list))
                    continue;
                metLists.insert(list);
                AddTracks(list_file::Read(listsPath, list).value, metTracks, paths);
            }
        }
    }
    return paths;
}

QStringList ShelfPaths(const QString& listsPath, bool cds) {
    QSet<QString> met;
    QStringList paths;
    WalkListShelf(listsPath, cds, [&](const QString& name, const QStringList& lines) {
        if (IsCdList(name) == cds) AddTracks(lines, met, paths);
    });
    return paths;
}
