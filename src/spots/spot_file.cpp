#include "spots/spot_file.h"

#include <QFileInfo>

#include "base/text_file.h"

namespace spot_file {

namespace {

// 240 paths of a few hundred characters stay far below this; anything larger is an
// audio file or worse saved under a spot file's name.
constexpr qint64 kLargestSpotFile = 1024 * 1024;

QStringList EmptySchedule() { return QStringList(kLines, kNullSpot); }

}  // namespace

QString Path(const QString& spotsPath, int weekday, int quarter) {
    if (weekday < 0 || weekday > 6 || quarter < 0 || quarter > 3) return {};
    return spotsPath + QStringLiteral("%1-%2").arg(weekday).arg(quarter);
}

ReadResult<QStringList> Read(const QString& spotsPath, int weekday, int quarter) {
    const QString path = Path(spotsPath, weekday, quarter);
    if (path.isEmpty()) return {Result::Ok(), EmptySchedule()};
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kLargestSpotFile) {
        return {Result::Error(QStringLiteral("%1 is too large to be a spot file").arg(path)),
                EmptySchedule()};
    }
    ReadResult<QStringList> read = text_file::ReadLines(path);
    if (!read.ok()) return {read, EmptySchedule()};
    QStringList& lines = read.value;
    while (lines.size() < kLines) lines.append(kNullSpot);
    return read;
}

Result Write(const QString& spotsPath, int weekday, int quarter, const QStringList& lines) {
    const QString path = Path(spotsPath, weekday, quarter);
    if (path.isEmpty()) {
        return Result::Error(QStringLiteral("There is no spot file for weekday %1, quarter %2.")
                                 .arg(weekday)
                                 .arg(quarter));
    }
    return text_file::WriteLines(path, lines);
}

QStringList SlotSpots(const QStringList& lines, int hour) {
    QStringList spots;
    if (hour < 0 || hour >= kHours) return spots;
    for (int i = hour * kSpotsPerSlot; i < (hour + 1) * kSpotsPerSlot && i < lines.size(); ++i) {
        if (lines[i] == kNullSpot) break;
        spots.append(lines[i]);
    }
    return spots;
}

}  // namespace spot_file
