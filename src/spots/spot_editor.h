#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "base/result.h"
#include "spots/spot_statistics.h"

struct ProgramLock;

/// The Spots tab: the editor of one slot (weekday, hour, quarter) of the weekly spot
/// files, its statistics window and the spots the library adds. Every edit is saved at
/// once. The running "Next Spots" (SpotSchedule) asks it two things: whether an edit was
/// saved since it last read, and whether the tab may follow the coming quarter.
class SpotEditor {
public:
    /// No slot shown yet (the edited day, hour and quarter before the first load).
    static constexpr int kNoSlot = 100;

    /// spotsPath ends in "/" (or "\").
    SpotEditor(QString spotsPath, const ProgramLock& lock);
    SpotEditor(const SpotEditor&) = delete;
    SpotEditor& operator=(const SpotEditor&) = delete;

    /// Start-up: the weekday tab goes to `weekday` (today), the hour to "00", and the
    /// editor is loaded once. The day tabs answer from now on.
    Result StartUp(int weekday);

    /// The weekday of TabControlSpots (0 Sunday).
    int SpotDayTab() const { return m_dayTab; }
    /// ComboBoxHourSpots1's row, 0..23.
    int SpotHour() const { return m_hour; }
    /// TabSet1's tab, 0..3, and its four captions ("10:00" "10:15" "10:30" "10:45").
    int SpotQuarterTab() const { return m_quarterTab; }
    QStringList QuarterCaptions() const;
    /// The slot in the editor; kNoSlot before the first load.
    int EditedSpotDay() const { return m_editedDay; }
    int EditedSpotHour() const { return m_editedHour; }
    int EditedSpotQuarter() const { return m_editedQuarter; }
    /// ListBoxSpots2's rows and, at the same index, the spot lines (paths).
    const QStringList& EditedSpotTitles() const { return m_editedTitles; }
    const QStringList& EditedSpotPaths() const { return m_editedPaths; }
    /// The operator's row of ListBoxSpots2, -1 for none.
    int SelectedSpot() const { return m_selected; }
    /// Why the shown slot's file cannot be edited (it is no spot file); empty when it can.
    const QString& EditedFileProblem() const { return m_editedProblem; }

    // --- the operator's commands; the programs' lock is checked by the command table ---
    /// TabControlSpots: shows the chosen weekday's slot; ignored before start-up.
    Result TabControlSpotsChange(int weekday);
    /// ComboBoxHourSpots1: the hour (0..23) whose slot is shown; the quarter tabs follow.
    Result ComboBoxHourSpots1Change(int hour);
    /// TabSet1: the quarter (0..3) whose slot is shown.
    Result TabSet1Change(int quarter);
    void SelectSpot(int row);
    /// Up, Down and Delete (button or key) of the selected spot, saved at once. Nothing
    /// without a selection, or at the top (Up) or bottom (Down).
    Result BitBtnSpotUp1Click();
    Result BitBtnSpotDown1Click();
    Result BitBtnDelSpot1Click();
    /// "Same as...": the chosen weekday's four files replace those of the shown weekday;
    /// a missing source leaves its target. nullopt is "Ακυρο".
    Result BitBtnIdioMeSpots1Click(std::optional<int> chosenWeekday);
    /// The statistics of a spot line ("Show Stats", or "Show Program" for the timetable),
    /// kept for the statistics window until the next question.
    void AskStatistics(const QString& spotLine, bool timetable);
    const spot_statistics::StatsView& Statistics() const { return m_statistics; }

    /// The library's "add": appends a spot (its path and the title to show) to the shown
    /// slot and saves it. Refused while the programs are locked, since the library calls
    /// it outside the command table. Only the first ten spots of a slot are stored; the
    /// rest go at the next reload.
    Result AddSpot(const QString& path, const QString& title);

    /// A spot file renamed on disk (its lines already rewritten): the shown slot names the
    /// new path from now on.
    void SpotFileRenamed(const QString& oldPath, const QString& newPath);
    /// The spot files were rewritten on disk by someone else (dead spots removed): the shown
    /// slot is read again, so that its next save cannot bring the old lines back.
    Result SpotFilesRewritten();

    /// Loads the slot `quarter` of the shown weekday and hour into the editor.
    Result LoadSpotSlot(int quarter);
    /// Writes the shown slot into its file when an edit of it is not on disk yet (its save
    /// failed); nothing otherwise. Refused for a file that is no spot file.
    Result SaveSpotSlot();

    // --- asked by "Next Spots" ---
    /// Clears the mark an edit leaves and says whether there was one: the spot files
    /// changed, "Next Spots" reads its slot again.
    bool TakeSpotsSaved();
    /// "Next Spots" is about to hold (weekday, hour, quarter): the tab moves to that hour
    /// and quarter, unless the operator edited another slot since the last call; then the
    /// tab stays and the answer is false.
    bool FollowUpcoming(int weekday, int hour, int quarter);

private:
    Result EditRefusal() const;
    Result EditDone();
    Result MoveSelected(int by);
    Result ReadEditedSlot();

    QString m_spotsPath;
    const ProgramLock& m_lock;
    bool m_ready = false;

    int m_dayTab = 0;
    int m_hour = 0;
    int m_quarterTab = 0;
    int m_editedDay = kNoSlot;
    int m_editedHour = kNoSlot;
    int m_editedQuarter = kNoSlot;
    QStringList m_editedFile;
    QStringList m_editedPaths;
    QStringList m_editedTitles;
    QString m_editedProblem;
    bool m_editedUnsaved = false;  // an edit of the shown slot is not on disk yet
    int m_selected = -1;
    spot_statistics::StatsView m_statistics;

    bool m_operatorEdited = false;  // the tab keeps the operator's slot at the next quarter
    bool m_spotsSaved = false;      // "Next Spots" has not read since the last edit
};
