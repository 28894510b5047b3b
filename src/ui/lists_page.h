#pragma once

#include <QWidget>

class ListEditor;
class QCheckBox;
class QHBoxLayout;
class QIcon;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class Result;
class Station;

/// The Lists tab `TabSheetLists`: the names of the lists (`ListBoxFileListBox`, with
/// "+CDs" and the popup "PlayThe Program now") and the editor of one list
/// (`ListBoxTitles1`) with its name box, NEW, Save, moves, removal, delete and Play.
class ListsPage final : public QWidget {
    Q_OBJECT
public:
    ListsPage(Station& station, QWidget* parent);
    void Redraw();
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
                             Result (ListEditor::*command)());
    QHBoxLayout* BuildEditorFooter();
    void SyncSelection();
    void LoadList(int row);
    void DeleteList();
    void PlayNow();

    Station& m_station;
    bool m_drawing = false;
    bool m_pressingName = false;
    QListWidget* m_names;
    QCheckBox* m_includeCds;
    QLabel* m_totalPrograms;
    QLineEdit* m_newName;
    QListWidget* m_titles;
    QLabel* m_totalTracks;
    QStringList m_shownNames;
    QStringList m_shownTitles;
};
