#include "housekeeping/dead_entries.h"

#include <QFileInfo>

#include "library/list_shelf.h"
#include "schedule/list_file.h"
#include "spots/spot_file.h"

bool DeadEntryReport::HasRemovable() const {
    for (const DeadEntry& entry : entries)
        if (!entry.unreachable) return true;
    return false;
}

FilePresence::State FilePresence::Of(const QString& path) {
    if (path.isEmpty()) return State::Missing;
    if (AskOnce(m_files, path, false)) return State::Present;
    // The folder part by the station's own separators, so that a Windows path read on
    // another system counts as out of reach rather than gone.
    const qsizetype titleStart = TrackTitleStart(path);
    if (titleStart == 0) return State::Missing;
    return AskOnce(m_folders, path.left(titleStart), true) ? State::Missing : State::Unreachable;
}

bool FilePresence::AskOnce(QHash<QString, bool>& known, const QString& path, bool folder) {
    const auto found = known.constFind(path);
    if (found != known.constEnd()) return *found;
    const QFileInfo info(path);
    const bool there = folder ? info.isDir() : info.exists() && !info.isDir();
    known.insert(path, there);
    return there;
}

namespace {

using State = FilePresence::State;

// Reports a line whose file is not there; true when a delete run should remove it.
bool ReportDead(DeadEntryReport& report, FilePresence& presence, const QString& fileName,
                const QString& line) {
    const State state = presence.Of(line);
    if (state == State::Present) return false;
    report.entries.append({fileName, line, state == State::Unreachable});
    return state == State::Missing;
}

// The spots of one hour: lines base .. base + 9. A removed spot's place is taken by the
// next one, which is examined in its turn.
void ScanSpotHour(DeadEntryReport& report, FilePresence& presence, const QString& fileName,
                  QStringList& lines, int hour, DeadEntryMode mode) {
    const int first = hour * spot_file::kSpotsPerSlot;
    const int last = first + spot_file::kSpotsPerSlot - 1;
    for (int i = first; i <= last;) {
        if (lines[i] == spot_file::kNullSpot || !ReportDead(report, presence, fileName, lines[i]) ||
            mode != DeadEntryMode::Delete) {
            ++i;
            continue;
        }
        lines.removeAt(i);
        lines.insert(last, spot_file::kNullSpot);
    }
}

}  // namespace

DeadEntryReport ScanListsForDeadEntries(const QString& listsPath, DeadEntryMode mode) {
    DeadEntryReport report;
    FilePresence presence;
    for (const QString& name : ListShelfNames(listsPath, false)) {
        // Gone since the folder was listed: nothing to scan, and nothing to write back.
        if (!QFileInfo(listsPath + name).isFile()) continue;
        const ReadResult<QStringList> read = list_file::Read(listsPath, name);
        if (!read.ok()) {
            report.problems.append(read.message());
            continue;
        }
        QStringList kept;
        kept.reserve(read.value.size());
        for (const QString& line : read.value)
            if (!ReportDead(report, presence, name, line)) kept.append(line);
        if (mode != DeadEntryMode::Delete) continue;
        if (const Result written = list_file::Write(listsPath, name, kept); !written.ok()) {
            report.problems.append(written.message());
            return report;
        }
    }
    return report;
}

DeadEntryReport ScanSpotFilesForDeadEntries(const QString& spotsPath, DeadEntryMode mode) {
    DeadEntryReport report;
    FilePresence presence;
    for (int weekday = 0; weekday <= 6; ++weekday) {
        for (int quarter = 0; quarter <= 3; ++quarter) {
            const QString path = spot_file::Path(spotsPath, weekday, quarter);
            if (!QFileInfo::exists(path)) continue;
            ReadResult<QStringList> read = spot_file::Read(spotsPath, weekday, quarter);
            if (!read.ok()) {
                report.problems.append(read.message());
                continue;
            }
            const QString fileName = QFileInfo(path).fileName();
            for (int hour = 0; hour < spot_file::kHours; ++hour)
                ScanSpotHour(report, presence, fileName, read.value, hour, mode);
            if (mode != DeadEntryMode::Delete) continue;
            if (const Result written = spot_file::Write(spotsPath, weekday, quarter, read.value);
                !written.ok()) {
                report.problems.append(written.message());
                return report;
            }
        }
    }
    return report;
}

DeadEntryReport ScanForDeadEntries(DeadEntryKind kind, const QString& listsPath,
                                   const QString& spotsPath, DeadEntryMode mode) {
    return kind == DeadEntryKind::Songs ? ScanListsForDeadEntries(listsPath, mode)
                                        : ScanSpotFilesForDeadEntries(spotsPath, mode);
}

QStringList DeadEntryLines(const DeadEntryReport& report) {
    QStringList lines;
    lines.reserve(report.entries.size());
    for (const DeadEntry& entry : report.entries) {
        QString line = entry.fileName + u'\t' + entry.path;
        if (entry.unreachable) line += QStringLiteral("\t(folder unreachable: kept)");
        lines.append(line);
    }
    return lines;
}

QStringList RichTextDocument(const QStringList& lines) {
    QStringList rtf{
        QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20")};
    for (const QString& line : lines) {
        QString escaped;
        for (const QChar ch : line) {
            const char16_t unit = ch.unicode();
            if (unit == u'\\' || unit == u'{' || unit == u'}')
                escaped += QStringLiteral("\\") + ch;
            else if (unit == u'\t')
                escaped += QStringLiteral("\\tab ");
            else if (unit < 0x20 || unit > 0x7e)
                // RTF counts in signed 16-bit units; "?" is for readers without Unicode.
                escaped += QStringLiteral("\\u%1?").arg(static_cast<qint16>(unit));
            else
                escaped += ch;
        }
        rtf.append(escaped + QStringLiteral("\\par"));
    }
    rtf.append(QStringLiteral("}"));
    return rtf;
}
