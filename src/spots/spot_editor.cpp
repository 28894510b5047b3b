#include "spots/spot_editor.h"

#include <QFileInfo>

#include "schedule/list_file.h"
#include "schedule/program_lock.h"
#include "spots/spot_file.h"

namespace {

bool IsHour(int hour) { return hour >= 0 && hour < spot_file::kHours; }
bool IsQuarter(int quarter) { return quarter >= 0 && quarter <= 3; }
bool IsWeekday(int weekday) { return weekday >= 0 && weekday <= 6; }

}  // namespace

SpotEditor::SpotEditor(QString spotsPath, const ProgramLock& lock)
    : m_spotsPath(std::move(spotsPath)), m_lock(lock) {}

Result SpotEditor::StartUp(int weekday) {
    if (IsWeekday(weekday)) m_dayTab = weekday;
    m_ready = true;
    return ComboBoxHourSpots1Change(0);
}

QStringList SpotEditor::QuarterCaptions() const {
    const QString hour = QStringLiteral("%1").arg(m_hour, 2, 10, QLatin1Char('0'));
    return {hour + QStringLiteral(":00"), hour + QStringLiteral(":15"),
            hour + QStringLiteral(":30"), hour + QStringLiteral(":45")};
}

Result SpotEditor::TabControlSpotsChange(int weekday) {
    if (!m_ready || !IsWeekday(weekday)) return Result::Ok();
    m_dayTab = weekday;
    return LoadSpotSlot(m_quarterTab);
}

Result SpotEditor::ComboBoxHourSpots1Change(int hour) {
    if (!IsHour(hour)) return Result::Ok();
    m_hour = hour;
    m_editedHour = hour;
    return LoadSpotSlot(m_quarterTab);
}

Result SpotEditor::TabSet1Change(int quarter) { return LoadSpotSlot(quarter); }

Result SpotEditor::LoadSpotSlot(int quarter) {
    if (!IsQuarter(quarter)) return Result::Ok();
    m_quarterTab = quarter;
    m_editedQuarter = quarter;
    m_editedDay = m_dayTab;
    m_editedHour = m_hour;
    return ReadEditedSlot();
}

Result SpotEditor::ReadEditedSlot() {
    const ReadResult<QStringList> file = spot_file::Read(m_spotsPath, m_editedDay, m_editedQuarter);
    m_editedFile = file.value;
    m_editedProblem = file.ok() ? QString() : file.message();
    m_editedUnsaved = false;
    m_editedPaths = spot_file::SlotSpots(m_editedFile, m_editedHour);
    m_editedTitles.clear();
    for (const QString& path : m_editedPaths) m_editedTitles << TrackTitle(path);
    m_selected = -1;
    return file;
}

Result SpotEditor::SaveSpotSlot() {
    // A slot only looked at is never written: the file stays byte for byte as it was.
    if (!m_editedUnsaved || m_editedDay == kNoSlot || m_editedHour == kNoSlot ||
        m_editedQuarter == kNoSlot)
        return Result::Ok();
    // What was read from a damaged file is not what it holds: writing it would destroy it.
    if (!m_editedProblem.isEmpty())
        return Result::Error(m_editedProblem + QStringLiteral(". Nothing was saved."));
    for (int k = 0; k < spot_file::kSpotsPerSlot; ++k) {
        m_editedFile[m_editedHour * spot_file::kSpotsPerSlot + k] =
            k < m_editedPaths.size() ? m_editedPaths[k] : spot_file::kNullSpot;
    }
    Result written = spot_file::Write(m_spotsPath, m_editedDay, m_editedQuarter, m_editedFile);
    if (written.ok()) m_editedUnsaved = false;
    return written;
}

Result SpotEditor::SpotFilesRewritten() {
    if (m_editedDay == kNoSlot || m_editedHour == kNoSlot || m_editedQuarter == kNoSlot)
        return Result::Ok();
    return ReadEditedSlot();
}

void SpotEditor::SelectSpot(int row) {
    m_selected = row >= 0 && row < m_editedPaths.size() ? row : -1;
}

