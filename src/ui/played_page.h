#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class Station;

/// The page "Played" `TabSheetPlayed`: the tracks started since the list was last
/// cleared (`ListBoxPrevPlayed1`), played again by a double click or "Play", saved as a
/// list with "Save..." or cleared with "Clear...", and the box that keeps them over a
/// change of program.
class PlayedPage final : public QWidget {
    Q_OBJECT
public:
    PlayedPage(Station& station, QWidget* parent);
    void Redraw();

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();

private:
    void SetUpMenu();
    void PlaySelected();
    void Save();

    Station& m_station;
    QListWidget* m_played;
    QCheckBox* m_dontClear;
    QLabel* m_count;
    QStringList m_shown;
    int m_shownTop = -1;
};
