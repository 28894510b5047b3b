#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class ChooserDialog;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabBar;
class Station;

/// The page "Jingles" `TabSheetJingles`: the wall of 101 jingle buttons on black
/// (`ScrollBoxSpots1`), the bank tabs `TabSetJingles` under it, and the commands "Set
/// Jingles...", "Clear Jingles...", "Stop" and "Fade". A bank is chosen in `TFormPrograms`.
class JinglesPage final : public QWidget {
    Q_OBJECT
public:
    JinglesPage(Station& station, ChooserDialog& lists, QWidget* parent);
    void Redraw();

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();

private:
    QWidget* BuildWall();
    void SetJingles();

    Station& m_station;
    ChooserDialog& m_listChooser;
    std::vector<QPushButton*> m_buttons;
    QTabBar* m_tabs;
    QCheckBox* m_fade;
    QLabel* m_count;
    QLabel* m_last;
    QStringList m_shownCaptions{QStringLiteral("-")};  // never a real wall: the first draw
    bool m_drawing = false;
};
