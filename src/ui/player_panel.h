#pragma once

#include <QFrame>
#include <QString>

class KnobButton;
class LineIn;
class PlaybackEngine;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

/// The player controls `PanelPlayControls`: transport, jumps, cue memories, the
/// position bar with its knob, the two upside-down volume bars with their fades, the
/// level and mixing boxes, the deck lamps and the line input's button and bar. Every button is one
/// call of the engine; Redraw copies the engine's state back. The controls stand at fixed pixel
/// places, since the simple player layout moves them to places of its own.
class PlayerPanel final : public QFrame {
    Q_OBJECT
public:
    PlayerPanel(PlaybackEngine& engine, LineIn& lineIn, QWidget* parent);

    void Redraw();
    /// The simple player layout (true) or the full one.
    void ApplyLayout(bool simple);

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();
    /// "Hour" (BitBtnSayHour1) was clicked.
    void sayHour();

private:
    QPushButton* Button(const QString& name, const QString& hint, QWidget* parent);
    QLineEdit* Edit(const QString& name, QWidget* parent);
    QSlider* VolumeBar(const QString& name, int bar, QWidget* parent);
    void BuildTransport();
    void BuildPosition();
    void BuildBars();
    void BuildRightColumn();
    void BuildLineIn();
    void PlaceKnob();

    PlaybackEngine& m_engine;
    LineIn& m_lineIn;
    bool m_drawing = false;  // redraws set widgets; only the operator's changes reach the engine
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
