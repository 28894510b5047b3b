#pragma once

#include <QWidget>

#include "app/played_state.h"

class QCheckBox;
class QLabel;
class QListWidget;
class StationClient;

/// The page "Played" `TabSheetPlayed`: the tracks started since the list was last
/// cleared (`ListBoxPrevPlayed1`), played again by a double click or "Play", saved as a
/// list with "Save..." or cleared with "Clear...", and the box that keeps them over a
/// change of program.
class PlayedPage final : public QWidget {
    Q_OBJECT
public:
    PlayedPage(StationClient& client, QWidget* parent);
    void Redraw(const PlayedState& state);

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();

private:
    void SetUpMenu();
    /// The row the operator chose, -1 for none.
    int ChosenRow() const;
    void PlaySelected();
    void Save();

    StationClient& m_client;
    PlayedState m_state;  // as last drawn
    QListWidget* m_played;
    QCheckBox* m_dontClear;
    QLabel* m_count;
    QStringList m_shown;
    int m_shownTop = -1;
    bool m_drawing = false;
};
