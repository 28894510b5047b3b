#pragma once

#include <QWidget>
#include <array>

class ClickableLabel;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class StationClient;
struct ProgramState;

/// The running program and what comes next: `LabelRunProgram`, the program value
/// `LabelProgramName1` and its span `LabelWra2`; the five next-track labels
/// `LabelTrackPlay1` … `LabelTrackPlay5` (a click marks one, a double click plays it);
/// the marked track's moves and removal and the insert from the library ("<<<-----");
/// random play "Selections" and the tracks still to come.
class ProgramPanel final : public QWidget {
    Q_OBJECT
public:
    ProgramPanel(StationClient& client, QWidget* parent);
    void Redraw(const ProgramState& state);

Q_SIGNALS:
    /// A command of the operator here was done: the whole window redraws.
    void changed();

private:
    void AddQueueButtons(QHBoxLayout& row);
    /// Sends a command; the window redraws once it was done.
    void Send(const QString& verb, const QString& argument = {});

    StationClient& m_client;
    QLabel* m_programName;
    QLabel* m_span;
    std::array<ClickableLabel*, 5> m_next{};
    QCheckBox* m_random;
    QLabel* m_tracksToPlay;
};