Result SpotEditor::EditRefusal() const {
    if (!m_editedProblem.isEmpty())
        return Result::Error(m_editedProblem + QStringLiteral(". Nothing was changed."));
    return Result::Ok();
}

Result SpotEditor::EditDone() {
    m_editedUnsaved = true;
    Result saved = SaveSpotSlot();
    m_operatorEdited = true;
    m_spotsSaved = true;
    return saved;
}

Result SpotEditor::MoveSelected(int by) {
    if (Result refused = EditRefusal(); !refused.ok()) return refused;
    const int from = m_selected;
    const int to = from + by;
    if (from < 0 || to < 0 || to >= m_editedPaths.size()) return Result::Ok();
    m_editedPaths.move(from, to);
    m_editedTitles.move(from, to);
    m_selected = to;
    return EditDone();
}

Result SpotEditor::BitBtnSpotUp1Click() { return MoveSelected(-1); }
Result SpotEditor::BitBtnSpotDown1Click() { return MoveSelected(1); }

Result SpotEditor::BitBtnDelSpot1Click() {
    if (Result refused = EditRefusal(); !refused.ok()) return refused;
    if (m_selected < 0) return Result::Ok();
    m_editedPaths.removeAt(m_selected);
    m_editedTitles.removeAt(m_selected);
    m_selected = -1;
    return EditDone();
}

Result SpotEditor::BitBtnIdioMeSpots1Click(std::optional<int> chosenWeekday) {
    if (!chosenWeekday || !IsWeekday(*chosenWeekday)) return Result::Ok();
    // Onto itself there is nothing to copy, and rewriting would tidy a file nobody asked to.
    if (*chosenWeekday != m_dayTab) {
        for (int q = 0; q < 4; ++q) {
            if (!QFileInfo(spot_file::Path(m_spotsPath, *chosenWeekday, q)).isFile()) continue;
            const ReadResult<QStringList> source = spot_file::Read(m_spotsPath, *chosenWeekday, q);
            if (!source.ok()) return source;
            if (Result written = spot_file::Write(m_spotsPath, m_dayTab, q, source.value);
                !written.ok()) {
                return written;
            }
        }
    }
    return LoadSpotSlot(m_quarterTab);
}

Result SpotEditor::AddSpot(const QString& path, const QString& title) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (Result refused = EditRefusal(); !refused.ok()) return refused;
    // A line break would shift every later line of the file.
    if (path.isEmpty() || path.contains(QLatin1Char('\r')) || path.contains(QLatin1Char('\n')))
        return Result::Error(QStringLiteral("\"%1\" is not a file that can be a spot.").arg(path));
    m_editedPaths << path;
    m_editedTitles << (title.isEmpty() ? TrackTitle(path) : title);
    Result saved = EditDone();
    m_selected = int(m_editedPaths.size()) - 1;
    return saved;
}

void SpotEditor::SpotFileRenamed(const QString& oldPath, const QString& newPath) {
    for (qsizetype i = 0; i < m_editedPaths.size(); ++i) {
        if (m_editedPaths[i] != oldPath) continue;
        m_editedPaths[i] = newPath;
        m_editedTitles[i] = TrackTitle(newPath);
    }
}

void SpotEditor::AskStatistics(const QString& spotLine, bool timetable) {
    m_statistics = timetable ? spot_statistics::ShowProgram(m_spotsPath, spotLine)
                             : spot_statistics::ShowStats(m_spotsPath, spotLine);
}

bool SpotEditor::TakeSpotsSaved() {
    const bool was = m_spotsSaved;
    m_spotsSaved = false;
    return was;
}

bool SpotEditor::FollowUpcoming(int weekday, int hour, int quarter) {
    const bool showsUpcoming =
        m_editedDay == weekday && m_editedQuarter == quarter && m_editedHour == hour;
    if (m_operatorEdited && !showsUpcoming) {
        m_operatorEdited = false;
        return false;
    }
    // The hour and quarter follow; the weekday tab stays the operator's.
    m_quarterTab = quarter;
    ComboBoxHourSpots1Change(hour);
    return true;
}
