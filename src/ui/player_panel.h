#pragma once

#include <QFrame>
#include <QString>

class KnobButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class StationClient;
struct StationState;

/// The player controls `PanelPlayControls`: transport, jumps, cue memories, the
/// position bar with its knob, the two upside-down volume bars with their fades, the
/// level and mixing boxes, the deck lamps and the line input's button and bar. Every button is one
/// command of the station; Redraw draws the state the station published. The controls stand at
/// fixed pixel places, since the simple player layout moves them to places of its own.
class PlayerPanel final : public QFrame {
    Q_OBJECT
public:
    PlayerPanel(StationClient& client, QWidget* parent);

    void Redraw(const StationState& state);
    /// The simple player layout (true) or the full one.
    void ApplyLayout(bool simple);

Q_SIGNALS:
    /// A command of the operator here was done: the whole window redraws.
    void changed();

private:
    QPushButton* Button(const QString& name, const QString& hint, QWidget* parent);
    QLineEdit* Edit(const QString& name, QWidget* parent);
    QSlider* VolumeBar(const QString& name, int bar, QWidget* parent);
    void BuildTransport();
    void BuildPosition();
    void BuildBars();
    void BuildRightColumn();
    void BuildLineIn();
    /// Sends a command; the window redraws once it was done.
    void Send(const QString& verb, const QString& argument = {});
    void PlaceKnob(const StationState& state);

    StationClient& m_client;
    bool m_drawing = false;  // redraws set widgets; only the operator's changes are sent
    QLabel* m_pausePlay = nullptr;
    QLabel* m_playTime = nullptr;
    QLabel* m_length = nullptr;
    QLabel* m_remaining = nullptr;
    QFrame* m_secBar = nullptr;
    KnobButton* m_knob = nullptr;
    QLabel* m_knobTime = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_manual = nullptr;
    QPushButton* m_amp1 = nullptr;
    QPushButton* m_amp2 = nullptr;
    QSlider* m_bar0 = nullptr;
    QSlider* m_bar1 = nullptr;
    QPushButton* m_lineInButton = nullptr;
    QSlider* m_lineInBar = nullptr;
    QLineEdit* m_jumpSec = nullptr;
    QLineEdit* m_levelEdits[5] = {};
    QLineEdit* m_mixingInterval = nullptr;
};
