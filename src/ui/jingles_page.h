#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "app/jingles_state.h"

class ChooserDialog;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabBar;
class StationClient;
struct StationState;

/// The page "Jingles" `TabSheetJingles`: the wall of 101 jingle buttons on black
/// (`ScrollBoxSpots1`), the bank tabs `TabSetJingles` under it, and the commands "Set
/// Jingles...", "Clear Jingles...", "Stop" and "Fade". A bank is chosen in `TFormPrograms`.
class JinglesPage final : public QWidget {
    Q_OBJECT
public:
    JinglesPage(StationClient& client, ChooserDialog& lists, QWidget* parent);
    /// The wall, and the lists "Set Jingles..." offers.
    void Redraw(const StationState& state);

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();

private:
    QWidget* BuildWall();
    void SetJingles();

    StationClient& m_client;
    JinglesState m_state;     // as last drawn
    QStringList m_listNames;  // the Lists tab's names
    ChooserDialog& m_listChooser;
    std::vector<QPushButton*> m_buttons;
    QTabBar* m_tabs;
    QCheckBox* m_fade;
    QLabel* m_count;
    QLabel* m_last;
    QStringList m_shownCaptions{QStringLiteral("-")};  // never a real wall: the first draw
    bool m_drawing = false;
};
