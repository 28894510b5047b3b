#include "support/station_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <set>

#include "base/text_file.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"
#include "support/mpeg_builder.h"

namespace {

int SlotOfText(const QString& time) {
    const QStringList parts = time.split(u':');
    if (parts.size() != 2) {
        ADD_FAILURE() << "not a time: " << time.toStdString();
        return 0;
    }
    return day_program::SlotOfTime(parts[0].toInt(), parts[1].toInt());
}

// The 48 slot lines of one day made of these programs.
QStringList DaySlots(const QList<StationFolder::Program>& programs) {
    QStringList slots;
    for (int s = 0; s < day_program::kSlotCount; ++s) slots.append(day_program::kNullSlot);
    for (const StationFolder::Program& program : programs) {
        const int start = SlotOfText(program.start);
        const int end = SlotOfText(program.end);
        if (start < 0 || start >= end || end > day_program::kSlotCount) {
            ADD_FAILURE() << "bad span " << program.start.toStdString() << " - "
                          << program.end.toStdString();
            continue;
        }
        slots[start] = program.value;
        for (int s = start + 1; s < end; ++s) slots[s] = day_program::kSameSlot;
    }
    return slots;
}

}  // namespace

StationFolder::StationFolder() {
    EXPECT_TRUE(m_dir.isValid());
    for (const char* folder : {"pro1", "days1", "hour1", "spots1", "music"}) {
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
    }
}

QString StationFolder::StartFolder() const { return m_dir.path(); }
QString StationFolder::ListsPath() const { return m_dir.path() + QStringLiteral("/pro1/"); }
QString StationFolder::DaysPath() const { return m_dir.path() + QStringLiteral("/days1/"); }
QString StationFolder::MusicPath() const { return m_dir.path() + QStringLiteral("/music/"); }

QStringList StationFolder::AddList(const QString& name, const QList<int>& trackSeconds) {
    QStringList paths;
    for (int i = 0; i < trackSeconds.size(); ++i) {
        const QString path = MusicPath() + QStringLiteral("%1 - Track %2.mp3").arg(name).arg(i + 1);
        EXPECT_TRUE(WriteCbrMpeg(path, trackSeconds[i])) << path.toStdString();
        paths.append(path);
    }
    WriteList(name, paths);
    return paths;
}

void StationFolder::WriteList(const QString& name, const QStringList& lines) {
    const Result written = list_file::Write(ListsPath(), name, lines);
    EXPECT_TRUE(written.ok()) << written.message().toStdString();
}

void StationFolder::WriteDays(const QList<Program>& programs) {
    std::set<int> weekdays;
    for (const Program& program : programs) weekdays.insert(program.weekday);
    for (const int weekday : weekdays) {
        QList<Program> ofDay;
        for (const Program& program : programs) {
            if (program.weekday == weekday) ofDay.append(program);
        }
        const Result written = day_program::WriteDay(DaysPath(), weekday, DaySlots(ofDay));
        EXPECT_TRUE(written.ok()) << written.message().toStdString();
    }
}
