#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "base/result.h"
#include "spots/spot_statistics.h"

class Clock;
struct ProgramLock;

/// The weekly spot schedule: the Spots tab's editor of one slot (weekday, hour, quarter)
/// and the "Next Spots" list of the quarter that begins next, from which the runner
/// plays. Every edit is saved at once; edits refuse while the programs are locked. The
/// view reads the const side and calls one command per operator action.
class SpotSchedule : public QObject {
    Q_OBJECT
public:
    /// No slot shown yet (the edited day, hour and quarter before the first load).
    static constexpr int kNoSlot = 100;

    /// spotsPath ends in "/" (or "\").
    SpotSchedule(QString spotsPath, const Clock& clock, const ProgramLock& lock);

    /// Start-up: the weekday tab goes to `weekday` (today), the hour to "00", and the
    /// editor is loaded once. The day tabs answer from now on.
    Result StartUp(int weekday);

    // --- the editor, as the Spots tab shows it ---
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

    // --- "Next Spots" ---
    const QStringList& NextSpotPaths() const { return m_nextPaths; }
    /// The rows of ListBoxSpotsNow1: the track titles of NextSpotPaths.
    QStringList NextSpotTitles() const;
    bool NextSpotChecked(int index) const;
    /// The quarter "Next Spots" was filled for: its local start "YYYY-MM-DD HH:MM" (the
    /// day the clock gives it, so 00:00 is the day after a fill at 23:45). Empty before any.
    const QString& NextSpotsSlot() const { return m_nextSlot; }
    /// The first checked row, -1 when none is (or the list is empty).
    int FirstCheckedSpot() const;
    int CheckedSpotCount() const;

    bool SpotsEdited() const { return m_spotsEdited; }
    bool RefreshNextSpots() const { return m_refreshNextSpots; }
    int LastSpotHour() const { return m_lastHour; }
    int LastSpotMinute() const { return m_lastMinute; }

    // --- the operator's commands ---
    /// TabControlSpots: shows the chosen weekday's slot; ignored before start-up.
    Result TabControlSpotsChange(int weekday);
    /// ComboBoxHourSpots1: the hour (0..23) whose slot is shown; the quarter tabs follow.
    Result ComboBoxHourSpots1Change(int hour);
    /// TabSet1: the quarter (0..3) whose slot is shown.
    Result TabSet1Change(int quarter);
    void SelectSpot(int row);
    /// Check box of a "Next Spots" row: an unchecked spot is passed over by the run.
    void SetNextSpotChecked(int index, bool checked);
    /// Up, Down and Delete (button or key) of the selected spot, saved at once. Nothing
    /// without a selection, or at the top (Up) or bottom (Down).
    Result BitBtnSpotUp1Click();
    Result BitBtnSpotDown1Click();
    Result BitBtnDelSpot1Click();
    /// "Same as...": the chosen weekday's four files replace those of the shown weekday;
    /// a missing source leaves its target. nullopt is "Ακυρο".
    Result BitBtnIdioMeSpots1Click(std::optional<int> chosenWeekday);
    /// Appends a spot (its path and the title to show) to the shown slot and saves it.
    /// Only the first ten spots of a slot are stored; the rest go at the next reload.
    Result AddSpot(const QString& path, const QString& title);

    /// A spot file renamed on disk (its lines already rewritten): the shown slot and "Next
    /// Spots" name the new path from now on, so the run never looks for the old one.
    void SpotFileRenamed(const QString& oldPath, const QString& newPath);
    /// The statistics of a spot line ("Show Stats", or "Show Program" for the timetable),
    /// kept for the statistics window until the next question.
    void AskStatistics(const QString& spotLine, bool timetable);
    const spot_statistics::StatsView& Statistics() const { return m_statistics; }

    /// The spot files were rewritten on disk by someone else (dead spots removed): the shown
    /// slot is read again, so that its next save cannot bring the old lines back, and "Next
    /// Spots" is rebuilt at the next tick.
    Result SpotFilesRewritten();

    // --- the main loop ---
    /// Loads the slot `quarter` of the shown weekday and hour into the editor.
    Result LoadSpotSlot(int quarter);
    /// Writes the shown slot into its file when an edit of it is not on disk yet (its save
    /// failed); nothing otherwise. Refused for a file that is no spot file.
    Result SaveSpotSlot();
    /// Fills "Next Spots" with the quarter that begins after hour:minute (today's weekday
    /// from the clock) and moves the editor there, unless the operator just edited another
    /// slot. A spot file that cannot be read is told once a quarter as a Problem.
    void PrepareNextSpots(int hour, int minute);
    /// Clears the request an edit made and says whether there was one.
    bool TakeRefreshNextSpots();

Q_SIGNALS:
    /// Something the station met on its own that the operator should hear.
    void Problem(const QString& message);

private:
    Result EditRefusal() const;
    Result EditDone();
    Result MoveSelected(int by);
    Result ReadEditedSlot();

    QString m_spotsPath;
    const Clock& m_clock;
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

    QStringList m_nextPaths;
    std::vector<bool> m_nextChecked;
    // The slot "Next Spots" was filled from (weekday, hour, quarter), -1 before any.
    int m_nextDay = -1;
    int m_nextHour = -1;
    int m_nextQuarter = -1;
    QString m_nextSlot;
    QString m_toldProblem;  // the last unreadable file told, with its quarter
    spot_statistics::StatsView m_statistics;

    bool m_spotsEdited = false;
    bool m_refreshNextSpots = false;
    int m_lastHour = -1;
    int m_lastMinute = -1;
};
