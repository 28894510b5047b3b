#pragma once

#include <QWidget>

#include "app/lists_state.h"

class QCheckBox;
class QHBoxLayout;
class QIcon;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class StationClient;

/// The Lists tab `TabSheetLists`: the names of the lists (`ListBoxFileListBox`, with
/// "+CDs" and the popup "PlayThe Program now") and the editor of one list
/// (`ListBoxTitles1`) with its name box, NEW, Save, moves, removal, delete and Play.
class ListsPage final : public QWidget {
    Q_OBJECT
public:
    ListsPage(StationClient& client, QWidget* parent);
    void Redraw(const ListsState& state);
    /// The last entry at the top, after tracks were added.
    void ScrollToLast();

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpNames();
    QHBoxLayout* BuildNamesFooter();
    QHBoxLayout* BuildNameRow();
    void SetUpTitles();
    void SetUpTitlesMenu();
    QVBoxLayout* BuildEditorButtons();
    QPushButton* TrackButton(const QString& name, const QIcon& icon, const QString& hint,
                             const char* verb);
    QHBoxLayout* BuildEditorFooter();
    /// Sends the entries' selection and current row, which the editor's commands act on.
    void SyncSelection();
    void LoadList(int row);
    void Save();
    void DeleteList();
    void PlayNow();

    StationClient& m_client;
    ListsState m_state;  // as last drawn
    // Sent and not yet answered: an older state must not undo what the operator did since.
    int m_namesInFlight = 0;
    int m_selectionsInFlight = 0;
    bool m_drawing = false;
    bool m_pressingName = false;
    QListWidget* m_names;
    QCheckBox* m_includeCds;
    QLabel* m_totalPrograms;
    QLineEdit* m_newName;
    QListWidget* m_titles;
    QLabel* m_totalTracks;
};
