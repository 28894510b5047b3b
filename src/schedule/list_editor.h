#pragma once

#include <QtCore/qnamespace.h>

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "base/result.h"

struct ProgramLock;

/// Whether a program value and a day file can hold the name.
bool IsStorableListName(const QString& name);
/// The names the Lists tab shows from a folder listing: CD lists only when included, and
/// never a name that a program value or a day file cannot hold.
QStringList VisibleListNames(const QStringList& folderNames, bool includeCds);

/// The Lists tab: the names of the lists in the lists folder (`ListBoxFileListBox`), the
/// editor of one list as rows of title and path (`ListBoxTitles1` with its hidden twin
/// `ListBoxPaths1`), the name box, and the tab's commands. Nothing reaches a list file
/// until Save. Commands return their result for the operator; a failed command leaves the
/// editor as it was. While the programs are locked, every command that would change the
/// editor or a list refuses with an error.
class ListEditor {
public:
    /// listsPath ends in "/" (or "\").
    ListEditor(QString listsPath, const ProgramLock& lock);

    struct Row {
        QString title;
        QString path;
        bool selected = false;
    };

    /// `FileListBox2`: every ordinary file of the lists folder, sorted by name without case.
    const QStringList& FolderNames() const { return m_folderNames; }
    /// `ListBoxFileListBox`; also what the calendar's list chooser offers.
    const QStringList& ListNames() const { return m_listNames; }
    /// `LabelTotalPrograms1`.
    int TotalPrograms() const { return static_cast<int>(m_listNames.size()); }
    /// The chosen name of `ListBoxFileListBox`, -1 / empty when none.
    int ChosenListIndex() const { return m_chosenList; }
    QString ChosenListName() const;
    /// `CheckBoxIncludeCDsLists`.
    bool IncludeCds() const { return m_includeCds; }

    const std::vector<Row>& Rows() const { return m_rows; }
    QStringList Paths() const;
    /// `LabelTotalTracks1`.
    int TotalTracks() const { return static_cast<int>(m_rows.size()); }
    /// The entry with the focus, -1 when none.
    int CurrentRow() const { return m_currentRow; }
    void SetCurrentRow(int row);
    void SetSelected(int row, bool selected);

    /// `EditNewProgramName1`: the name Save writes under; empty at start, so that a Save
    /// before any list is chosen or named writes nothing. It goes with the list whenever
    /// the editor is emptied.
    const QString& NewProgramName() const { return m_newProgramName; }
    /// The operator typed into the name box.
    void EditNewProgramName1Change(const QString& text);

    /// Reads the folder again, rebuilds the names and empties the editor and its name.
    void RefreshListNames();
    void CheckBoxIncludeCDsListsClick(bool checked);
    /// Fills the editor from a list file (a missing file is an empty list).
    Result LoadListToEditor(const QString& name);
    /// Writes the editor's paths to a list. An empty name writes nothing; a name against
    /// the list name rule is refused.
    Result SaveEditorList(const QString& name);

    /// Click on a name, the chosen one too: loads it and puts it into the name box.
    Result ListBoxFileListBoxClick(int index);
    /// The same click in two steps, so that the file can be read off the station's thread:
    /// what to read, then the read applied.
    struct Opening {
        int index = -1;
        QString listsPath;
        QString name;
        quint64 serial = 0;
    };
    /// The list to read for a click on name `index`; none for a name that is not there.
    std::optional<Opening> StartOpening(int index);
    /// Applies the read as the click does. An opening overtaken by a later one, or by a new
    /// reading of the names, changes nothing.
    Result FinishOpening(const Opening& opening, const ReadResult<QStringList>& read);
    /// NEW: empty editor, empty name box.
    Result SpeedButtonNewProgram1Click();
    /// The confirmation to ask before Save writes an empty editor over a list that holds
    /// tracks; empty when Save needs none (or is refused).
    QString SaveListQuestion() const;
    /// Save under the name box's text, then refresh (which empties the editor). When
    /// SaveListQuestion() asked, only the answer Yes (confirmed) writes.
    Result BitBtnSaveProgram1Click(bool confirmed);
    /// The confirmation to ask before deleting the chosen list; empty when none is chosen
    /// (or the delete is refused).
    QString DeleteListQuestion() const;
    /// Deletes the chosen list when the operator answered Yes.
    Result ButtonDelProgram1Click(bool confirmed);
    Result ButtonUpProgr2Click();
    Result ButtonDnProgr2Click();
    /// Removes every selected entry.
    Result ButtonDelTrackFromProgClick();
    /// Ctrl+A selects every entry; Delete removes the selection, and does nothing while locked.
    void ListBoxTitles1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    /// True when the key asks to delete the chosen list (Delete, never while locked): the UI
    /// then asks DeleteListQuestion() and calls ButtonDelProgram1Click.
    bool ListBoxFileListBoxKeyDown(int key) const;
    /// Play now ("Play" or a double-click): the track entry of the current entry to put at
    /// the head of the queue and start; a bare path when no list is chosen.
    std::optional<QString> PlayNowEntry() const;

    /// For the add commands: appends one entry.
    Result AppendRow(const QString& title, const QString& path);
    bool ContainsTitle(const QString& title) const;
    /// A track renamed on disk: the entry shows its new title and path (no lock: the file
    /// is already renamed and the lists rewritten).
    void TrackRenamed(int row, const QString& title, const QString& path);
    /// Entries removed from the chosen list's file on disk (dead files): they leave the
    /// editor too, so that a Save does not write them back.
    void PathsRemovedFromFile(const QSet<QString>& paths);

private:
    void ClearEditor();
    void MoveCurrent(int to);

    QString m_listsPath;
    const ProgramLock& m_lock;
    QStringList m_folderNames;
    QStringList m_listNames;
    int m_chosenList = -1;
    bool m_includeCds = false;
    std::vector<Row> m_rows;
    int m_currentRow = -1;
    QString m_newProgramName;
    quint64 m_openings = 0;  // the serial of the last opening started
};
