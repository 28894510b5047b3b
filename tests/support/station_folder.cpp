#include "support/station_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <algorithm>

#include "schedule/day_program.h"
#include "schedule/list_file.h"
#include "support/mpeg_builder.h"

StationFolder::StationFolder() {
    EXPECT_TRUE(m_dir.isValid());
    for (const char* folder : {"pro1", "days1", "hour1", "spots1", "music"})
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
}

QString StationFolder::StartFolder() const { return m_dir.path(); }
QString StationFolder::ListsPath() const { return m_dir.path() + QStringLiteral("/pro1/"); }
QString StationFolder::DaysPath() const { return m_dir.path() + QStringLiteral("/days1/"); }
QString StationFolder::MusicPath() const { return m_dir.path() + QStringLiteral("/music/"); }
QString StationFolder::SpotsPath() const { return m_dir.path() + QStringLiteral("/spots1/"); }

void StationFolder::WriteSpots(int weekday, int quarter, int hour, const QStringList& paths) {
    QStringList lines(240, QStringLiteral("###NULL###"));
    for (int i = 0; i < paths.size(); ++i) lines[hour * 10 + i] = paths[i];
    QFile file(SpotsPath() + QStringLiteral("%1-%2").arg(weekday).arg(quarter));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

QStringList StationFolder::AddList(const QString& name, const QList<int>& trackSeconds) {
    QStringList paths;
    for (int i = 0; i < trackSeconds.size(); ++i) {
        paths << MusicPath() + QStringLiteral("%1 - Track %2.mp3").arg(name).arg(i + 1);
        EXPECT_TRUE(WriteCbrMpeg(paths.last(), trackSeconds[i])) << paths.last().toStdString();
    }
    WriteList(name, paths);
    return paths;
}

void StationFolder::WriteList(const QString& name, const QStringList& lines) {
    const Result written = list_file::Write(ListsPath(), name, lines);
    EXPECT_TRUE(written.ok()) << written.message().toStdString();
}

void StationFolder::WriteDays(const QList<Program>& programs) {
    QMap<int, QStringList> days;  // weekday -> its 48 slots
    for (const Program& program : programs) {
        QStringList& slots = days[program.weekday];
        if (slots.isEmpty()) slots = QStringList(day_program::kSlotCount, day_program::kNullSlot);
        const auto slotOf = [](const QString& hhmm) {  // "24:00" is the slot after the last
            return day_program::SlotOfTime(hhmm.section(':', 0, 0).toInt(),
                                           hhmm.section(':', 1, 1).toInt());
        };
        const int start = slotOf(program.start), end = slotOf(program.end);
        EXPECT_TRUE(start >= 0 && start < end && end <= day_program::kSlotCount)
            << "bad span " << program.start.toStdString() << " - " << program.end.toStdString();
        for (int s = std::max(start, 0); s < std::min(end, day_program::kSlotCount); ++s)
            slots[s] = s == start ? program.value : day_program::kSameSlot;
    }
    for (auto day = days.cbegin(); day != days.cend(); ++day) {
        const Result written = day_program::WriteDay(DaysPath(), day.key(), day.value());
        EXPECT_TRUE(written.ok()) << written.message().toStdString();
    }
}
